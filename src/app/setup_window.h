#pragma once
// The main window: fixed size, no system menu, its client area filled by the page host.
#include "app/message_loop.h"
#include "pages/page_host.h"

namespace app {

// Where a window of the given size goes when centred in the work area, kept inside it.
struct Position {
    long x, y;
};
Position CentreInWorkArea(const ui::Rect& window, const ui::Rect& workArea);

class SetupWindow : public ui::MainWindowHandler, public MessageFilter, public IdleHandler {
public:
    SetupWindow(ui::WindowSystem& ws, setupdata::SetupContext& context, MessageLoop& loop)
        : pageHost(ws, context), ws_(ws), context_(context), loop_(loop) {}

    // False when the window could not be made.
    bool Create();

    bool OnCreate(ui::WindowHandle window) override;
    void OnDestroy(ui::WindowHandle window) override;
    void OnSize(ui::WindowHandle window, long width, long height) override;
    bool PreTranslateMessage(const ui::Message& message) override;
    bool OnIdle() override;

    ui::WindowHandle window = nullptr;
    ui::WindowHandle client = nullptr;
    pages::PageHost pageHost;

private:
    ui::WindowSystem& ws_;
    setupdata::SetupContext& context_;
    MessageLoop& loop_;
};

}  // namespace app
