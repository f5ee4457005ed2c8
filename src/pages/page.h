#pragma once
// What every page shares: its window, its owner (the page host) and the command its buttons
// leave for the controller.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "setupdata/setup_context.h"
#include "ui/window_system.h"

namespace pages {

class Page : public ui::DialogHandler {
public:
    Page(ui::WindowSystem& ws, setupdata::SetupContext& context, const ui::DialogTemplate& dialog)
        : ws_(ws), context_(context), dialog_(dialog) {}

    // Records the host as owner and creates the page hidden; null on failure.
    ui::WindowHandle Create(ui::WindowHandle host);
    void PumpMessages();
    // The pending command, reset to 0.
    std::int32_t TakeCommand();

    ui::WindowHandle window = nullptr;
    ui::WindowHandle owner = nullptr;
    std::int32_t pendingCommand = 0;

protected:
    ui::WindowSystem& ws_;
    setupdata::SetupContext& context_;
    const ui::DialogTemplate& dialog_;
};

// The pages 203, 204 and 205: each listed button leaves its own id as the command.
class ReportingPage : public Page {
public:
    ReportingPage(ui::WindowSystem& ws, setupdata::SetupContext& context, const ui::DialogTemplate& dialog,
                  std::initializer_list<int> reported)
        : Page(ws, context, dialog), reported_(reported) {}
    bool OnInitDialog(ui::WindowHandle) override { return true; }
    bool OnCommand(ui::WindowHandle dialog, int id) override;

private:
    std::vector<int> reported_;
};

extern const ui::DialogTemplate kCopyProgressDialog;        // 203
extern const ui::DialogTemplate kUninstallSettingsDialog;   // 204
extern const ui::DialogTemplate kUninstallProgressDialog;   // 205

}  // namespace pages
