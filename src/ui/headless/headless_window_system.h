#pragma once
// A deterministic, scriptable window system for tests: windows and controls in memory, a message
// queue, and a player who acts whenever the setup has nothing left to do.
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ui/window_system.h"

namespace ui::headless {

struct Window;

// The quit code NextMessage reports when the player has no step left.
inline constexpr int kPlayerDone = 0x7E57;

class HeadlessWindowSystem : public WindowSystem {
public:
    HeadlessWindowSystem();
    ~HeadlessWindowSystem() override;

    // The player: each step runs when the queue is empty and the loop waits for a message.
    using PlayerStep = std::function<void(HeadlessWindowSystem&)>;
    void AddPlayerStep(PlayerStep step);
    // What the player does while a job drains the queue: called whenever a drain finds the queue
    // empty, until it answers true.
    using BusyStep = std::function<bool(HeadlessWindowSystem&)>;
    void AddBusyStep(BusyStep step);
    // A click on a control, as the player's mouse gives it.
    void Click(WindowHandle dialog, int id);
    // A key pressed on whatever has the focus.
    void PressKey(std::uintptr_t virtualKey);
    void Queue(const Message& message);
    void QueueAnswer(int answer);
    void QueueFolderChoice(FolderChoice choice);
    // OK pressed at once: the answer is the folder the chooser preselected, the initial one.
    void QueueFolderOk();
    void FailDialogCreation(int templateId) { failDialog_ = templateId; }
    void FailMainWindowCreation() { failMainWindow_ = true; }
    void SetWorkArea(const Rect& area) { workArea_ = area; }

    struct ShownBox {
        WindowHandle owner;
        std::string text, caption;
        std::uint32_t flags;
    };
    struct ChooserRequest {
        WindowHandle owner;
        std::string title, initialPath;
    };
    const std::vector<ShownBox>& Boxes() const { return boxes_; }
    const std::vector<ChooserRequest>& Choosers() const { return choosers_; }

    WindowHandle MainWindow() const;
    // The first live dialog made from the template `templateId`; null when none.
    WindowHandle Dialog(int templateId) const;
    WindowHandle Focus() const { return focus_; }
    bool IsEnabled(WindowHandle dialog, int id);
    bool Exists(WindowHandle window) const;
    void* BannerImage(WindowHandle dialog, int id);
    struct Progress {
        std::uint32_t max;
        int step;
        std::uint32_t pos;
    };
    Progress ProgressOf(WindowHandle dialog, int id);
    int ControlId(WindowHandle control) const;

    // WindowSystem
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
    Rect WorkArea() override { return workArea_; }
    WindowHandle Control(WindowHandle dialog, int id) override;
    void SetText(WindowHandle dialog, int id, const std::string& text) override;
    std::string GetText(WindowHandle dialog, int id) override;
    void Enable(WindowHandle dialog, int id, bool enable) override;
    bool GetCheck(WindowHandle dialog, int id) override;
    void SetCheck(WindowHandle dialog, int id, bool checked) override;
    void SetFocus(WindowHandle window) override;
    void SetBannerImage(WindowHandle dialog, int id, void* bitmap) override;
    int DisplayDpi() override { return 96; }
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
    bool TranslateAccelerators(WindowHandle, const Message&) override { return false; }
    void PostClose(WindowHandle window) override;
    void PostWake(WindowHandle window) override;
    void PostQuit(int code) override;

private:
    Window* live(WindowHandle handle) const;
    Window* control(WindowHandle dialog, int id) const;
    Window* dialogOf(Window* w) const;
    void click(Window* control);
    void moveFocus(Window* dialog);
    void setRadioCheck(Window* c, bool checked);
    void editNotice(Window* edit);
    void focusOn(Window* to);

    std::vector<std::unique_ptr<Window>> windows_;  // every window ever made; destroyed ones stay flagged
    std::deque<Message> queue_;
    bool quitPending_ = false;
    int quitCode_ = 0;
    std::deque<PlayerStep> player_;
    std::deque<BusyStep> busy_;
    std::deque<int> answers_;
    std::deque<std::optional<FolderChoice>> folderChoices_;  // empty: OK on the preselection
    std::vector<ShownBox> boxes_;
    std::vector<ChooserRequest> choosers_;
    WindowHandle focus_ = nullptr;
    Rect workArea_{0, 0, 1024, 738};
    int failDialog_ = -1;
    bool failMainWindow_ = false;
    std::uint32_t clock_ = 0;
};

}  // namespace ui::headless
