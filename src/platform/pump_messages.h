#pragma once
// Drains the queue with one page's dialog-key routing; never runs the loop's filters or idle
// handlers.
#include "ui/window_system.h"

namespace platform {

void PumpMessages(ui::WindowSystem& ws, ui::WindowHandle page);

}  // namespace platform
