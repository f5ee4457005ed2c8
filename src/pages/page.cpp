#include "pages/page.h"

#include <algorithm>

#include "platform/pump_messages.h"
#include "support/cp932_literal.h"

namespace pages {

using ui::ControlKind;
using ui::ControlTemplate;

ui::WindowHandle Page::Create(ui::WindowHandle host) {
    owner = host;
    window = ws_.CreateDialogWindow(dialog_, host, *this);
    return window;
}

void Page::PumpMessages() { platform::PumpMessages(ws_, window); }

std::int32_t Page::TakeCommand() {
    std::int32_t command = pendingCommand;
    pendingCommand = 0;
    return command;
}

bool ReportingPage::OnCommand(ui::WindowHandle, int id) {
    if (std::find(reported_.begin(), reported_.end(), id) == reported_.end()) return false;
    pendingCommand = id;
    return true;
}

namespace {
constexpr std::uint32_t kPageStyle = ui::kWsChild | ui::kDsControl | ui::kDsSetFont;
constexpr std::uint32_t kButton = ui::kWsTabStop;

const ControlTemplate kCopyProgress[] = {
    {2, ControlKind::PushButton, kButton, SJ("ｷｬﾝｾﾙ"), 81, 194, 50, 14},
    {1004, ControlKind::Static, 0, SJ("ファイルの転送"), 4, 10, 128, 130},
    {1002, ControlKind::Static, 0, SJ("てすと"), 2, 147, 132, 8},
    {1003, ControlKind::ProgressBar, ui::kWsBorder, {}, 2, 155, 132, 10},
    {-1, ControlKind::Static, 0, SJ("進行状況"), 2, 169, 28, 8},
    {1001, ControlKind::ProgressBar, ui::kWsBorder, {}, 2, 177, 132, 10},
};
const ControlTemplate kUninstallSettings[] = {
    {1, ControlKind::PushButton, kButton, SJ("ｱﾝｲﾝｽﾄｰﾙ"), 28, 194, 50, 14},
    {2, ControlKind::PushButton, kButton, SJ("ｷｬﾝｾﾙ"), 83, 194, 50, 14},
    {1007, ControlKind::CheckBox, ui::kWsTabStop, SJ("ｾｰﾌﾞﾌｧｲﾙは削除しない"), 6, 16, 85, 10},
    {-1, ControlKind::GroupBox, 0, SJ("ｱﾝｲﾝｽﾄｰﾙの設定"), 2, 2, 132, 186},
};
const ControlTemplate kUninstallProgress[] = {
    {2, ControlKind::PushButton, kButton, SJ("ｷｬﾝｾﾙ"), 81, 194, 50, 14},
    {-1, ControlKind::Static, 0, SJ("ｱﾝｲﾝｽﾄｰﾙ作業中..."), 4, 10, 128, 9},
    {-1, ControlKind::Static, 0, SJ("進行状況"), 2, 169, 28, 8},
    {1001, ControlKind::ProgressBar, ui::kWsBorder, {}, 2, 177, 132, 10},
};
}  // namespace

const ui::DialogTemplate kCopyProgressDialog{203, kPageStyle, 0, 138, 214, kCopyProgress};
const ui::DialogTemplate kUninstallSettingsDialog{204, kPageStyle, 0, 138, 214, kUninstallSettings};
const ui::DialogTemplate kUninstallProgressDialog{205, kPageStyle, 0, 138, 214, kUninstallProgress};

}  // namespace pages
