#pragma once
// The shell's per-user folders and shortcut files.
#include <string>

namespace os {

class Shell {
public:
    virtual ~Shell() = default;
    // The Start-menu programs folder and the desktop folder, without creating them.
    virtual bool ProgramsFolder(std::string& folder) = 0;
    virtual bool DesktopFolder(std::string& folder) = 0;
    // ".lnk" on Windows, ".desktop" for freedesktop entries.
    virtual std::string ShortcutExtension() = 0;
    // A shortcut opening `target` in a normal window with `workingFolder` as its current folder.
    virtual bool WriteShortcut(const std::string& shortcutPath, const std::string& target,
                               const std::string& workingFolder) = 0;
};

Shell& SystemShell();

// What the process needs before the shell's objects work (COM on Windows).
void InitializeProcess();
void TerminateProcess();

}  // namespace os
