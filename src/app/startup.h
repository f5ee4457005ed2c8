#pragma once
// From a built setup context to the exit code: the single-instance test, the main window, the
// loop.
#include "setupdata/setup_context.h"
#include "ui/window_system.h"

namespace app {

// 0 when another setup of the same title runs or the window cannot be made; otherwise the loop's
// result, 1 after a normal close.
int RunSetup(setupdata::SetupContext& context, ui::WindowSystem& ws);

}  // namespace app
