#include "support/cp932.h"

namespace support {
namespace {

// Calls f(position, length) for each character; a lead byte at the very end counts alone.
template <typename F>
void ForEachChar(std::string_view s, std::size_t from, F f) {
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t len = IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
        if (i >= from && !f(i, len)) return;
        i += len;
    }
}

bool InSet(char c, std::string_view set) { return set.find(c) != std::string_view::npos; }

}  // namespace

std::size_t FindChar(std::string_view s, char ch, std::size_t from) {
    std::size_t found = npos;
    ForEachChar(s, from, [&](std::size_t i, std::size_t len) {
        if (len == 1 && s[i] == ch) {
            found = i;
            return false;
        }
        return true;
    });
    return found;
}

std::size_t FindLastChar(std::string_view s, char ch) {
    std::size_t found = npos;
    ForEachChar(s, 0, [&](std::size_t i, std::size_t len) {
        if (len == 1 && s[i] == ch) found = i;
        return true;
    });
    return found;
}

std::size_t FindText(std::string_view s, std::string_view needle, std::size_t from) {
    if (needle.empty()) return from <= s.size() ? from : npos;
    std::size_t found = npos;
    ForEachChar(s, from, [&](std::size_t i, std::size_t) {
        if (s.substr(i, needle.size()) == needle) {
            found = i;
            return false;
        }
        return true;
    });
    return found;
}

std::string TrimLeft(std::string_view s, std::string_view set) {
    std::size_t i = 0;
    while (i < s.size() && InSet(s[i], set)) ++i;
    return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s, std::string_view set) {
    // Only whole single-byte characters go, so walk forwards to know where characters start.
    std::size_t keep = 0;
    ForEachChar(s, 0, [&](std::size_t i, std::size_t len) {
        if (len == 2 || !InSet(s[i], set)) keep = i + len;
        return true;
    });
    return std::string(s.substr(0, keep));
}

std::string Trim(std::string_view s, std::string_view set) { return TrimRight(TrimLeft(s, set), set); }

std::string Left(std::string_view s, std::size_t count) { return std::string(s.substr(0, count)); }

std::string Rest(std::string_view s, std::size_t pos) {
    return pos >= s.size() ? std::string() : std::string(s.substr(pos));
}

std::string FileNameOfPath(std::string_view path) {
    std::size_t slash = FindLastChar(path, '\\');
    return slash == npos ? std::string(path) : std::string(path.substr(slash + 1));
}

bool EndsWithBackslash(std::string_view path) { return !path.empty() && FindLastChar(path, '\\') == path.size() - 1; }

std::string WithTrailingBackslash(std::string_view path) {
    std::string out(path);
    if (!EndsWithBackslash(path)) out += '\\';
    return out;
}

std::string FoldAsciiCase(std::string_view s) {
    std::string out(s);
    ForEachChar(s, 0, [&](std::size_t i, std::size_t len) {
        if (len == 1 && out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
        return true;
    });
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && FoldAsciiCase(a) == FoldAsciiCase(b);
}

}  // namespace support
