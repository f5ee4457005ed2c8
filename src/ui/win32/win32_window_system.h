#pragma once
// The window system on Win32: every call maps onto user32, comctl32 or shell32 through the wide
// API, with texts converted from and to CP932 whatever the system's ANSI code page is.
#include <map>
#include <string>

#include "ui/window_system.h"

namespace ui::win32 {

// The main window's class, fixed so that a test driver can find the window.
inline constexpr wchar_t kMainWindowClass[] = L"GameSetupMainWindow";

// The progress bar's class must be registered before a page holding one is created.
void InitializeCommonControls();

// The box shown before any window exists: no owner, the system's caption, error icon, OK.
void ShowStartupError(const std::string& text);

class Win32WindowSystem : public WindowSystem {
public:
    Win32WindowSystem();
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    // The face every dialog made from now on takes at 9 points instead of the named one.
    void SetDialogFace(std::wstring face) { dialogFace_ = std::move(face); }

    WindowHandle CreateMainWindow(MainWindowHandler& handler, const std::string& caption) override;
    WindowHandle CreateDialogWindow(const DialogTemplate& dialog, WindowHandle parent, DialogHandler& handler) override;
    void DestroyWindow(WindowHandle window) override;
    void ShowWindow(WindowHandle window, bool show) override;
    bool IsVisible(WindowHandle window) override;
    WindowHandle ParentOf(WindowHandle window) override;
    void RemoveMenu(WindowHandle window) override;
    void SetCaption(WindowHandle window, const std::string& text) override;
    std::string GetCaption(WindowHandle window) override;
    Rect WindowRect(WindowHandle window) override;
    Rect ClientRect(WindowHandle window) override;
    void SetWindowPos(WindowHandle window, long x, long y, long cx, long cy, bool move, bool size) override;
    void MoveWindow(WindowHandle window, const Rect& rect) override;
    Rect WorkArea() override;

    WindowHandle Control(WindowHandle dialog, int id) override;
    void SetText(WindowHandle dialog, int id, const std::string& text) override;
    std::string GetText(WindowHandle dialog, int id) override;
    void Enable(WindowHandle dialog, int id, bool enable) override;
    bool GetCheck(WindowHandle dialog, int id) override;
    void SetCheck(WindowHandle dialog, int id, bool checked) override;
    void SetFocus(WindowHandle window) override;
    void SetBannerImage(WindowHandle dialog, int id, void* bitmap) override;
    int DisplayDpi() override;
    Size SizeAt96Dpi(WindowHandle dialog, short cx, short cy) override;
    WindowHandle ControlAt(WindowHandle dialog, std::size_t index) override;
    Rect PlaceOf(WindowHandle control) override;
    Size TextExtent(WindowHandle control, long width) override;
    void SetProgressRange(WindowHandle dialog, int id, std::uint32_t max) override;
    void SetProgressStep(WindowHandle dialog, int id, int step) override;
    void SetProgressPos(WindowHandle dialog, int id, std::uint32_t pos) override;
    void StepProgress(WindowHandle dialog, int id) override;

    int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                       std::uint32_t flags) override;
    FolderChoice BrowseForFolder(WindowHandle owner, const std::string& title, const std::string& initialPath) override;

    bool PeekQueue(Message& message, bool remove) override;
    int NextMessage(Message& message) override;
    void TranslateAndDispatch(const Message& message) override;
    bool RouteDialogMessage(WindowHandle dialog, const Message& message) override;
    bool TranslateAccelerators(WindowHandle window, const Message& message) override;
    void PostClose(WindowHandle window) override;
    void PostWake(WindowHandle window) override;
    void PostQuit(int code) override;

private:
    // To a page's progress bar, looked up once: a lookup would be one more request to Wine's
    // server at every chunk.
    void SendToProgressBar(WindowHandle dialog, int id, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    void* instance_;      // HINSTANCE of the executable, whose resources the main window uses
    void* accelerators_;  // HACCEL of table 128; null where the module has none
    bool mainWindowShown_ = false;
    std::wstring dialogFace_;                                     // empty: the named face
    std::map<std::pair<WindowHandle, int>, void*> progressBars_;  // emptied whenever a window goes
};

}  // namespace ui::win32
