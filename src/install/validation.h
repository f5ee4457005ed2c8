#pragma once
// The checks between the press of Install and the install job: the choices, the medium, the
// destination drive, the free space and the install folder.
#include <string>

#include "setupdata/setup_context.h"
#include "ui/window_system.h"

namespace install {

struct InstallOptions {
    std::string sourcePath;
    std::string installFolder;
    int installType = -1;
    bool addToStartMenu = false;
    bool addDesktopShortcut = false;
};

// What the settings page offers when Install is pressed, and the windows that own the boxes.
struct InstallChoices {
    ui::WindowHandle hostWindow;      // owns the boxes
    ui::WindowHandle settingsWindow;  // owns the medium chooser
    int installType;                  // -1: none chosen
    bool addToStartMenu;
    bool addDesktopShortcut;
};

bool ValidateInstall(ui::WindowSystem& ws, setupdata::SetupContext& context, const InstallChoices& choices,
                     InstallOptions& options);
bool LocateSourceMedium(ui::WindowSystem& ws, setupdata::SetupContext& context, const InstallChoices& choices,
                        InstallOptions& options);
bool CheckDestinationDrive(ui::WindowSystem& ws, setupdata::SetupContext& context, ui::WindowHandle owner,
                           const std::string& path);
// Whether the folder exists (found by making it the current folder, then going back to the
// source folder), creating it one level deep, after asking when `ask` is set.
bool EnsureFolder(ui::WindowSystem& ws, setupdata::SetupContext& context, ui::WindowHandle owner,
                  const std::string& path, bool ask);

}  // namespace install
