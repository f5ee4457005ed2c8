#include "pages/welcome_page.h"

#include "install/file_status.h"
#include "platform/process_launch.h"
#include "support/cp932_literal.h"
#include "support/format.h"
#include "support/shown_texts.h"

namespace pages {
namespace {

using ui::ControlKind;

const ui::ControlTemplate kControls[] = {
    {1001, ControlKind::DefaultPushButton, ui::kWsTabStop, SJ("ｱﾝｲﾝｽﾄｰﾙ"), 70, 36, 59, 14},
    {57665, ControlKind::PushButton, ui::kWsTabStop, SJ("DirectXのｲﾝｽﾄｰﾙ"), 72, 136, 59, 14},
    {2, ControlKind::PushButton, ui::kWsTabStop, SJ("ｷｬﾝｾﾙ"), 81, 194, 50, 14},
    {1000, ControlKind::PushButton, ui::kWsTabStop, SJ("ｹﾞｰﾑの起動"), 26, 194, 50, 14},
    {50, ControlKind::Static, 0, SJ("DirectX8.0a以上がｲﾝｽﾄ-ﾙされていない方は先にｲﾝｽﾄｰﾙしてください。"), 6, 114, 122, 19},
    {-1, ControlKind::GroupBox, 0, {}, 2, 2, 132, 186},
    {-1, ControlKind::EtchedLine, 0, {}, 4, 108, 128, 1},
    {51, ControlKind::Static, 0, SJ("\"%s\"ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑへようこそ"), 6, 11, 122, 19},
    {-1, ControlKind::Static, 0, SJ("Program Version 2.05"), 66, 174, 64, 10},
};

}  // namespace

const ui::DialogTemplate kWelcomeDialog{201, ui::kWsChild | ui::kDsControl | ui::kDsSetFont, 0, 138, 214, kControls};

void WelcomePage::Refresh() {
    installed = context_.services.registry.KeyExists(context_.registryKeyPath);
    // Formatted once: a second pass would read a "%" of the title as a format.
    if (!welcomeFormatted_) {
        ws_.SetText(window, 51, support::formatText(ws_.GetText(window, 51), context_.setupData->title));
        welcomeFormatted_ = true;
    }
    ws_.Enable(window, 1000, installed);
    ws_.SetText(window, 1001, std::string(installed ? support::texts::kUninstallButton : support::texts::kInstallButton));
    ws_.SetFocus(ws_.Control(window, 1001));
    install::FileStatus status;
    const std::string dxsetup = context_.sourceFolder + context_.setupData->directXFolder + "dxsetup.exe";
    if (!install::QueryFileStatus(context_.services.files, dxsetup, status)) ws_.Enable(window, 57665, false);
}

bool WelcomePage::OnInitDialog(ui::WindowHandle dialog) {
    window = dialog;
    Refresh();
    return true;
}

bool WelcomePage::OnCommand(ui::WindowHandle, int id) {
    switch (id) {
        case 2: pendingCommand = 2; return true;
        case 1000: pendingCommand = 1; return true;
        case 1001: pendingCommand = installed ? 4 : 3; return true;
        case 57665: RunDirectXSetup(); return true;
        default: return false;
    }
}

void WelcomePage::RunDirectXSetup() {
    const std::string folder = context_.sourceFolder + context_.setupData->directXFolder;
    platform::ProcessLaunch launch(context_.services.processes, folder + "dxsetup.exe", folder);
    if (!launch.started)
        ws_.ShowMessageBox(owner, std::string(support::texts::kDirectXFailed),
                           std::string(support::texts::kDirectXCaption), ui::kMbOk | ui::kMbIconInformation);
}

}  // namespace pages
