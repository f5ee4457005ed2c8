#include "setupdata/names.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "support/cp932.h"
#include "support/system_text.h"

namespace setupdata {
namespace {

constexpr std::size_t kLongestPart = 255;
constexpr std::size_t kLongestPath = 259;

// Windows opens these as devices whatever folder they stand in, and with any extension; it reads
// the superscripts one to three as digits too. `text` is the part as UTF-8.
bool IsDeviceName(std::string_view text) {
    std::string base = support::FoldAsciiCase(text.substr(0, text.find('.')));
    base = support::TrimRight(base, " ");
    for (const char* device : {"con", "prn", "aux", "nul", "conin$", "conout$"})
        if (base == device) return true;
    if (base.size() < 4 || (base.compare(0, 3, "com") != 0 && base.compare(0, 3, "lpt") != 0)) return false;
    const std::string_view digit = std::string_view(base).substr(3);
    if (digit.size() == 1) return digit[0] >= '0' && digit[0] <= '9';
    return digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

bool IsSafePart(std::string_view part) {
    if (part.empty() || part.size() > kLongestPart) return false;
    // Windows drops dots and blanks at the end of a part: "..", ". ." and "a." name some other
    // entry than the one written.
    if (part.back() == '.' || part.back() == ' ') return false;
    // A character is checked as a whole, so a trail byte never counts as one of these.
    for (std::string_view bad : {"<", ">", "\"", "|", "?", "*"})
        if (support::FindChar(part, bad[0]) != support::npos) return false;
    for (unsigned char c : part)
        if (c < 0x20) return false;
    // A lead byte left without its trail would swallow the separator that follows.
    std::string utf8;
    return support::ToUtf8(part, utf8) && !IsDeviceName(utf8);
}

// The parts of a relative path; empty parts between separators are passed over, as Windows does.
bool PartsAreSafe(std::string_view name) {
    std::size_t start = 0;
    for (;;) {
        std::size_t end = std::min(support::FindChar(name, '\\', start), support::FindChar(name, '/', start));
        std::string_view part = name.substr(start, end == support::npos ? support::npos : end - start);
        if (!part.empty() && !IsSafePart(part)) return false;
        if (end == support::npos) return true;
        start = end + 1;
    }
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

bool IsSafeFolderName(std::string_view name) {
    if (name.empty() || name.size() > kLongestPath || IsSeparator(name[0])) return false;
    if (support::FindChar(name, ':') != support::npos) return false;
    return PartsAreSafe(name);
}

bool IsSafeFileName(std::string_view name) {
    return IsSafeFolderName(name) && support::FindChar(name, '\\') == support::npos &&
           support::FindChar(name, '/') == support::npos;
}

bool IsSafeInstallFolder(std::string_view path) {
    if (path.size() > kLongestPath) return false;
    std::string_view below;
    if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
        IsSeparator(path[2])) {
        below = path.substr(3);
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // \\server\share: both name the place, the parts below it are the folder.
        std::size_t server = std::min(support::FindChar(path, '\\', 2), support::FindChar(path, '/', 2));
        if (server == support::npos || server == 2) return false;
        std::size_t share =
            std::min(support::FindChar(path, '\\', server + 1), support::FindChar(path, '/', server + 1));
        if (share == support::npos || share == server + 1) return false;
        // "\\?\" and "\\.\" are no servers: they hand the rest to the object manager unread.
        if (!IsSafePart(path.substr(2, server - 2)) || !IsSafePart(path.substr(server + 1, share - server - 1)) ||
            support::FindChar(path.substr(0, share), ':') != support::npos)
            return false;
        below = path.substr(share + 1);
    } else {
        return false;
    }
    if (support::FindChar(below, ':') != support::npos || below.find_first_not_of("\\/") == std::string_view::npos)
        return false;
    return PartsAreSafe(below);
}

}  // namespace setupdata
