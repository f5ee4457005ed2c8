#include "platform/disk_free_space.h"

#include <cstdio>

#include "support/cp932_literal.h"
#include "support/shown_texts.h"

namespace platform {

DiskFreeSpace::DiskFreeSpace(os::FileSystem& fs, const std::string& path, std::uint64_t& freeBytes) {
    bool available = false;
    std::uint64_t bytes = 0;
    bool answered = fs.FreeBytesAvailable(path, bytes, available);
    if (available) {  // the extended query decides alone
        succeeded = answered;
        if (succeeded) freeBytes = bytes;
        return;
    }
    std::string root;
    bool network = path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
    if (network) {
        char letter = 'C';
        while (letter <= 'Z' && fs.DriveTypeOf(std::string(1, letter) + ":\\") != os::DriveType::NoRootDir) ++letter;
        if (letter > 'Z') return;
        root = std::string(1, letter) + ":";
        if (!fs.ConnectNetworkDrive(root, path)) return;
    } else {
        root = (path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string()) + "\\";
    }
    std::uint64_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0;
    succeeded = fs.ClusterFreeSpace(network ? root + "\\" : root, sectorsPerCluster, bytesPerSector, freeClusters);
    if (network) fs.DisconnectNetworkDrive(root);
    if (succeeded) freeBytes = sectorsPerCluster * bytesPerSector * freeClusters;
}

std::string FreeSpaceText(std::uint64_t freeBytes) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(freeBytes));
    return " " + std::string(digits) + " " + std::string(support::texts::kBytesUnit);
}

std::string InstallRootFreeSpaceText(const setupdata::SetupContext& context) {
    std::uint64_t freeBytes = 0;
    DiskFreeSpace query(context.services.files, context.installFolderPath(false), freeBytes);
    return FreeSpaceText(query.succeeded ? freeBytes : 0);
}

}  // namespace platform
