#include "support/cp932.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "support/cp932_literal.h"

namespace support {
namespace {

constexpr cp932_detail::Pair kDecode[] = {
#include "cp932_decode.tbl"
};

// Calls f(position, length) for each character; a lead byte at the very end counts alone.
template <typename F>
void forEachChar(std::string_view s, std::size_t from, F f) {
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t len = isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
        if (i >= from && !f(i, len)) return;
        i += len;
    }
}

bool inSet(char c, std::string_view set) { return set.find(c) != std::string_view::npos; }

}  // namespace

std::size_t findChar(std::string_view s, char ch, std::size_t from) {
    std::size_t found = npos;
    forEachChar(s, from, [&](std::size_t i, std::size_t len) {
        if (len == 1 && s[i] == ch) { found = i; return false; }
        return true;
    });
    return found;
}

std::size_t findLastChar(std::string_view s, char ch) {
    std::size_t found = npos;
    forEachChar(s, 0, [&](std::size_t i, std::size_t len) {
        if (len == 1 && s[i] == ch) found = i;
        return true;
    });
    return found;
}

std::size_t findText(std::string_view s, std::string_view needle, std::size_t from) {
    if (needle.empty()) return from <= s.size() ? from : npos;
    std::size_t found = npos;
    forEachChar(s, from, [&](std::size_t i, std::size_t) {
        if (s.substr(i, needle.size()) == needle) { found = i; return false; }
        return true;
    });
    return found;
}

std::string trimLeft(std::string_view s, std::string_view set) {
    std::size_t i = 0;
    while (i < s.size() && inSet(s[i], set)) ++i;
    return std::string(s.substr(i));
}

std::string trimRight(std::string_view s, std::string_view set) {
    // Only whole single-byte characters go, so walk forwards to know where characters start.
    std::size_t keep = 0;
    forEachChar(s, 0, [&](std::size_t i, std::size_t len) {
        if (len == 2 || !inSet(s[i], set)) keep = i + len;
        return true;
    });
    return std::string(s.substr(0, keep));
}

std::string trim(std::string_view s, std::string_view set) { return trimRight(trimLeft(s, set), set); }

std::string left(std::string_view s, std::size_t count) { return std::string(s.substr(0, count)); }

std::string rest(std::string_view s, std::size_t pos) {
    return pos >= s.size() ? std::string() : std::string(s.substr(pos));
}

std::string fileNameOfPath(std::string_view path) {
    std::size_t slash = findLastChar(path, '\\');
    return slash == npos ? std::string(path) : std::string(path.substr(slash + 1));
}

bool endsWithBackslash(std::string_view path) {
    return !path.empty() && findLastChar(path, '\\') == path.size() - 1;
}

std::string withTrailingBackslash(std::string_view path) {
    std::string out(path);
    if (!endsWithBackslash(path)) out += '\\';
    return out;
}

std::string foldAsciiCase(std::string_view s) {
    std::string out(s);
    forEachChar(s, 0, [&](std::size_t i, std::size_t len) {
        if (len == 1 && out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
        return true;
    });
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && foldAsciiCase(a) == foldAsciiCase(b);
}

namespace {
void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool decodeCode(std::uint16_t code, char32_t& cp) {
    auto it = std::lower_bound(std::begin(kDecode), std::end(kDecode), code,
                               [](const cp932_detail::Pair& p, std::uint16_t c) { return p.from < c; });
    if (it == std::end(kDecode) || it->from != code) return false;
    cp = it->to;
    return true;
}
}  // namespace

bool cp932ToUtf8(std::string_view in, std::string& out) {
    std::string result;
    for (std::size_t i = 0; i < in.size();) {
        auto b = static_cast<unsigned char>(in[i]);
        std::uint16_t code = b;
        if (isLeadByte(b)) {
            if (i + 1 >= in.size()) return false;
            code = static_cast<std::uint16_t>((b << 8) | static_cast<unsigned char>(in[i + 1]));
            i += 2;
        } else {
            ++i;
        }
        char32_t cp;
        if (!decodeCode(code, cp)) return false;
        appendUtf8(result, cp);
    }
    out = std::move(result);
    return true;
}

bool utf8ToCp932(std::string_view in, std::string& out) {
    std::string result;
    for (std::size_t i = 0; i < in.size();) {
        auto b = static_cast<unsigned char>(in[i]);
        int extra = b < 0x80 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
        if (extra < 0 || (extra > 0 && i + static_cast<std::size_t>(extra) >= in.size())) return false;
        char32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k) {
            auto c = static_cast<unsigned char>(in[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        i += extra + 1;
        auto it = std::lower_bound(std::begin(cp932_detail::kEncode), std::end(cp932_detail::kEncode), cp,
                                   [](const cp932_detail::Pair& p, char32_t c) { return p.from < c; });
        if (cp > 0xFFFF || it == std::end(cp932_detail::kEncode) || it->from != cp) return false;
        if (it->to > 0xFF) result += static_cast<char>(it->to >> 8);
        result += static_cast<char>(it->to & 0xFF);
    }
    out = std::move(result);
    return true;
}

std::string toUtf8Lossy(std::string_view cp932) {
    std::string out;
    for (std::size_t i = 0; i < cp932.size();) {
        std::size_t len = isLeadByte(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size() ? 2 : 1;
        std::string piece;
        out += cp932ToUtf8(cp932.substr(i, len), piece) ? piece : std::string("?");
        i += len;
    }
    return out;
}

}  // namespace support
