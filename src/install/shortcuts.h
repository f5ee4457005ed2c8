#pragma once
// The Start-menu and desktop shortcuts, and the paths they point at.
#include <string>

#include "setupdata/setup_context.h"
#include "ui/window_system.h"

namespace install {

std::string ShortcutFileName(setupdata::SetupContext& context, const std::string& name);
std::string GameTargetPath(const setupdata::SetupContext& context, const std::string& installFolder);
std::string HelpFilePath(const setupdata::SetupContext& context, const std::string& installFolder);
// The Start-menu folder of the game: the programs folder, a backslash, the title; "" when the
// shell has no programs folder.
std::string StartMenuFolder(setupdata::SetupContext& context);

bool CreateShellLink(setupdata::SetupContext& context, const std::string& shortcutPath, const std::string& target,
                     const std::string& workingFolder);
bool CreateStartMenuShortcut(ui::WindowSystem& ws, setupdata::SetupContext& context, ui::WindowHandle owner,
                             const std::string& fileName, const std::string& target, const std::string& workingFolder);
bool CreateDesktopShortcut(setupdata::SetupContext& context, const std::string& fileName, const std::string& target,
                           const std::string& workingFolder);

}  // namespace install
