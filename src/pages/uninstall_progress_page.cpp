#include "pages/uninstall_progress_page.h"

#include "support/cp932_literal.h"

namespace pages {
namespace {

using enum UninstallProgressControl;
using ui::ControlKind;
using ui::Id;

const ui::ControlTemplate kControls[] = {
    {Id(Cancel), ControlKind::PushButton, ui::kWsTabStop, SJ("ｷｬﾝｾﾙ"), 81, 194, 50, 14},
    {ui::kNoId, ControlKind::Static, 0, SJ("ｱﾝｲﾝｽﾄｰﾙ作業中..."), 4, 10, 128, 9},
    {ui::kNoId, ControlKind::Static, 0, SJ("進行状況"), 2, 169, 28, 8},
    {Id(OverallBar), ControlKind::ProgressBar, ui::kWsBorder, {}, 2, 177, 132, 10},
};

}  // namespace

const ui::DialogTemplate kUninstallProgressDialog{205, kPageStyle, 0, 138, 214, kControls};

}  // namespace pages
