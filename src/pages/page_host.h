#pragma once
// Dialog 129: the banner on the left, one of the five pages on the right, and the controller that
// moves between them.
#include <cstdint>
#include <memory>

#include "install/install_job.h"
#include "uninstall/uninstall_job.h"

#include "pages/install_settings_page.h"
#include "pages/page.h"
#include "pages/welcome_page.h"

namespace pages {

extern const ui::DialogTemplate kPageHostDialog;

enum PageState : std::int32_t { kWelcome = 0, kInstallSettings = 1, kCopying = 2, kUninstallSettings = 3, kUninstalling = 4 };

class PageHost : public ui::DialogHandler {
public:
    PageHost(ui::WindowSystem& ws, setupdata::SetupContext& context);

    bool OnInitDialog(ui::WindowHandle dialog) override;
    bool OnCommand(ui::WindowHandle, int) override { return false; }

    // One run of the controller; called when the loop goes idle.
    int Step();
    void ReturnToWelcome();

    // The five pages in creation order.
    Page* PageAt(int index);
    // The main window is going: a running install is taken back as after a confirmed cancel.
    void OnMainWindowDestroyed();

    ui::WindowHandle window = nullptr;
    ui::Rect pageArea;
    std::int32_t currentPage = kWelcome;
    WelcomePage welcome;
    InstallSettingsPage installSettings;
    ReportingPage copyProgress;
    ReportingPage uninstallSettings;
    ReportingPage uninstallProgress;
    std::unique_ptr<install::InstallJob> installJob;
    std::unique_ptr<uninstall::UninstallJob> uninstallJob;

private:
    void ShowPage(Page& from, Page& to, PageState state);
    void StartGame();
    void StartInstall();
    void RunInstallStep();
    void UndoAndReturn();
    void StartUninstall();
    void WakeForJob();
    void RunUninstallStep();
    void DropJobsForClose();
    install::ProgressPage copyPage() { return {copyProgress.window, &copyProgress.pendingCommand}; }
    install::ProgressPage uninstallPage() { return {uninstallProgress.window, &uninstallProgress.pendingCommand}; }
    // A box of the controller: owned by the host, captioned like the main window.
    int Box(std::string_view text, std::uint32_t flags);

    ui::WindowSystem& ws_;
    setupdata::SetupContext& context_;
    bool stepping_ = false;
    bool closing_ = false;
};

}  // namespace pages
