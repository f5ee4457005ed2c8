#include "pages/welcome_page.h"

#include "install/file_status.h"
#include "platform/process_launch.h"
#include "support/cp932_literal.h"
#include "support/format.h"
#include "support/shown_texts.h"

namespace pages {
namespace {

using enum WelcomeControl;
using ui::ControlKind;
using ui::Id;

const ui::ControlTemplate kControls[] = {
    {Id(InstallOrUninstall), ControlKind::DefaultPushButton, ui::kWsTabStop, SJ("ｱﾝｲﾝｽﾄｰﾙ"), 70, 36, 59, 14},
    {Id(DirectXSetup), ControlKind::PushButton, ui::kWsTabStop, SJ("DirectXのｲﾝｽﾄｰﾙ"), 72, 136, 59, 14},
    {Id(Cancel), ControlKind::PushButton, ui::kWsTabStop, SJ("ｷｬﾝｾﾙ"), 81, 194, 50, 14},
    {Id(StartGame), ControlKind::PushButton, ui::kWsTabStop, SJ("ｹﾞｰﾑの起動"), 26, 194, 50, 14},
    {Id(DirectXNotice), ControlKind::Static, 0, SJ("DirectX8.0a以上がｲﾝｽﾄ-ﾙされていない方は先にｲﾝｽﾄｰﾙしてください。"),
     6, 114, 122, 19},
    {ui::kNoId, ControlKind::GroupBox, 0, {}, 2, 2, 132, 186},
    {ui::kNoId, ControlKind::EtchedLine, 0, {}, 4, 108, 128, 1},
    {Id(Greeting), ControlKind::Static, 0, SJ("\"%s\"ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑへようこそ"), 6, 11, 122, 19},
    {ui::kNoId, ControlKind::Static, 0, SJ("Program Version 2.05"), 66, 174, 64, 10},
};

}  // namespace

const ui::DialogTemplate kWelcomeDialog{201, kPageStyle, 0, 138, 214, kControls};

void WelcomePage::Refresh() {
    installed = context_.services.registry.KeyExists(context_.registryKeyPath);
    // Formatted once: a second pass would read a "%" of the title as a format.
    if (!welcomeFormatted_) {
        ws_.SetText(window, Id(Greeting),
                    support::FormatText(ws_.GetText(window, Id(Greeting)), context_.setupData->title));
        welcomeFormatted_ = true;
    }
    ws_.Enable(window, Id(StartGame), installed);
    ws_.SetText(window, Id(InstallOrUninstall),
                std::string(installed ? support::texts::kUninstallButton : support::texts::kInstallButton));
    ws_.SetFocus(ws_.Control(window, Id(InstallOrUninstall)));
    install::FileStatus status;
    const std::string dxsetup = context_.sourceFolder + context_.setupData->directXFolder + "dxsetup.exe";
    if (!install::QueryFileStatus(context_.services.files, dxsetup, status))
        ws_.Enable(window, Id(DirectXSetup), false);
}

bool WelcomePage::OnInitDialog(ui::WindowHandle dialog) {
    window = dialog;
    Refresh();
    return true;
}

bool WelcomePage::OnCommand(ui::WindowHandle, int id) {
    switch (static_cast<WelcomeControl>(id)) {
        case Cancel: LeaveCommand(WelcomeCommand::Close); return true;
        case StartGame: LeaveCommand(WelcomeCommand::StartGame); return true;
        case InstallOrUninstall:
            LeaveCommand(installed ? WelcomeCommand::Uninstall : WelcomeCommand::Install);
            return true;
        case DirectXSetup: RunDirectXSetup(); return true;
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
