#pragma once
// What every page shares: its window, its owner (the page host) and the command its buttons
// leave for the controller.
#include <cstdint>
#include <type_traits>

#include "setupdata/setup_context.h"
#include "ui/window_system.h"

namespace pages {

// Every page is a child dialog of the host in the same font.
inline constexpr std::uint32_t kPageStyle = ui::kWsChild | ui::kDsControl | ui::kDsSetFont;

// What the settings and progress pages leave for the controller: the standard ids of their OK and
// Cancel buttons (Enter and Esc leave them too).
enum class PageCommand : std::int32_t { None = 0, Ok = ui::kIdOk, Cancel = ui::kIdCancel };

class Page : public ui::DialogHandler {
public:
    Page(ui::WindowSystem& ws, setupdata::SetupContext& context, const ui::DialogTemplate& dialog)
        : ws_(ws), context_(context), dialog_(dialog) {}

    // Records the host as owner and creates the page hidden; null on failure.
    ui::WindowHandle Create(ui::WindowHandle host);
    void PumpMessages();
    // The pending command, reset to none.
    PageCommand TakeCommand() { return static_cast<PageCommand>(TakeCode()); }
    template <typename Command>
    requires std::is_enum_v<Command>
    void LeaveCommand(Command command) { pendingCommand = static_cast<std::int32_t>(command); }

    ui::WindowHandle window = nullptr;
    ui::WindowHandle owner = nullptr;
    // 0: none. A running job reads it through a pointer: any command stops the job.
    std::int32_t pendingCommand = 0;

protected:
    std::int32_t TakeCode();

    ui::WindowSystem& ws_;
    setupdata::SetupContext& context_;
    const ui::DialogTemplate& dialog_;
};

// A page whose buttons do nothing but leave their command: OK when the page has one, and Cancel.
class StandardButtonsPage : public Page {
public:
    StandardButtonsPage(ui::WindowSystem& ws, setupdata::SetupContext& context, const ui::DialogTemplate& dialog,
                        bool hasOk)
        : Page(ws, context, dialog), hasOk_(hasOk) {}
    bool OnInitDialog(ui::WindowHandle) override { return true; }
    bool OnCommand(ui::WindowHandle dialog, int id) override;

private:
    bool hasOk_;
};

}  // namespace pages
