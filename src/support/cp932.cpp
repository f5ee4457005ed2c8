#include "support/cp932.h"

namespace support {
namespace {

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

}  // namespace support
