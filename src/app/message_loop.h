#pragma once
// The one message loop, with the filters that see each message first and the idle handlers that
// run once each time the queue has run empty after a message that was not a mouse move, a paint
// or a system timer tick.
#include <vector>

#include "ui/window_system.h"

namespace app {

class MessageFilter {
public:
    virtual ~MessageFilter() = default;
    virtual bool PreTranslateMessage(const ui::Message& message) = 0;
};

class IdleHandler {
public:
    virtual ~IdleHandler() = default;
    virtual bool OnIdle() = 0;
};

class MessageLoop {
public:
    explicit MessageLoop(ui::WindowSystem& ws) : ws_(ws) {}

    void AddMessageFilter(MessageFilter* filter) { filters_.push_back(filter); }
    void AddIdleHandler(IdleHandler* handler) { idleHandlers_.push_back(handler); }
    // The quit message's code.
    int Run();

    static bool IsIdleMessage(const ui::Message& message);

private:
    // Calls every idle handler in registration order; never asks to be called again.
    bool OnIdle(int idleCount);

    ui::WindowSystem& ws_;
    std::vector<MessageFilter*> filters_;
    std::vector<IdleHandler*> idleHandlers_;
};

}  // namespace app
