#pragma once
// The game's own profile file, title + ".ini" in the install folder: section "PATH" with the
// install type and the two folders.
#include <cstdint>
#include <string>

#include "setupdata/setup_context.h"

namespace install {

std::string FormatDecimal(std::int64_t value);
bool WriteProfileValue(os::FileSystem& fs, const std::string& file, const std::string& value,
                       const std::string& section, const std::string& key);
bool WriteGameProfile(setupdata::SetupContext& context, int installType, const std::string& installFolder,
                      const std::string& sourcePath);
std::string GameProfilePath(const setupdata::SetupContext& context, const std::string& installFolder);

}  // namespace install
