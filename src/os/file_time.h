#pragma once
// File times (100 ns ticks since 1601-01-01 UTC) before 1970, which the C library cannot turn into
// seconds on every system (Windows' mktime and localtime stop at 1970): both backends count their
// seconds straight from the file time, negative, and back, so an old file's copy keeps its time.
#include <cstdint>

namespace os {

inline constexpr std::int64_t kFileTimeTicksPerSecond = 10000000;
inline constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;

inline bool IsFileTimeBefore1970(std::uint64_t fileTime) {
    return fileTime < static_cast<std::uint64_t>(kSecondsFrom1601To1970 * kFileTimeTicksPerSecond);
}

inline std::int64_t SecondsOfFileTimeBefore1970(std::uint64_t fileTime) {
    return static_cast<std::int64_t>(fileTime / kFileTimeTicksPerSecond) - kSecondsFrom1601To1970;
}

inline std::uint64_t FileTimeOfSecondsBefore1970(std::int64_t seconds) {
    return static_cast<std::uint64_t>((seconds + kSecondsFrom1601To1970) * kFileTimeTicksPerSecond);
}

}  // namespace os
