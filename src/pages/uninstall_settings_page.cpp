#include "pages/uninstall_settings_page.h"

#include "support/cp932_literal.h"

namespace pages {
namespace {

using enum UninstallSettingsControl;
using ui::ControlKind;
using ui::Id;

const ui::ControlTemplate kControls[] = {
    {Id(Uninstall), ControlKind::PushButton, ui::kWsTabStop, SJ("ｱﾝｲﾝｽﾄｰﾙ"), 28, 194, 50, 14},
    {Id(Cancel), ControlKind::PushButton, ui::kWsTabStop, SJ("ｷｬﾝｾﾙ"), 83, 194, 50, 14},
    {Id(KeepSaveFiles), ControlKind::CheckBox, ui::kWsTabStop, SJ("ｾｰﾌﾞﾌｧｲﾙは削除しない"), 6, 16, 85, 10},
    {ui::kNoId, ControlKind::GroupBox, 0, SJ("ｱﾝｲﾝｽﾄｰﾙの設定"), 2, 2, 132, 186},
};

}  // namespace

const ui::DialogTemplate kUninstallSettingsDialog{204, kPageStyle, 0, 138, 214, kControls};

bool UninstallSettingsPage::KeepSaveFiles() {
    return ws_.GetCheck(window, Id(UninstallSettingsControl::KeepSaveFiles));
}

}  // namespace pages
