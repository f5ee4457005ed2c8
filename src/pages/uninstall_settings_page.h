#pragma once
// Dialog 204: whether the save files stay, and the go-ahead for the uninstall.
#include "pages/page.h"

namespace pages {

enum class UninstallSettingsControl : int {
    Uninstall = ui::kIdOk,
    Cancel = ui::kIdCancel,
    KeepSaveFiles = 1007,
};
extern const ui::DialogTemplate kUninstallSettingsDialog;

class UninstallSettingsPage : public StandardButtonsPage {
public:
    UninstallSettingsPage(ui::WindowSystem& ws, setupdata::SetupContext& context)
        : StandardButtonsPage(ws, context, kUninstallSettingsDialog, true) {}

    bool KeepSaveFiles();
};

}  // namespace pages
