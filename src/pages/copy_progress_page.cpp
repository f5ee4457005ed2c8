#include "pages/copy_progress_page.h"

#include "support/cp932_literal.h"

namespace pages {
namespace {

using enum CopyProgressControl;
using ui::ControlKind;
using ui::Id;

const ui::ControlTemplate kControls[] = {
    {Id(Cancel), ControlKind::PushButton, ui::kWsTabStop, SJ("ｷｬﾝｾﾙ"), 81, 194, 50, 14},
    {Id(Heading), ControlKind::Static, 0, SJ("ファイルの転送"), 4, 10, 128, 130},
    {Id(Status), ControlKind::Static, 0, SJ("てすと"), 2, 147, 132, 8},
    {Id(FileBar), ControlKind::ProgressBar, ui::kWsBorder, {}, 2, 155, 132, 10},
    {ui::kNoId, ControlKind::Static, 0, SJ("進行状況"), 2, 169, 28, 8},
    {Id(OverallBar), ControlKind::ProgressBar, ui::kWsBorder, {}, 2, 177, 132, 10},
};

}  // namespace

const ui::DialogTemplate kCopyProgressDialog{203, kPageStyle, 0, 138, 214, kControls};

void CopyProgressPage::ShowStage(std::string_view heading, bool cancellable) {
    ws_.SetText(window, Id(Heading), std::string(heading));
    ws_.Enable(window, Id(Cancel), cancellable);
}

install::ProgressPage CopyProgressPage::JobView() {
    return {window, &pendingCommand, Id(OverallBar), Id(FileBar), Id(Status)};
}

}  // namespace pages
