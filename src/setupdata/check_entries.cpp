// The file keys of the authoring file: their count, their syntax, the files they measure and
// where the install will read those files from.
#include <set>

#include "setupdata/check_detail.h"
#include "setupdata/file_handle.h"
#include "setupdata/names.h"
#include "setupdata/registration.h"
#include "support/cp932.h"
#include "support/cp932_literal.h"

namespace setupdata {
namespace {

constexpr std::uint64_t kFourGiB = 0x100000000ull;

struct EntryCheck {
    os::FileSystem& fs;
    const std::string& sourceFolder;
    SetupData& data;
    CheckReport& report;
    std::map<std::string, std::pair<std::string, std::size_t>> firstSpelling;  // folded folder -> (folder, line)
    std::set<std::string> caseWarned;

    void add(Severity s, std::size_t line, const std::string& key, const std::string& message) {
        report.add(s, line, key, message);
    }

    std::string typeToken(std::string& rest, std::size_t line, const std::string& key, std::int32_t& mask) {
        std::string type = SplitToken(rest);
        mask = 0;
        if (type.empty()) {
            add(Severity::Error, line, key,
                "no install type before a comma: write (TYPE0,folder,path) for every install or (TYPE1,folder,path) "
                "for the full install only");
        } else if (support::EqualsNoCase(type, "TYPE0")) {
            mask = -1;
        } else if (support::EqualsNoCase(type, "TYPE1")) {
            mask = 2;
        } else {
            std::string bare = support::TrimRight(type, " \t");
            if (support::EqualsNoCase(bare, "TYPE0") || support::EqualsNoCase(bare, "TYPE1"))
                add(Severity::Error, line, key,
                    "the blank after " + Readable(bare) + " makes the install type unknown: remove it");
            else
                add(Severity::Error, line, key,
                    "unknown install type \"" + Readable(type) +
                        "\": TYPE0 (every install) or TYPE1 (full install only)");
        }
        return type;
    }

    std::int32_t folderToken(const std::string& folder, std::size_t line, const std::string& key) {
        if (folder.empty()) return -1;
        if (support::TrimRight(folder, " \t") != folder)
            add(Severity::Error, line, key,
                "the folder \"" + Readable(folder) +
                    "\" ends in a blank, which becomes part of its name; Windows drops it, so the setup refuses the "
                    "name; remove the blank");
        else if (!IsSafeFolderName(folder))
            add(Severity::Error, line, key,
                "the folder \"" + Readable(folder) + "\" is no name the install can make below its folder");
        else if (std::string problem = DiscNameProblem(folder); !problem.empty())
            add(Severity::Error, line, key, problem);
        const std::string folded = support::FoldAsciiCase(folder);
        auto [it, fresh] = firstSpelling.emplace(folded, std::make_pair(folder, line));
        if (!fresh && it->second.first != folder && caseWarned.insert(folder).second)
            add(Severity::Warning, line, key,
                "the folder \"" + Readable(folder) + "\" differs from \"" + Readable(it->second.first) + "\" (line " +
                    std::to_string(it->second.second) +
                    ") only in letter case: Setup.ini lists two folders, Windows makes one; spell them alike");
        std::size_t at = 0;
        while (at < data.folders.size() && data.folders[at] != folder) ++at;
        if (at == data.folders.size()) data.folders.push_back(folder);
        return static_cast<std::int32_t>(at);
    }

    // Measures the file as registration does; explains a refusal.
    bool measure(const std::string& path, std::size_t line, const std::string& key, std::uint64_t& size) {
        FileHandle file(fs);
        if (file.OpenWithFlags(path, kModeRead) && file.Size(size)) return true;
        os::FoundFile found;
        bool absolute = (path.size() > 1 && path[1] == ':') || (!path.empty() && path[0] == '\\');
        const std::string where = absolute ? path : sourceFolder + path;
        if (!fs.FindFile(where, found))
            add(Severity::Error, line, key, "file not found on the medium: " + Readable(path));
        else if (found.attributes & os::kAttributeFolder)
            add(Severity::Error, line, key, Readable(path) + " is a folder, not a file");
        else
            add(Severity::Error, line, key,
                Readable(path) + " cannot be opened for reading (open in another program, or no permission)");
        return false;
    }

    void entry(const std::string& key, std::size_t line, std::string value) {
        value = support::Trim(value, "()");
        if (value.empty()) {
            add(Severity::Error, line, key, "empty inside its parentheses");
            return;
        }
        auto e = std::make_shared<FileEntry>();
        std::string rest = value;
        typeToken(rest, line, key, e->typeMask);
        const std::string folder = SplitToken(rest);
        e->folderIndex = folderToken(folder, line, key);
        const std::string path = SkipWhitespace(rest);
        e->name = support::FileNameOfPath(path);
        if (e->name.empty()) e->name = path;
        if (path.empty()) {
            add(Severity::Error, line, key, "no file path after the folder");
            return;
        }
        bool measured = measure(path, line, key, e->size);
        if (measured && e->size >= kFourGiB)
            add(Severity::Error, line, key,
                Readable(path) + " is 4 GiB or more (" + std::to_string(e->size) +
                    " bytes): a CD's file system cannot hold it and the setup's sizes stop below 4 GiB; split the "
                    "file");
        if (!IsSafeFileName(e->name))
            add(Severity::Error, line, key,
                "the name \"" + Readable(e->name) + "\" is no file name the install can write");
        else if (std::string problem = DiscNameProblem(e->name); !problem.empty())
            add(Severity::Error, line, key, problem);
        // The install reads data folder + folder + name; registration measured the path as written.
        const std::string relative = folder.empty() ? e->name : folder + "\\" + e->name;
        const std::string copied = InstallSourceOnMedium(data.dataFolder, relative);
        if (std::string problem = DiscPathProblem(copied); !problem.empty()) add(Severity::Error, line, key, problem);
        if (!support::EqualsNoCase(copied, path)) {
            os::FoundFile found;
            bool there = fs.FindFile(sourceFolder + copied, found);
            add(Severity::Error, line, key,
                "the install copies " + Readable(copied) + " (data folder + folder + name) but registration measures " +
                    Readable(path) +
                    (there ? ", two different files; write the path as " + Readable(copied)
                           : ", and " + Readable(copied) +
                                 " is not on the medium; move the file there and write that path"));
        }
        data.files.push_back(std::move(e));
    }
};

}  // namespace

void CheckEntries(os::FileSystem& fs, const std::string& sourceFolder, const os::ProfileFile& profile,
                  const AuthoringLayout& layout, std::int64_t count, std::size_t countLine, SetupData& data,
                  CheckReport& report) {
    const std::string listing(SJ("登録"));
    EntryCheck check{fs, sourceFolder, data, report, {}, {}};
    std::uint64_t end = count < 0 ? 0 : static_cast<std::uint64_t>(count);
    if (count < 0)  // registration reads until a key is missing
        while (layout.regist.count(end)) ++end;
    auto missingRun = [&](std::uint64_t from, std::uint64_t to) {
        if (from >= to) return;
        report.add(
            Severity::Error, 0, RegistKey(from),
            (from + 1 == to ? std::string("missing") : RegistKey(from) + " to " + RegistKey(to - 1) + " are missing") +
                ": count is " + std::to_string(end) + " (line " + std::to_string(countLine) +
                "), so the setup reads regist00 to " + RegistKey(end - 1) + " and fails at the first one missing");
    };
    // Walks the keys present, not every index: a count of two billion costs nothing.
    std::uint64_t next = 0;
    for (const auto& [index, line] : layout.regist) {
        if (index >= end) break;
        missingRun(next, index);
        next = index + 1;
        const std::string key = RegistKey(index);
        std::string value;
        if (ReadProfileString(profile, listing, key, value))
            check.entry(key, line, value);
        else if (!profile.HasValue(listing, key))
            continue;  // a character CP932 cannot spell, said already
        else if (value.empty())
            report.add(Severity::Error, line, key, "empty: every file key up to count needs a file");
        else
            report.add(Severity::Error, line, key, "is \"未登録\", which the setup reads as missing");
    }
    missingRun(next, end);
    for (const auto& [index, line] : layout.regist)
        if (index >= end)
            report.add(Severity::Warning, line, RegistKey(index),
                       count < 0
                           ? "not read: registration stops at the first key missing"
                           : "not registered: count is " + std::to_string(end) + "; raise it to register this file");
}

}  // namespace setupdata
