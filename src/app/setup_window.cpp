#include "app/setup_window.h"

#include "support/cp932_literal.h"
#include "support/format.h"
#include "support/shown_texts.h"

namespace app {

Position CentreInWorkArea(const ui::Rect& window, const ui::Rect& area) {
    auto place = [](long size, long low, long high) {
        long start = (low + high) / 2 - size / 2;
        if (start < low) return low;
        if (start + size > high) return high - size;
        return start;
    };
    return {place(window.width(), area.left, area.right), place(window.height(), area.top, area.bottom)};
}

bool SetupWindow::Create() {
    window = ws_.CreateMainWindow(*this, "Setup");
    return window != nullptr;
}

bool SetupWindow::OnCreate(ui::WindowHandle created) {
    window = created;
    ws_.RemoveMenu(window);
    client = ws_.CreateDialogWindow(pages::kPageHostDialog, window, pageHost);
    if (!client) return false;
    loop_.AddMessageFilter(this);
    loop_.AddIdleHandler(this);
    ws_.SetCaption(window, support::FormatText(support::texts::kCaptionFormat, context_.setupData->title));
    ui::Rect outer = ws_.WindowRect(window), inner = ws_.ClientRect(window), host = ws_.ClientRect(client);
    ws_.SetWindowPos(window, 0, 0, host.width() + outer.width() - inner.width(),
                     host.height() + outer.height() - inner.height(), true, true);
    Position at = CentreInWorkArea(ws_.WindowRect(window), ws_.WorkArea());
    ws_.SetWindowPos(window, at.x, at.y, 0, 0, true, false);
    return true;
}

void SetupWindow::OnDestroy(ui::WindowHandle) {
    pageHost.OnMainWindowDestroyed();
    ws_.PostQuit(1);
}

void SetupWindow::OnSize(ui::WindowHandle, long width, long height) {
    if (client) ws_.MoveWindow(client, {0, 0, width, height});
}

bool SetupWindow::PreTranslateMessage(const ui::Message& message) {
    if (ws_.TranslateAccelerators(window, message)) return true;
    for (int i = 0; i < pages::PageHost::kPageCount; ++i)
        if (ws_.RouteDialogMessage(pageHost.PageAt(i)->window, message)) return true;
    return ws_.RouteDialogMessage(client, message);
}

bool SetupWindow::OnIdle() {
    pageHost.Step();
    return false;
}

}  // namespace app
