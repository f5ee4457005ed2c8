#pragma once
// What the shell, the pages and the controller need of a window system, and nothing more.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ui/dialog_template.h"
#include "ui/message.h"

namespace ui {

struct Rect {
    long left = 0, top = 0, right = 0, bottom = 0;
    long width() const { return right - left; }
    long height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

struct Size {
    long width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

// A dialog's code: the window system calls it from message dispatch.
class DialogHandler {
public:
    virtual ~DialogHandler() = default;
    // WM_INITDIALOG; true lets the system place the default focus.
    virtual bool OnInitDialog(WindowHandle dialog) = 0;
    // WM_COMMAND from control `id`; true when handled.
    virtual bool OnCommand(WindowHandle dialog, int id) = 0;
};

class MainWindowHandler {
public:
    virtual ~MainWindowHandler() = default;
    // WM_CREATE; false makes the creation fail.
    virtual bool OnCreate(WindowHandle window) = 0;
    virtual void OnDestroy(WindowHandle window) = 0;
    // WM_SIZE other than a minimisation: the new client size.
    virtual void OnSize(WindowHandle window, long width, long height) = 0;
};

// Message-box flags and answers, with their Win32 values.
enum : std::uint32_t {
    kMbOk = 0x00000000,
    kMbYesNo = 0x00000004,
    kMbIconError = 0x00000010,
    kMbIconQuestion = 0x00000020,
    kMbIconWarning = 0x00000030,
    kMbIconInformation = 0x00000040,
};
enum : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// The shell's folder chooser: cancelled, a folder with a file-system path, or an item without one.
struct FolderChoice {
    enum class Outcome { Cancelled, Chosen, NoPath } outcome = Outcome::Cancelled;
    std::string path;  // CP932, with Chosen
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Windows. The main window has the given caption; creation runs handler.OnCreate.
    virtual WindowHandle CreateMainWindow(MainWindowHandler& handler, const std::string& caption) = 0;
    // A modeless child dialog, hidden unless its template says visible; runs OnInitDialog.
    virtual WindowHandle CreateDialogWindow(const DialogTemplate& dialog, WindowHandle parent,
                                            DialogHandler& handler) = 0;
    virtual void DestroyWindow(WindowHandle window) = 0;
    virtual void ShowWindow(WindowHandle window, bool show) = 0;
    virtual bool IsVisible(WindowHandle window) = 0;
    virtual WindowHandle ParentOf(WindowHandle window) = 0;
    virtual void RemoveMenu(WindowHandle window) = 0;
    virtual void SetCaption(WindowHandle window, const std::string& text) = 0;
    virtual std::string GetCaption(WindowHandle window) = 0;
    virtual Rect WindowRect(WindowHandle window) = 0;  // screen coordinates
    virtual Rect ClientRect(WindowHandle window) = 0;  // origin 0, 0
    virtual void SetWindowPos(WindowHandle window, long x, long y, long cx, long cy, bool move, bool size) = 0;
    virtual void MoveWindow(WindowHandle window, const Rect& rect) = 0;  // in the parent's client area, repainted
    virtual Rect WorkArea() = 0;

    // Controls of a dialog, by id.
    virtual WindowHandle Control(WindowHandle dialog, int id) = 0;
    virtual void SetText(WindowHandle dialog, int id, const std::string& text) = 0;
    virtual std::string GetText(WindowHandle dialog, int id) = 0;
    virtual void Enable(WindowHandle dialog, int id, bool enable) = 0;
    virtual bool GetCheck(WindowHandle dialog, int id) = 0;
    virtual void SetCheck(WindowHandle dialog, int id, bool checked) = 0;
    virtual void SetFocus(WindowHandle window) = 0;
    virtual void SetBannerImage(WindowHandle dialog, int id, void* bitmap) = 0;

    // Layout at the display's DPI. Dots per inch the dialogs are laid out at: 96 at 100%.
    virtual int DisplayDpi() = 0;
    // The pixels that `cx` by `cy` dialog units of the dialog take at 96 dots per inch in its face,
    // what a picture made for 100% is made for.
    virtual Size SizeAt96Dpi(WindowHandle dialog, short cx, short cy) = 0;
    // A dialog's control by its place in the template; null past the end.
    virtual WindowHandle ControlAt(WindowHandle dialog, std::size_t index) = 0;
    // Where a control stands in its dialog's client area.
    virtual Rect PlaceOf(WindowHandle control) = 0;
    // The extent of a static control's text drawn as the control draws it, in its font, broken into
    // lines no wider than `width` where it can be.
    virtual Size TextExtent(WindowHandle control, long width) = 0;
    // Progress bars.
    virtual void SetProgressRange(WindowHandle dialog, int id, std::uint32_t max) = 0;
    virtual void SetProgressStep(WindowHandle dialog, int id, int step) = 0;
    virtual void SetProgressPos(WindowHandle dialog, int id, std::uint32_t pos) = 0;
    virtual void StepProgress(WindowHandle dialog, int id) = 0;

    // Modal boxes.
    virtual int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                               std::uint32_t flags) = 0;
    virtual FolderChoice BrowseForFolder(WindowHandle owner, const std::string& title,
                                         const std::string& initialPath) = 0;

    // The queue. Names keep clear of the Win32 macros (MessageBox, GetMessage, ...).
    virtual bool PeekQueue(Message& message, bool remove) = 0;
    // 1 a message, 0 the quit message, -1 an error.
    virtual int NextMessage(Message& message) = 0;
    virtual void TranslateAndDispatch(const Message& message) = 0;
    virtual bool RouteDialogMessage(WindowHandle dialog, const Message& message) = 0;
    virtual bool TranslateAccelerators(WindowHandle window, const Message& message) = 0;
    virtual void PostClose(WindowHandle window) = 0;
    // Posts a message that does nothing but let the loop go idle once more.
    virtual void PostWake(WindowHandle window) = 0;
    virtual void PostQuit(int code) = 0;
};

}  // namespace ui
