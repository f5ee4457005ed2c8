#include "install/shortcuts.h"

#include "install/validation.h"
#include "support/cp932.h"

namespace install {

std::string ShortcutFileName(setupdata::SetupContext& context, const std::string& name) {
    return name + context.services.shell.ShortcutExtension();
}

std::string GameTargetPath(const setupdata::SetupContext& context, const std::string& installFolder) {
    return support::WithTrailingBackslash(installFolder) + context.setupData->executable;
}

std::string HelpFilePath(const setupdata::SetupContext& context, const std::string& installFolder) {
    return support::WithTrailingBackslash(installFolder) + context.setupData->title + ".chm";
}

std::string StartMenuFolder(setupdata::SetupContext& context) {
    std::string programs;
    if (!context.services.shell.ProgramsFolder(programs)) return {};
    return support::WithTrailingBackslash(programs) + context.setupData->title;
}

bool CreateShellLink(setupdata::SetupContext& context, const std::string& shortcutPath, const std::string& target,
                     const std::string& workingFolder) {
    return context.services.shell.WriteShortcut(shortcutPath, target, workingFolder);
}

bool CreateStartMenuShortcut(ui::WindowSystem& ws, setupdata::SetupContext& context, ui::WindowHandle owner,
                             const std::string& fileName, const std::string& target, const std::string& workingFolder) {
    const std::string folder = StartMenuFolder(context);
    if (folder.empty() || !EnsureFolder(ws, context, owner, folder, false)) return false;
    return CreateShellLink(context, folder + "\\" + fileName, target, workingFolder);
}

bool CreateDesktopShortcut(setupdata::SetupContext& context, const std::string& fileName, const std::string& target,
                           const std::string& workingFolder) {
    std::string desktop;
    if (!context.services.shell.DesktopFolder(desktop)) return false;
    return CreateShellLink(context, support::WithTrailingBackslash(desktop) + fileName, target, workingFolder);
}

}  // namespace install
