// What a disc holds of the medium: Windows reads a CD's Joliet tree, whose names and paths are
// shorter and whose characters are fewer than a folder's. A mastering tool may rename or drop what
// does not fit, and the install then misses a file the publisher's folder has.
#include "setupdata/check.h"

#include <algorithm>

#include "support/cp932.h"
#include "support/system_text.h"

namespace setupdata {
namespace {

// Joliet: a name of at most 128 bytes of UCS-2; a path below the root of at most 240 bytes,
// which xorriso enforces by leaving longer ones off the tree.
constexpr std::size_t kLongestDiscName = 64;
constexpr std::size_t kLongestDiscPath = 120;

std::string WhatToDo(const std::string& fix) {
    return ": mastering may rename it or leave it off the disc, and the install then does not find it; " + fix;
}

std::string PartProblem(std::string_view part) {
    std::u16string wide;
    if (!support::ToUtf16(part, wide)) return "";  // said already: no Shift-JIS
    const std::string name = "\"" + Readable(std::string(part)) + "\"";
    if (wide.size() > kLongestDiscName)
        return "the name " + name + " has " + std::to_string(wide.size()) +
               " characters; the Joliet tree of a disc, which Windows reads, holds names of " +
               std::to_string(kLongestDiscName) + " at most" + WhatToDo("shorten it");
    for (char16_t c : wide) {
        if (IsDiscNameCharacter(c)) continue;
        std::string shown = c < 0x20 ? "a control character" : std::string("\"") + static_cast<char>(c) + "\"";
        return "the name " + name + " holds " + shown +
               ", which the Joliet tree of a disc cannot hold (nor any of * / : ; ? \\ or a control character)" +
               WhatToDo("rename it");
    }
    return "";
}

}  // namespace

bool IsDiscNameCharacter(char16_t c) {
    return c >= 0x20 && std::u16string_view(u"*/:;?\\").find(c) == std::u16string_view::npos;
}

std::string DiscNameProblem(std::string_view relativePath) {
    std::size_t start = 0;
    for (;;) {
        std::size_t end =
            std::min(support::FindChar(relativePath, '\\', start), support::FindChar(relativePath, '/', start));
        std::string_view part = relativePath.substr(start, end == support::npos ? support::npos : end - start);
        if (!part.empty())
            if (std::string problem = PartProblem(part); !problem.empty()) return problem;
        if (end == support::npos) return "";
        start = end + 1;
    }
}

std::string DiscPathProblem(std::string_view pathOnMedium) {
    std::u16string wide;
    if (!support::ToUtf16(pathOnMedium, wide) || wide.size() <= kLongestDiscPath) return "";
    return "the path " + Readable(std::string(pathOnMedium)) + " has " + std::to_string(wide.size()) +
           " characters; the Joliet tree of a disc holds paths of " + std::to_string(kLongestDiscPath) +
           " (240 bytes) at most below its root" + WhatToDo("shorten its folders or its name");
}

void CheckDiscSettings(const SetupData& data, const SettingLines& lines, CheckReport& report) {
    auto check = [&](bool read, std::size_t line, const char* key, const std::string& path) {
        if (!read) return;
        if (std::string problem = DiscNameProblem(path); !problem.empty())
            report.add(Severity::Error, line, key, problem);
    };
    check(true, lines.folder, "folder", data.dataFolder);
    check(lines.directXRead, lines.directX, "DXCurrent", data.directXFolder);
    if (std::string problem = DiscPathProblem(data.directXFolder + "dxsetup.exe");
        lines.directXRead && !problem.empty())
        report.add(Severity::Error, lines.directX, "DXCurrent", problem);
    check(lines.execRead, lines.exec, "exec", data.executable);
}

}  // namespace setupdata
