#pragma once
// Dialog 201: greets the player, offers install or uninstall, starts the game or DirectX.
#include "pages/page.h"

namespace pages {

extern const ui::DialogTemplate kWelcomeDialog;

class WelcomePage : public Page {
public:
    WelcomePage(ui::WindowSystem& ws, setupdata::SetupContext& context) : Page(ws, context, kWelcomeDialog) {}

    // Re-reads the installed state and updates texts, enabling and focus.
    void Refresh();
    bool OnInitDialog(ui::WindowHandle dialog) override;
    bool OnCommand(ui::WindowHandle dialog, int id) override;

    bool installed = false;

private:
    void RunDirectXSetup();
    bool welcomeFormatted_ = false;
};

}  // namespace pages
