#include "install/game_profile.h"

#include "os/profile.h"
#include "support/cp932.h"

namespace install {

std::string FormatDecimal(std::int64_t value) {
    if (value == 0) return "0";
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string digits;
    for (; magnitude > 0; magnitude /= 10) digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
    return value < 0 ? "-" + digits : digits;
}

bool WriteProfileValue(os::FileSystem& fs, const std::string& file, const std::string& value,
                       const std::string& section, const std::string& key) {
    return !file.empty() && os::WriteProfileText(fs, file, section, key, value);
}

std::string GameProfilePath(const setupdata::SetupContext& context, const std::string& installFolder) {
    return support::WithTrailingBackslash(installFolder) + context.setupData->title + ".ini";
}

bool WriteGameProfile(setupdata::SetupContext& context, int installType, const std::string& installFolder,
                      const std::string& sourcePath) {
    os::FileSystem& fs = context.services.files;
    const std::string file = GameProfilePath(context, installFolder);
    return WriteProfileValue(fs, file, FormatDecimal(installType == 0 ? 128 : 0), "PATH", "SetupType") &&
           WriteProfileValue(fs, file, support::WithTrailingBackslash(installFolder), "PATH", "Current") &&
           WriteProfileValue(fs, file, support::WithTrailingBackslash(sourcePath), "PATH", "CDDrive");
}

}  // namespace install
