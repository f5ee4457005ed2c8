#include "install/file_status.h"

namespace install {

bool QueryFileStatus(os::FileSystem& fs, const std::string& path, FileStatus& status) {
    os::FoundFile found;
    if (!fs.FindFile(path, found)) return false;
    FileStatus s;
    s.attributes = static_cast<std::uint8_t>(found.attributes & 0x7F);
    s.size = found.size;
    if (!os::FileTimeToLocalSeconds(found.creationTime, s.creationTime) ||
        !os::FileTimeToLocalSeconds(found.accessTime, s.accessTime) ||
        !os::FileTimeToLocalSeconds(found.writeTime, s.writeTime))
        return false;
    if (s.creationTime == 0) s.creationTime = s.writeTime;
    if (s.accessTime == 0) s.accessTime = s.writeTime;
    status = s;
    return true;
}

}  // namespace install
