#include "app/message_loop.h"

namespace app {

bool MessageLoop::IsIdleMessage(const ui::Message& m) {
    return m.code != ui::kWmMouseMove && m.code != ui::kWmNcMouseMove && m.code != ui::kWmPaint &&
           m.code != ui::kWmSysTimer;
}

bool MessageLoop::OnIdle(int) {
    for (IdleHandler* handler : idleHandlers_) handler->OnIdle();
    return false;
}

int MessageLoop::Run() {
    bool idleAllowed = true;
    int idleCount = 0;
    ui::Message message;
    for (;;) {
        while (idleAllowed && !ws_.PeekQueue(message, false))
            if (!OnIdle(idleCount++)) idleAllowed = false;
        int got = ws_.NextMessage(message);
        if (got == -1) continue;
        if (got == 0) return static_cast<int>(message.wParam);
        bool handled = false;
        for (auto it = filters_.rbegin(); it != filters_.rend() && !handled; ++it)
            handled = (*it)->PreTranslateMessage(message);
        if (!handled) ws_.TranslateAndDispatch(message);
        if (IsIdleMessage(message)) {
            idleAllowed = true;
            idleCount = 0;
        }
    }
}

}  // namespace app
