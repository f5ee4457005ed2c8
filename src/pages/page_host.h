#pragma once
// Dialog 129: the banner on the left, one of the five pages on the right, and the controller that
// moves between them.
#include <cstdint>
#include <memory>

#include "install/install_job.h"
#include "uninstall/uninstall_job.h"

#include "pages/copy_progress_page.h"
#include "pages/install_settings_page.h"
#include "pages/page.h"
#include "pages/uninstall_progress_page.h"
#include "pages/uninstall_settings_page.h"
#include "pages/welcome_page.h"

namespace pages {

enum class PageHostControl : int { Banner = 551 };
extern const ui::DialogTemplate kPageHostDialog;

// The page on show, in the pages' creation order.
enum class PageState : std::int32_t {
    Welcome = 0,
    InstallSettings = 1,
    Copying = 2,
    UninstallSettings = 3,
    Uninstalling = 4
};

class PageHost : public ui::DialogHandler {
public:
    PageHost(ui::WindowSystem& ws, setupdata::SetupContext& context);

    bool OnInitDialog(ui::WindowHandle dialog) override;
    bool OnCommand(ui::WindowHandle, int) override { return false; }

    // One run of the controller; called when the loop goes idle.
    int Step();
    void ReturnToWelcome();

    // The five pages in creation order.
    static constexpr int kPageCount = 5;
    Page* PageAt(int index);
    // The main window is going: a running install is taken back as after a confirmed cancel.
    void OnMainWindowDestroyed();

    ui::WindowHandle window = nullptr;
    ui::Rect pageArea;
    PageState currentPage = PageState::Welcome;
    WelcomePage welcome;
    InstallSettingsPage installSettings;
    CopyProgressPage copyProgress;
    UninstallSettingsPage uninstallSettings;
    UninstallProgressPage uninstallProgress;
    std::unique_ptr<install::InstallJob> installJob;
    std::unique_ptr<uninstall::UninstallJob> uninstallJob;

private:
    void ScaleBannerToDisplay();
    void ShowPage(Page& from, Page& to, PageState state);
    void StartGame();
    void StartInstall();
    void RunInstallStep();
    void UndoAndReturn();
    void StartUninstall();
    void WakeForJob();
    void RunUninstallStep();
    void DropJobsForClose();
    // A box of the controller: owned by the host, captioned like the main window.
    int Box(std::string_view text, std::uint32_t flags);

    ui::WindowSystem& ws_;
    setupdata::SetupContext& context_;
    bool stepping_ = false;
    bool closing_ = false;
};

}  // namespace pages
