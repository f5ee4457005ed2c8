#pragma once
// SetupRegist.ini, the authoring form of the description, and the profile readers it uses.
#include <cstdint>
#include <string>

#include "os/file_system.h"
#include "os/profile.h"

namespace setupdata {

enum class RegistrationFault {
    Missing,           // the key is absent
    Empty,             // the value is empty after comment and blank removal
    Unregistered,      // the value is the text "未登録"
    NoTypeToken,       // a file value without an install-type token
    UnknownTypeToken,  // a token other than TYPE0 and TYPE1
    CannotOpen,        // the listed file cannot be opened for reading
    UnsafeName,        // a folder or file name that would leave its folder
};

// Why a registration failed: the key (CP932), the fault and the file involved (CP932).
struct RegistrationError {
    std::string key;
    RegistrationFault fault = RegistrationFault::Missing;
    std::string path;
};

const char* Describe(RegistrationFault fault);

// Reads a value with the default "未登録", cuts a "//" comment, trims blanks; fails for an empty
// value and for "未登録". The out string holds the trimmed text even when the read fails.
bool ReadProfileString(os::FileSystem& fs, const std::string& profilePath, const std::string& section,
                       const std::string& key, std::string& out);
// The same over a file parsed once.
bool ReadProfileString(const os::ProfileFile& profile, const std::string& section, const std::string& key,
                       std::string& out);
// Decimal, or hexadecimal with a trailing "h" or a leading "0x"; anything else reads as 0.
bool ReadProfileInt(os::FileSystem& fs, const std::string& profilePath, const std::string& section,
                    const std::string& key, std::int32_t& out);
bool ReadProfileInt(const os::ProfileFile& profile, const std::string& section, const std::string& key,
                    std::int32_t& out);
std::int32_t ConvertProfileInt(const std::string& text);

// The parts of a file value: leading whitespace skipped; a token ends at the first comma, and
// without a comma it is empty and `remaining` keeps all of it.
std::string SkipWhitespace(const std::string& s);
std::string SplitToken(std::string& remaining);

}  // namespace setupdata
