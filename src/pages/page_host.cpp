#include "pages/page_host.h"

#include "install/installed_record.h"
#include "pages/display_scale.h"
#include "platform/process_launch.h"
#include "support/cp932.h"
#include "support/cp932_literal.h"
#include "support/shown_texts.h"
#include "uninstall/undo_install.h"

namespace pages {
namespace {

const ui::ControlTemplate kControls[] = {
    {ui::Id(PageHostControl::Banner),
     ui::ControlKind::BitmapStatic,
     ui::kSsCenterImage | ui::kSsRealSizeImage,
     {},
     0,
     0,
     138,
     214},
};

}  // namespace

const ui::DialogTemplate kPageHostDialog{
    129, ui::kWsChild | ui::kWsVisible | ui::kDsSetFont, ui::kWsExClientEdge, 275, 214, kControls};

PageHost::PageHost(ui::WindowSystem& ws, setupdata::SetupContext& context)
    : welcome(ws, context),
      installSettings(ws, context),
      copyProgress(ws, context),
      uninstallSettings(ws, context),
      uninstallProgress(ws, context),
      ws_(ws),
      context_(context) {}

Page* PageHost::PageAt(int index) {
    Page* all[] = {&welcome, &installSettings, &copyProgress, &uninstallSettings, &uninstallProgress};
    return index >= 0 && index < kPageCount ? all[index] : nullptr;
}

bool PageHost::OnInitDialog(ui::WindowHandle dialog) {
    window = dialog;
    const int banner = ui::Id(PageHostControl::Banner);
    ScaleBannerToDisplay();
    ws_.SetBannerImage(window, banner, context_.banner ? context_.banner->Handle() : nullptr);
    // The pages start where the banner control ends, whatever the bitmap's own size.
    ui::Rect client = ws_.ClientRect(window);
    pageArea = {ws_.WindowRect(ws_.Control(window, banner)).width(), 0, client.right, client.bottom};
    for (int i = 0; i < kPageCount; ++i) {
        Page& page = *PageAt(i);
        if (!page.Create(window)) {
            ws_.DestroyWindow(page.window);
            return false;
        }
        ws_.MoveWindow(page.window, pageArea);
    }
    currentPage = PageState::Welcome;
    ws_.ShowWindow(welcome.window, true);
    ws_.SetFocus(welcome.window);
    return false;
}

// Once, before the banner is shown: the control draws its bitmap at the bitmap's own size.
void PageHost::ScaleBannerToDisplay() {
    os::Bitmap* bitmap = context_.banner.get();
    if (!bitmap || !bitmap->Handle()) return;
    const ui::ControlTemplate& control = kControls[0];
    const ui::Rect now = ws_.ClientRect(ws_.Control(window, control.id));
    const ui::Size own{bitmap->Width(), bitmap->Height()};
    const ui::Size size =
        BannerSize(own, ws_.SizeAt96Dpi(window, control.cx, control.cy), {now.width(), now.height()}, ws_.DisplayDpi());
    if (size == own) return;
    // A copy that could not be made leaves the picture at its own size.
    if (auto scaled = bitmap->Scaled(size.width, size.height); scaled->Handle()) context_.banner = std::move(scaled);
}

void PageHost::ShowPage(Page& from, Page& to, PageState state) {
    ws_.ShowWindow(from.window, false);
    ws_.ShowWindow(to.window, true);
    ws_.SetFocus(to.window);
    currentPage = state;
}

// The controller runs when the loop goes idle after a message, and neither a page change nor a
// closed box need leave one: without this a job would wait for the player's next key or click.
void PageHost::WakeForJob() { ws_.PostWake(ws_.ParentOf(window)); }

int PageHost::Box(std::string_view text, std::uint32_t flags) {
    return ws_.ShowMessageBox(window, std::string(text), ws_.GetCaption(ws_.ParentOf(window)), flags);
}

void PageHost::StartGame() {
    std::string folder = install::InstalledFolder(context_);
    // A key without a usable folder would start a program at the root of some drive.
    bool started = false;
    if (!folder.empty()) {
        folder = support::WithTrailingBackslash(folder);
        started = platform::ProcessLaunch(context_.services.processes, folder + context_.setupData->executable, folder)
                      .started;
    }
    if (started)
        ws_.PostClose(ws_.ParentOf(window));
    else
        Box(support::texts::kGameFailed, ui::kMbOk | ui::kMbIconError);
}

void PageHost::StartInstall() {
    install::InstallOptions options;
    install::InstallChoices choices{window, installSettings.window, installSettings.SelectedInstallType(),
                                    installSettings.AddToStartMenu(), installSettings.AddDesktopShortcut()};
    if (!install::ValidateInstall(ws_, context_, choices, options)) return;
    ws_.ShowWindow(installSettings.window, false);
    copyProgress.LeaveCommand(PageCommand::None);  // a Cancel no earlier job took is not this job's
    installJob = std::make_unique<install::InstallJob>(ws_, context_, options);
    installJob->PrepareInstall(copyProgress.JobView());
    copyProgress.ShowStage(support::texts::kTransferring, true);
    ws_.ShowWindow(copyProgress.window, true);
    ws_.SetFocus(copyProgress.window);
    currentPage = PageState::Copying;
    WakeForJob();
}

void PageHost::UndoAndReturn() {
    copyProgress.ShowStage(support::texts::kRemovingInstalled, false);
    uninstall::UndoInstall(context_, *installJob);
    ReturnToWelcome();
}

void PageHost::RunInstallStep() {
    install::InstallResult result = installJob->RunInstall(copyProgress.JobView());
    if (closing_) return;  // the window went while the job drained the queue: Step takes it back
    if (result == install::Succeeded) {
        Box(support::texts::kInstallDone, ui::kMbOk | ui::kMbIconInformation);
        ReturnToWelcome();
    } else if (result == install::Failed) {
        Box(support::texts::kInstallFailed, ui::kMbOk | ui::kMbIconError);
        UndoAndReturn();
    } else if (result == install::Cancelled) {
        if (Box(support::texts::kCancelSetupQuestion, ui::kMbYesNo | ui::kMbIconWarning) != ui::kIdNo)
            UndoAndReturn();
        else
            WakeForJob();
    }
}

void PageHost::StartUninstall() {
    ws_.ShowWindow(uninstallSettings.window, false);
    const bool keepSaveFiles = uninstallSettings.KeepSaveFiles();
    std::unique_ptr<uninstall::UninstallJob> job;
    try {
        job = std::make_unique<uninstall::UninstallJob>(ws_, context_, uninstallProgress.JobView(), keepSaveFiles);
    } catch (const uninstall::NoUninstallPlan&) {
        // Nothing is removed from any folder. The unusable record goes, so the welcome page offers
        // the install again, and that install writes a sound record.
        Box(support::texts::kNoUninstallPlan, ui::kMbOk | ui::kMbIconError);
        context_.services.registry.DeleteKey(context_.registryKeyPath);
        ReturnToWelcome();
        return;
    }
    uninstallJob.reset();
    uninstallJob = std::move(job);
    uninstallProgress.LeaveCommand(PageCommand::None);  // a Cancel no earlier job took is not this job's
    ws_.ShowWindow(uninstallProgress.window, true);
    ws_.SetFocus(uninstallProgress.window);
    currentPage = PageState::Uninstalling;
    WakeForJob();
}

void PageHost::RunUninstallStep() {
    uninstall::UninstallResult result = uninstallJob->RunUninstall(uninstallProgress.JobView());
    if (closing_) return;  // the window went while the job drained the queue: it stops where it is
    if (result == uninstall::UninstallDone) {
        Box(support::texts::kUninstallDone, ui::kMbOk | ui::kMbIconInformation);
        ReturnToWelcome();
    } else if (Box(support::texts::kCancelUninstallQuestion, ui::kMbYesNo | ui::kMbIconWarning) == ui::kIdYes) {
        ReturnToWelcome();
    } else {
        WakeForJob();
    }
}

void PageHost::OnMainWindowDestroyed() {
    closing_ = true;
    if (!stepping_) {
        DropJobsForClose();
        return;
    }
    // The jobs stop at their next look; the step drops them when it ends.
    if (uninstallJob) uninstallProgress.LeaveCommand(PageCommand::Cancel);
    if (installJob) copyProgress.LeaveCommand(PageCommand::Cancel);
}

void PageHost::DropJobsForClose() {
    // An install that got to its end stays, whatever the window did meanwhile: its record is
    // written, and taking its files back would leave a record of a game that is gone.
    if (installJob && installJob->phase != install::Finished) uninstall::UndoInstall(context_, *installJob);
    installJob.reset();
    uninstallJob.reset();  // stops where it is
}

int PageHost::Step() {
    if (closing_) return 0;
    stepping_ = true;
    switch (currentPage) {
        case PageState::Welcome: {
            welcome.PumpMessages();
            switch (welcome.TakeCommand()) {
                case WelcomeCommand::StartGame: StartGame(); break;
                case WelcomeCommand::Close: ReturnToWelcome(); break;
                case WelcomeCommand::Install: ShowPage(welcome, installSettings, PageState::InstallSettings); break;
                case WelcomeCommand::Uninstall:
                    ShowPage(welcome, uninstallSettings, PageState::UninstallSettings);
                    break;
                default: break;
            }
            break;
        }
        case PageState::InstallSettings: {
            installSettings.PumpMessages();
            switch (installSettings.TakeCommand()) {
                case PageCommand::Ok: StartInstall(); break;
                case PageCommand::Cancel: ReturnToWelcome(); break;
                default: break;
            }
            break;
        }
        case PageState::Copying:
            if (installJob) RunInstallStep();
            break;
        case PageState::UninstallSettings: {
            uninstallSettings.PumpMessages();
            switch (uninstallSettings.TakeCommand()) {
                case PageCommand::Ok: StartUninstall(); break;
                case PageCommand::Cancel: ReturnToWelcome(); break;
                default: break;
            }
            break;
        }
        case PageState::Uninstalling:
            if (uninstallJob) RunUninstallStep();
            break;
    }
    stepping_ = false;
    if (closing_) DropJobsForClose();
    return 0;
}

void PageHost::ReturnToWelcome() {
    if (currentPage == PageState::Welcome) {
        ws_.PostClose(ws_.ParentOf(window));
        return;
    }
    Page* leaving = PageAt(static_cast<int>(currentPage));
    if (!leaving) return;
    ws_.ShowWindow(leaving->window, false);
    if (currentPage == PageState::Copying) installJob.reset();
    if (currentPage == PageState::Uninstalling) uninstallJob.reset();
    welcome.Refresh();
    ws_.ShowWindow(welcome.window, true);
    currentPage = PageState::Welcome;
}

}  // namespace pages
