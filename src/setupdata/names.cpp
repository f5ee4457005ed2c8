#include "setupdata/names.h"

#include "support/cp932.h"

namespace setupdata {

bool isSafeFolderName(std::string_view name) {
    if (name.empty() || support::findChar(name, ':') != support::npos) return false;
    std::size_t start = 0;
    for (;;) {
        std::size_t back = support::findChar(name, '\\', start);
        std::size_t slash = support::findChar(name, '/', start);
        std::size_t end = std::min(back, slash);
        std::string_view part = name.substr(start, end == support::npos ? support::npos : end - start);
        // An empty first part is a rooted path; "." and ".." (blanks and dots only, as Windows
        // reads them) climb out.
        if (start == 0 && part.empty()) return false;
        if (!part.empty() && part.find_first_not_of(". ") == std::string_view::npos) return false;
        if (end == support::npos) return true;
        start = end + 1;
    }
}

bool isSafeFileName(std::string_view name) {
    return isSafeFolderName(name) && support::findChar(name, '\\') == support::npos &&
           support::findChar(name, '/') == support::npos;
}

}  // namespace setupdata
