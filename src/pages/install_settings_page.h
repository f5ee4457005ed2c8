#pragma once
// Dialog 202: where to install, which install type, which shortcuts, and the free space.
#include "pages/page.h"

namespace pages {

enum class InstallSettingsControl : int {
    Install = ui::kIdOk,
    Cancel = ui::kIdCancel,
    FreeSpace = 1000,
    DesktopShortcut = 1004,
    VoicelessInstall = 1005,
    FullInstall = 1006,
    InstallFolder = 1007,
    Browse = 1008,
    StartMenu = 1009,
};
extern const ui::DialogTemplate kInstallSettingsDialog;

// The radio buttons in install-type order: 0 voice-less, 1 full.
inline constexpr InstallSettingsControl kInstallTypeControls[] = {InstallSettingsControl::VoicelessInstall,
                                                                  InstallSettingsControl::FullInstall};

class InstallSettingsPage : public Page {
public:
    InstallSettingsPage(ui::WindowSystem& ws, setupdata::SetupContext& context)
        : Page(ws, context, kInstallSettingsDialog) {}

    bool OnInitDialog(ui::WindowHandle dialog) override;
    bool OnCommand(ui::WindowHandle dialog, int id) override;

    // What the install reads when it starts: -1 when no type is chosen.
    int SelectedInstallType();
    bool AddToStartMenu();
    bool AddDesktopShortcut();

private:
    void ChooseInstallRoot();
    void ShowInstallFolder();
};

}  // namespace pages
