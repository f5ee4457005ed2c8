#pragma once
// Free bytes at a path: the system's extended query when it has one, else the cluster count of
// the volume's root, borrowing a free drive letter for a network path.
#include <cstdint>
#include <string>

#include "os/file_system.h"
#include "setupdata/setup_context.h"

namespace platform {

class DiskFreeSpace {
public:
    DiskFreeSpace(os::FileSystem& fs, const std::string& path, std::uint64_t& freeBytes);
    virtual ~DiskFreeSpace() = default;
    bool succeeded = false;
};

// " 12345 ﾊﾞｲﾄ": the full count in decimal, 0 when the query failed.
std::string FreeSpaceText(std::uint64_t freeBytes);
// The free-space text of the install root, as the settings page shows it.
std::string InstallRootFreeSpaceText(const setupdata::SetupContext& context);

}  // namespace platform
