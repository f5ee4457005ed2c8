#pragma once
// What a publisher's tool finds wrong with a medium before it ships: the authoring file read as
// registration reads it, and the shipped Setup.ini walked as the install walks it. Every problem
// is reported at once, with its line and key; texts are UTF-8 for a terminal.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "os/file_system.h"
#include "setupdata/setup_data.h"

namespace setupdata {

enum class Severity { Error, Warning };

struct Finding {
    Severity severity = Severity::Error;
    std::size_t line = 0;  // 0: the file as a whole, or a key that is missing
    std::string key;       // UTF-8; "" for the file as a whole
    std::string message;   // UTF-8
};

struct TypeSummary {
    InstallType type = 0;
    std::size_t files = 0;
    std::uint64_t bytes = 0;
};

struct CheckReport {
    std::string file;      // the file the lines belong to: SetupRegist.ini or Setup.ini
    std::string encoding;  // how the file was read: "CP932", "UTF-16LE", "UTF-8", ...
    std::vector<Finding> findings;
    std::vector<TypeSummary> types;  // per install type, filled by a verify

    std::size_t count(Severity s) const;
    void add(Severity s, std::size_t line, const std::string& key, const std::string& message) {
        findings.push_back({s, line, key, message});
    }
};

// `sourceFolder`: the medium in the setup's path form, with its trailing backslash; it is the
// current folder, as at start-up. The authoring file is read exactly as registration reads it.
CheckReport CheckAuthoringFile(os::FileSystem& fs, const std::string& sourceFolder);
// From Setup.ini alone: every file the copy of each install type opens, with its recorded size.
CheckReport VerifySetupFile(os::FileSystem& fs, const std::string& sourceFolder);

// Where the settings stand in the authoring file (0 in Setup.ini).
struct SettingLines {
    std::size_t registry = 0, directX = 0, exec = 0, folder = 0;
    bool directXRead = true, execRead = true;  // false: its reading failed, said already
};
// The checks both share over a description: the key prefix and DirectX folder end in a backslash,
// the game's program is installed by every install type, the DirectX setup and the banner lie on
// the medium.
void CheckProgramAndMedium(os::FileSystem& fs, const std::string& sourceFolder, const SetupData& data,
                           const SettingLines& lines, CheckReport& report);
// Where the install reads an entry's file, relative to the medium: the data folder joined with
// the folder and the name.
std::string InstallSourceOnMedium(const std::string& dataFolder, const std::string& relativePath);

// A disc's Joliet tree, the names Windows players read: "" when every part of the relative path
// fits, else what is wrong with the first that does not, and what to do.
std::string DiscNameProblem(std::string_view relativePath);
// Whether a Joliet name or label may hold the character: none of * / : ; ? \ or a control one.
bool IsDiscNameCharacter(char16_t c);
// The same for the length of a whole path below the disc's root.
std::string DiscPathProblem(std::string_view pathOnMedium);
// The data folder, the DirectX folder and exec against the same rules.
void CheckDiscSettings(const SetupData& data, const SettingLines& lines, CheckReport& report);

// Names for messages.
std::string Readable(const std::string& cp932);
const char* InstallTypeName(InstallType t);

}  // namespace setupdata
