// Setup.exe: builds the context from the folder the setup was started in, then runs the setup
// on the real window system. The command line is not read.
#include "app/dialog_face.h"
#include "app/startup.h"
#include "os/services.h"
#include "os/shell.h"
#include "os/win32/system_library.h"
#include "pages/shown_texts.h"
#include "setupdata/setup_context.h"
#include "ui/win32/font_catalog.h"
#include "ui/win32/win32_window_system.h"

namespace {

class ErrorBox : public setupdata::StartupErrorBox {
public:
    void Show(const std::string& text) override { ui::win32::ShowStartupError(text); }
};

}  // namespace

int main() {
    // Before anything can load a DLL: none may come from the medium's folder or the current one.
    os::win32::RestrictDllSearch();
    // The context comes first, so its error box stands before any window; the setup goes on
    // after it with whatever was read.
    ErrorBox errorBox;
    setupdata::SetupContext context(os::SystemServices(), errorBox);
    std::u16string face;
    {
        ui::win32::SystemFontCatalog fonts;
        face = app::ChooseDialogFace(fonts, app::CharactersOf(pages::ShownTexts(*context.setupData))).face;
    }
    os::InitializeProcess();
    ui::win32::InitializeCommonControls();
    int exitCode;
    {
        ui::win32::Win32WindowSystem windows;
        if (face != app::kNamedFace) windows.SetDialogFace(std::wstring(face.begin(), face.end()));
        exitCode = app::RunSetup(context, windows);
    }
    os::TerminateProcess();
    return exitCode;
}
