#pragma once
// Maps Windows paths onto the host file system, the way a Windows emulator does: each drive
// letter names a host folder and a drive type. The table comes from SETUP_DRIVES
// ("C=/srv/c:fixed;D=/media/cd:cdrom") or, without it, C: is ~/.local/share/setup/drive_c and Z: is
// "/"; tests replace it.
#include <string>
#include <vector>

#include "os/file_system.h"

namespace os::posix {

struct Drive {
    char letter;             // upper case
    std::string hostFolder;  // absolute, no trailing slash except "/"
    DriveType type;
};

void SetDriveTable(std::vector<Drive> drives);
const std::vector<Drive>& DriveTable();

// Windows path (CP932) to a host path (UTF-8); relative paths stay relative to the host's current
// folder. False when the drive is not mapped or the text is not valid CP932.
bool ToHostPath(const std::string& windowsPath, std::string& hostPath);
// Absolute host path to the Windows path of the drive whose folder holds it most closely.
bool ToWindowsPath(const std::string& hostPath, std::string& windowsPath);

}  // namespace os::posix
