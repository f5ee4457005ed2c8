#pragma once
// Drains the queue with one page's dialog-key routing; never runs the loop's filters or idle
// handlers.
#include "ui/window_system.h"

namespace platform {

void PumpMessages(ui::WindowSystem& ws, ui::WindowHandle page);

// Progress-bar changes that move the bar drain the queue first, so a long job repaints and
// dispatches button presses at least once per change.
void SetProgressPosition(ui::WindowSystem& ws, ui::WindowHandle page, int id, std::uint32_t position);
void StepProgress(ui::WindowSystem& ws, ui::WindowHandle page, int id);

}  // namespace platform
