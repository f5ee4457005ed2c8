// Shortcuts off Windows are freedesktop desktop entries: the applications folder stands for the
// Start menu's programs folder, the desktop folder for the desktop.
#include <cstdlib>
#include <filesystem>

#include "os/file_system.h"
#include "os/posix/drive_table.h"
#include "os/shell.h"
#include "support/cp932.h"
#include "support/system_text.h"

namespace os {
namespace {

std::string home() {
    const char* h = std::getenv("HOME");
    return h ? h : "/tmp";
}

// Windows always has these folders; a fresh host account may not, so they are made on demand.
bool folderFor(const std::string& host, std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(host, ec);
    std::string windows;
    if (!posix::toWindowsPath(host, windows)) return false;
    folder = windows;
    return true;
}

class PosixShell : public Shell {
public:
    bool ProgramsFolder(std::string& folder) override {
        const char* data = std::getenv("XDG_DATA_HOME");
        return folderFor((data && *data ? std::string(data) : home() + "/.local/share") + "/applications", folder);
    }

    bool DesktopFolder(std::string& folder) override {
        const char* desktop = std::getenv("XDG_DESKTOP_DIR");
        return folderFor(desktop && *desktop ? std::string(desktop) : home() + "/Desktop", folder);
    }

    std::string ShortcutExtension() override { return ".desktop"; }

    bool WriteShortcut(const std::string& shortcutPath, const std::string& target,
                       const std::string& workingFolder) override {
        std::string targetHost, folderHost, name;
        if (!posix::toHostPath(target, targetHost) || !posix::toHostPath(workingFolder, folderHost)) return false;
        std::string file = support::fileNameOfPath(shortcutPath);
        name = support::toUtf8Lossy(file.substr(0, file.rfind('.')));
        std::string entry = "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=\"" + targetHost + "\"\nPath=" +
                            folderHost + "\nTerminal=false\n";
        return writeWholeFile(systemFileSystem(), shortcutPath, entry);
    }
};

}  // namespace

Shell& systemShell() {
    static PosixShell shell;
    return shell;
}

void initializeProcess() {}
void terminateProcess() {}

}  // namespace os
