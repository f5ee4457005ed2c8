#include "pages/page_host.h"

#include "install/installed_record.h"
#include "platform/process_launch.h"
#include "support/cp932.h"
#include "support/cp932_literal.h"

namespace pages {
namespace {

const ui::ControlTemplate kControls[] = {
    {551, ui::ControlKind::BitmapStatic, ui::kSsCenterImage | ui::kSsRealSizeImage, {}, 0, 0, 138, 214},
};

}  // namespace

const ui::DialogTemplate kPageHostDialog{129, ui::kWsChild | ui::kWsVisible | ui::kDsSetFont, ui::kWsExClientEdge, 275,
                                         214, kControls};

PageHost::PageHost(ui::WindowSystem& ws, setupdata::SetupContext& context)
    : welcome(ws, context),
      installSettings(ws, context),
      copyProgress(ws, context, kCopyProgressDialog, {2}),
      uninstallSettings(ws, context, kUninstallSettingsDialog, {1, 2}),
      uninstallProgress(ws, context, kUninstallProgressDialog, {2}),
      ws_(ws),
      context_(context) {}

Page* PageHost::PageAt(int index) {
    Page* all[] = {&welcome, &installSettings, &copyProgress, &uninstallSettings, &uninstallProgress};
    return index >= 0 && index < 5 ? all[index] : nullptr;
}

bool PageHost::OnInitDialog(ui::WindowHandle dialog) {
    window = dialog;
    ws_.SetBannerImage(window, 551, context_.banner ? context_.banner->Handle() : nullptr);
    // The pages start where the banner control ends, whatever the bitmap's own size.
    ui::Rect client = ws_.ClientRect(window);
    pageArea = {ws_.WindowRect(ws_.Control(window, 551)).width(), 0, client.right, client.bottom};
    for (int i = 0; i < 5; ++i) {
        Page& page = *PageAt(i);
        if (!page.Create(window)) {
            ws_.DestroyWindow(page.window);
            return false;
        }
        ws_.MoveWindow(page.window, pageArea);
    }
    currentPage = kWelcome;
    ws_.ShowWindow(welcome.window, true);
    ws_.SetFocus(welcome.window);
    return false;
}

void PageHost::ShowPage(Page& from, Page& to, PageState state) {
    ws_.ShowWindow(from.window, false);
    ws_.ShowWindow(to.window, true);
    ws_.SetFocus(to.window);
    currentPage = state;
}

int PageHost::Box(std::string_view text, std::uint32_t flags) {
    return ws_.ShowMessageBox(window, std::string(text), ws_.GetCaption(ws_.ParentOf(window)), flags);
}

void PageHost::StartGame() {
    std::string folder = install::InstalledFolder(context_);
    // A key without a usable folder would start a program at the root of some drive.
    bool started = false;
    if (!folder.empty()) {
        folder = support::withTrailingBackslash(folder);
        started = platform::ProcessLaunch(context_.services.processes, folder + context_.setupData->executable, folder).started;
    }
    if (started) ws_.PostClose(ws_.ParentOf(window));
    else Box(SJ("ｹﾞｰﾑの実行に失敗しました！"), ui::kMbOk | ui::kMbIconError);
}

int PageHost::Step() {
    switch (currentPage) {
        case kWelcome: {
            welcome.PumpMessages();
            switch (welcome.TakeCommand()) {
                case 1: StartGame(); break;
                case 2: ReturnToWelcome(); break;
                case 3: ShowPage(welcome, installSettings, kInstallSettings); break;
                case 4: ShowPage(welcome, uninstallSettings, kUninstallSettings); break;
                default: break;
            }
            break;
        }
        case kInstallSettings: {
            installSettings.PumpMessages();
            if (installSettings.TakeCommand() == 2) ReturnToWelcome();
            break;
        }
        case kUninstallSettings: {
            uninstallSettings.PumpMessages();
            if (uninstallSettings.TakeCommand() == 2) ReturnToWelcome();
            break;
        }
        default: break;
    }
    return 0;
}

void PageHost::ReturnToWelcome() {
    if (currentPage == kWelcome) {
        ws_.PostClose(ws_.ParentOf(window));
        return;
    }
    Page* leaving = PageAt(currentPage);
    if (!leaving) return;
    ws_.ShowWindow(leaving->window, false);
    welcome.Refresh();
    ws_.ShowWindow(welcome.window, true);
    currentPage = kWelcome;
}

}  // namespace pages
