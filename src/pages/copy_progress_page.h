#pragma once
// Dialog 203: the install's progress, file by file and overall, with its Cancel.
#include <string_view>

#include "install/install_job.h"
#include "pages/page.h"

namespace pages {

enum class CopyProgressControl : int {
    Cancel = ui::kIdCancel,
    OverallBar = 1001,
    Status = 1002,  // the folder or file at work
    FileBar = 1003,
    Heading = 1004,
};
extern const ui::DialogTemplate kCopyProgressDialog;

class CopyProgressPage : public StandardButtonsPage {
public:
    CopyProgressPage(ui::WindowSystem& ws, setupdata::SetupContext& context)
        : StandardButtonsPage(ws, context, kCopyProgressDialog, false) {}

    // The heading over the bars, and whether Cancel may still stop the work.
    void ShowStage(std::string_view heading, bool cancellable);
    install::ProgressPage JobView();
};

}  // namespace pages
