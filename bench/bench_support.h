#pragma once
// What a benchmark needs to run a job without the setup around it: a silent start-up box and a
// main window that does nothing.
#include "setupdata/setup_context.h"
#include "ui/window_system.h"

namespace bench {

struct NoBox : setupdata::StartupErrorBox {
    void Show(const std::string&) override {}
};
struct NoMain : ui::MainWindowHandler {
    bool OnCreate(ui::WindowHandle) override { return true; }
    void OnDestroy(ui::WindowHandle) override {}
    void OnSize(ui::WindowHandle, long, long) override {}
};

}  // namespace bench
