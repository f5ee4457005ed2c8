#pragma once
// Dialog 201: greets the player, offers install or uninstall, starts the game or DirectX.
#include "pages/page.h"

namespace pages {

enum class WelcomeControl : int {
    Cancel = ui::kIdCancel,
    DirectXNotice = 50,
    Greeting = 51,  // formatted with the title
    StartGame = 1000,
    InstallOrUninstall = 1001,
    DirectXSetup = 57665,
};
extern const ui::DialogTemplate kWelcomeDialog;

// What the welcome page leaves for the controller.
enum class WelcomeCommand : std::int32_t { None = 0, StartGame = 1, Close = 2, Install = 3, Uninstall = 4 };

class WelcomePage : public Page {
public:
    WelcomePage(ui::WindowSystem& ws, setupdata::SetupContext& context) : Page(ws, context, kWelcomeDialog) {}

    // Re-reads the installed state and updates texts, enabling and focus.
    void Refresh();
    WelcomeCommand TakeCommand() { return static_cast<WelcomeCommand>(TakeCode()); }
    bool OnInitDialog(ui::WindowHandle dialog) override;
    bool OnCommand(ui::WindowHandle dialog, int id) override;

    bool installed = false;

private:
    void RunDirectXSetup();
    bool welcomeFormatted_ = false;
};

}  // namespace pages
