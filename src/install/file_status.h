#pragma once
// A file's status as the copy keeps it: times in seconds of local time, size, low attributes.
#include <cstdint>
#include <string>

#include "os/file_system.h"

namespace install {

struct FileStatus {
    std::int64_t creationTime = 0;  // seconds since 1970; 0: no time
    std::int64_t accessTime = 0;
    std::int64_t writeTime = 0;
    std::uint64_t size = 0;
    std::uint8_t attributes = 0;  // low byte, FILE_ATTRIBUTE_NORMAL cleared
};

bool QueryFileStatus(os::FileSystem& fs, const std::string& path, FileStatus& status);

}  // namespace install
