#pragma once
// Dialog 202: where to install, which install type, which shortcuts, and the free space.
#include "pages/page.h"

namespace pages {

extern const ui::DialogTemplate kInstallSettingsDialog;

// The radio buttons in install-type order: 0 voice-less, 1 full.
inline constexpr int kInstallTypeControls[] = {1005, 1006};

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
};

}  // namespace pages
