#include "platform/pump_messages.h"

namespace platform {

void PumpMessages(ui::WindowSystem& ws, ui::WindowHandle page) {
    ui::Message message;
    while (ws.PeekQueue(message, true)) {
        if (message.code == ui::kWmQuit) {
            // Put the quit request back: the main loop must see it, or the process would wait on
            // with no window left.
            ws.PostQuit(static_cast<int>(message.wParam));
            return;
        }
        if (!ws.RouteDialogMessage(page, message)) ws.TranslateAndDispatch(message);
    }
}

}  // namespace platform

namespace platform {

void SetProgressPosition(ui::WindowSystem& ws, ui::WindowHandle page, int id, std::uint32_t position) {
    PumpMessages(ws, page);
    ws.SetProgressPos(page, id, position);
}

void StepProgress(ui::WindowSystem& ws, ui::WindowHandle page, int id) {
    PumpMessages(ws, page);
    ws.StepProgress(page, id);
}

}  // namespace platform
