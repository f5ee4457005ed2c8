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

std::string Home() {
    const char* h = std::getenv("HOME");
    return h ? h : "/tmp";
}

// Windows always has these folders; a fresh host account may not, so they are made on demand.
bool FolderFor(const std::string& host, std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(host, ec);
    std::string windows;
    if (!posix::ToWindowsPath(host, windows)) return false;
    folder = windows;
    return true;
}

class PosixShell : public Shell {
public:
    bool ProgramsFolder(std::string& folder) override {
        const char* data = std::getenv("XDG_DATA_HOME");
        return FolderFor((data && *data ? std::string(data) : Home() + "/.local/share") + "/applications", folder);
    }

    bool DesktopFolder(std::string& folder) override {
        const char* desktop = std::getenv("XDG_DESKTOP_DIR");
        return FolderFor(desktop && *desktop ? std::string(desktop) : Home() + "/Desktop", folder);
    }

    std::string ShortcutExtension() override { return ".desktop"; }

    bool WriteShortcut(const std::string& shortcutPath, const std::string& target,
                       const std::string& workingFolder) override {
        std::string targetHost, folderHost, name;
        if (!posix::ToHostPath(target, targetHost) || !posix::ToHostPath(workingFolder, folderHost)) return false;
        std::string file = support::FileNameOfPath(shortcutPath);
        name = support::ToUtf8Lossy(file.substr(0, file.rfind('.')));
        std::string entry = "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=\"" + targetHost +
                            "\"\nPath=" + folderHost + "\nTerminal=false\n";
        return WriteWholeFile(SystemFileSystem(), shortcutPath, entry);
    }
};

}  // namespace

Shell& SystemShell() {
    static PosixShell shell;
    return shell;
}

void InitializeProcess() {}
void TerminateProcess() {}

}  // namespace os
