// The Windows chain of file time, local file time and broken-down time, over the C library.
#include <ctime>

#include "os/file_system.h"
#include "os/file_time.h"

namespace os {
namespace {

constexpr std::int64_t kEpochDifference = 11644473600;  // 1601-01-01 to 1970-01-01 in seconds
constexpr std::int64_t kTicks = 10000000;

// The bias FileTimeToLocalFileTime applies: the zone's offset now, not at the date converted.
std::int64_t CurrentOffset() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_gmtoff;
}

}  // namespace

bool FileTimeToLocalSeconds(std::uint64_t fileTime, std::int64_t& seconds) {
    std::time_t shifted =
        static_cast<std::time_t>(static_cast<std::int64_t>(fileTime / kTicks) - kEpochDifference + CurrentOffset());
    std::tm broken{};
    if (!gmtime_r(&shifted, &broken)) return false;
    if (broken.tm_year < 0) {  // before 1900
        seconds = 0;
        return true;
    }
    if (IsFileTimeBefore1970(fileTime)) {
        seconds = SecondsOfFileTimeBefore1970(fileTime);
        return true;
    }
    broken.tm_isdst = -1;
    // A local time the library cannot give in seconds counts as absent, like one before 1900.
    std::time_t result = std::mktime(&broken);
    seconds = result < 0 ? 0 : result;
    return true;
}

std::uint64_t LocalSecondsToFileTime(std::int64_t seconds) {
    if (seconds < 0) return FileTimeOfSecondsBefore1970(seconds);
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm broken{};
    if (!localtime_r(&t, &broken)) return 0;
    std::int64_t asUtc = timegm(&broken) - CurrentOffset();
    return static_cast<std::uint64_t>((asUtc + kEpochDifference) * kTicks);
}

}  // namespace os
