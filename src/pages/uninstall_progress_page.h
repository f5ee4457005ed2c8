#pragma once
// Dialog 205: the uninstall's progress, with its Cancel.
#include "install/install_job.h"
#include "pages/page.h"

namespace pages {

enum class UninstallProgressControl : int {
    Cancel = ui::kIdCancel,
    OverallBar = 1001,
};
extern const ui::DialogTemplate kUninstallProgressDialog;

class UninstallProgressPage : public StandardButtonsPage {
public:
    UninstallProgressPage(ui::WindowSystem& ws, setupdata::SetupContext& context)
        : StandardButtonsPage(ws, context, kUninstallProgressDialog, false) {}

    install::ProgressPage JobView() { return {window, &pendingCommand, ui::Id(UninstallProgressControl::OverallBar)}; }
};

}  // namespace pages
