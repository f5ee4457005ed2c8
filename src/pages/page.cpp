#include "pages/page.h"

#include <utility>

#include "pages/display_scale.h"
#include "platform/pump_messages.h"

namespace pages {

ui::WindowHandle Page::Create(ui::WindowHandle host) {
    owner = host;
    window = ws_.CreateDialogWindow(dialog_, host, *this);
    if (window) FitStaticTexts(ws_, window, dialog_);
    return window;
}

void Page::PumpMessages() { platform::PumpMessages(ws_, window); }

std::int32_t Page::TakeCode() { return std::exchange(pendingCommand, 0); }

bool StandardButtonsPage::OnCommand(ui::WindowHandle, int id) {
    // Without an OK button, Enter's IDOK is no command: a job would take it for a cancel.
    if (id == ui::kIdCancel || (hasOk_ && id == ui::kIdOk)) {
        LeaveCommand(static_cast<PageCommand>(id));
        return true;
    }
    return false;
}

}  // namespace pages
