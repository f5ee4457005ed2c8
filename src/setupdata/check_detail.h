#pragma once
// The parts of the authoring check, one source file each.
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "os/profile.h"
#include "setupdata/check.h"

namespace setupdata {

// Where each key that registration reads stands (the first of its name in the first section of
// its name), and the lines of the file keys by index.
struct AuthoringLayout {
    std::map<std::pair<std::string, std::string>, std::size_t> lines;  // (section, folded key) -> line
    std::map<std::uint64_t, std::size_t> regist;                       // index -> line
    std::size_t line(const std::string& section, const std::string& key) const;
};

// Sections and keys: unknown ones (with the likely meant name), repeated ones, lines that are
// no key, file keys spelt in another form than the setup looks for.
AuthoringLayout CheckLayout(const os::ProfileFile& profile, CheckReport& report);

// The file keys below "count" (-1: a negative count), each as registration reads it; adds the
// entries to `data` as registration would.
void CheckEntries(os::FileSystem& fs, const std::string& sourceFolder, const os::ProfileFile& profile,
                  const AuthoringLayout& layout, std::int64_t count, std::size_t countLine, SetupData& data,
                  CheckReport& report);

std::string RegistKey(std::uint64_t index);

}  // namespace setupdata
