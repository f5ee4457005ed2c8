#include "pages/install_settings_page.h"

#include "platform/choose_folder.h"
#include "platform/disk_free_space.h"
#include "platform/size_text.h"
#include "support/cp932_literal.h"
#include "support/format.h"
#include "support/shown_texts.h"
#include "support/system_text.h"

namespace pages {
namespace {

using enum InstallSettingsControl;
using ui::ControlKind;
using ui::Id;
constexpr std::uint32_t kGroupStop = ui::kWsGroup | ui::kWsTabStop;

const ui::ControlTemplate kControls[] = {
    {Id(Install), ControlKind::PushButton, ui::kWsTabStop, SJ("ｲﾝｽﾄｰﾙ"), 28, 194, 50, 14},
    {Id(Cancel), ControlKind::PushButton, ui::kWsTabStop, SJ("ｷｬﾝｾﾙ"), 83, 194, 50, 14},
    {Id(Browse), ControlKind::PushButton, kGroupStop, SJ("参照"), 80, 54, 50, 14},
    {Id(VoicelessInstall), ControlKind::RadioButton, kGroupStop, SJ("音声なしｲﾝｽﾄｰﾙ　（約 %sﾊﾞｲﾄ）"), 6, 88, 122, 11},
    {Id(FullInstall), ControlKind::RadioButton, 0, SJ("ﾌﾙｲﾝｽﾄｰﾙ　　　　 （約 %sﾊﾞｲﾄ）"), 6, 102, 122, 11},
    {Id(StartMenu), ControlKind::CheckBox, kGroupStop, SJ("ｽﾀｰﾄﾒﾆｭｰへ登録"), 6, 126, 68, 10},
    {Id(DesktopShortcut), ControlKind::CheckBox, kGroupStop, SJ("ﾃﾞｽｸﾄｯﾌﾟへｼｮｰﾄｶｯﾄを作成"), 6, 140, 94, 10},
    {Id(InstallFolder), ControlKind::Edit, ui::kEsReadOnly | ui::kEsAutoHScroll | ui::kWsBorder, {}, 5, 26, 126, 12},
    {ui::kNoId, ControlKind::Static, 0, SJ("ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞ"), 5, 16, 57, 8},
    {ui::kNoId, ControlKind::Static, 0, SJ("ｾｯﾄｱｯﾌﾟ ﾀｲﾌﾟ"), 6, 78, 41, 8},
    {ui::kNoId, ControlKind::GroupBox, 0, SJ("ｲﾝｽﾄｰﾙの設定"), 2, 2, 132, 186},
    {ui::kNoId, ControlKind::EtchedLine, 0, {}, 4, 72, 128, 1},
    {ui::kNoId, ControlKind::EtchedLine, 0, {}, 4, 118, 128, 1},
    {ui::kNoId, ControlKind::Static, 0, SJ("空きﾃﾞｨｽｸ容量"), 6, 42, 44, 8},
    {Id(FreeSpace), ControlKind::Static, ui::kSsCenter, SJ("スタティック"), 52, 42, 78, 8},
};

}  // namespace

const ui::DialogTemplate kInstallSettingsDialog{202, kPageStyle, 0, 138, 214, kControls};

bool InstallSettingsPage::OnInitDialog(ui::WindowHandle dialog) {
    window = dialog;
    ShowInstallFolder();
    ws_.SetCheck(window, Id(FullInstall), true);
    for (int type = 0; type < 2; ++type) {
        int id = Id(kInstallTypeControls[type]);
        ws_.SetText(window, id, support::FormatText(ws_.GetText(window, id), platform::SizeText(context_, type)));
    }
    ws_.SetCheck(window, Id(StartMenu), true);
    ws_.SetCheck(window, Id(DesktopShortcut), true);
    return true;
}

bool InstallSettingsPage::OnCommand(ui::WindowHandle, int id) {
    if (id == Id(Install) || id == Id(Cancel)) {
        LeaveCommand(static_cast<PageCommand>(id));
        return true;
    }
    if (id == Id(Browse)) {
        ChooseInstallRoot();
        return true;
    }
    return false;
}

void InstallSettingsPage::ChooseInstallRoot() {
    platform::FolderAnswer answer = platform::ChooseFolder(ws_, window, std::string(support::texts::kChooserTitle),
                                                           context_.installFolderPath(false));
    // The game is an 8-bit program that finds its folder through its profile: a folder CP932
    // cannot spell is one it could never open.
    if (!answer.succeeded || !support::SpellsInCp932(answer.path)) {
        ws_.ShowMessageBox(owner, std::string(support::texts::kChooserFailed),
                           std::string(support::texts::kChooserErrorCaption), ui::kMbOk | ui::kMbIconWarning);
        return;
    }
    context_.installRoot = answer.path;
    ShowInstallFolder();
}

// The folder and the free space at its root move together.
void InstallSettingsPage::ShowInstallFolder() {
    ws_.SetText(window, Id(InstallFolder), context_.installFolderPath(true));
    ws_.SetText(window, Id(FreeSpace), platform::InstallRootFreeSpaceText(context_));
}

int InstallSettingsPage::SelectedInstallType() {
    for (int type = 0; type < 2; ++type)
        if (ws_.GetCheck(window, Id(kInstallTypeControls[type]))) return type;
    return -1;
}

bool InstallSettingsPage::AddToStartMenu() { return ws_.GetCheck(window, Id(StartMenu)); }
bool InstallSettingsPage::AddDesktopShortcut() { return ws_.GetCheck(window, Id(DesktopShortcut)); }

}  // namespace pages
