#include "ui/headless/headless_window_system.h"

#include <algorithm>

namespace ui::headless {

// Dialog base units of 9-point "ＭＳ Ｐゴシック": 6 by 12 pixels.
constexpr long kBaseX = 6, kBaseY = 12;
// The main window's frame: 3 pixels at each side and a 22-pixel caption.
constexpr long kFrame = 3, kCaption = 22;
// WS_EX_CLIENTEDGE takes 2 pixels at each side.
constexpr long kClientEdge = 2;

struct Window {
    Window* parent = nullptr;
    bool destroyed = false;
    bool isMain = false, isDialog = false;
    int templateId = -1;  // dialogs
    int id = -1;          // controls
    ControlKind kind = ControlKind::Static;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::string text;
    bool enabled = true, visible = false, checked = false;
    std::uint32_t rangeMax = 100;
    int step = 10;
    std::uint32_t pos = 0;
    void* image = nullptr;
    Rect rect;  // in the parent's client area; screen coordinates for the main window
    DialogHandler* dialogHandler = nullptr;
    MainWindowHandler* mainHandler = nullptr;
    std::vector<Window*> controls;  // template order
    Window* savedFocus = nullptr;   // dialogs: the control that had the focus when the dialog was hidden
};

namespace {
WindowHandle HandleOf(Window* w) { return reinterpret_cast<WindowHandle>(w); }
long DluX(long v) { return (v * kBaseX + 2) / 4; }
long DluY(long v) { return (v * kBaseY + 4) / 8; }
bool IsPushButton(const Window* w) {
    return w->kind == ControlKind::PushButton || w->kind == ControlKind::DefaultPushButton;
}
bool IsInside(const Window* w, const Window* ancestor) {
    for (; w; w = w->parent)
        if (w == ancestor) return true;
    return false;
}
// Where a dialog puts the focus it is given: its first enabled tab stop, else its first enabled control.
Window* FirstFocusable(const Window* dialog) {
    for (Window* c : dialog->controls)
        if ((c->style & kWsTabStop) && c->enabled && c->visible) return c;
    for (Window* c : dialog->controls)
        if (c->enabled && c->visible) return c;
    return nullptr;
}
bool IsButton(ControlKind k) {
    return k == ControlKind::PushButton || k == ControlKind::DefaultPushButton || k == ControlKind::RadioButton ||
           k == ControlKind::CheckBox;
}
}  // namespace

HeadlessWindowSystem::HeadlessWindowSystem() = default;
HeadlessWindowSystem::~HeadlessWindowSystem() = default;

Window* HeadlessWindowSystem::live(WindowHandle handle) const {
    auto* w = reinterpret_cast<Window*>(handle);
    for (const auto& owned : windows_)
        if (owned.get() == w) return w->destroyed ? nullptr : w;
    return nullptr;
}

bool HeadlessWindowSystem::Exists(WindowHandle window) const { return live(window) != nullptr; }

Window* HeadlessWindowSystem::control(WindowHandle dialog, int id) const {
    Window* d = live(dialog);
    if (!d) return nullptr;
    for (Window* c : d->controls)
        if (c->id == id) return c;
    return nullptr;
}

Window* HeadlessWindowSystem::dialogOf(Window* w) const {
    while (w && !w->isDialog) w = w->parent;
    return w;
}

void HeadlessWindowSystem::AddPlayerStep(PlayerStep step) { player_.push_back(std::move(step)); }

void HeadlessWindowSystem::AddBusyStep(BusyStep step) { busy_.push_back(std::move(step)); }

void HeadlessWindowSystem::Click(WindowHandle dialog, int id) {
    if (Window* c = control(dialog, id)) Queue(Message{HandleOf(c), kWmLButtonUp});
}

void HeadlessWindowSystem::PressKey(std::uintptr_t virtualKey) { Queue(Message{focus_, kWmKeyDown, virtualKey}); }

void HeadlessWindowSystem::Queue(const Message& message) {
    Message m = message;
    m.time = ++clock_;
    queue_.push_back(m);
}

void HeadlessWindowSystem::QueueAnswer(int answer) { answers_.push_back(answer); }
void HeadlessWindowSystem::QueueFolderChoice(FolderChoice choice) { folderChoices_.push_back(std::move(choice)); }
void HeadlessWindowSystem::QueueFolderOk() { folderChoices_.push_back(std::nullopt); }

WindowHandle HeadlessWindowSystem::MainWindow() const {
    for (const auto& w : windows_)
        if (w->isMain && !w->destroyed) return HandleOf(w.get());
    return nullptr;
}

WindowHandle HeadlessWindowSystem::Dialog(int templateId) const {
    for (const auto& w : windows_)
        if (w->isDialog && !w->destroyed && w->templateId == templateId) return HandleOf(w.get());
    return nullptr;
}

bool HeadlessWindowSystem::IsEnabled(WindowHandle dialog, int id) {
    Window* c = control(dialog, id);
    return c && c->enabled;
}

void* HeadlessWindowSystem::BannerImage(WindowHandle dialog, int id) {
    Window* c = control(dialog, id);
    return c ? c->image : nullptr;
}

HeadlessWindowSystem::Progress HeadlessWindowSystem::ProgressOf(WindowHandle dialog, int id) {
    Window* c = control(dialog, id);
    return c ? Progress{c->rangeMax, c->step, c->pos} : Progress{0, 0, 0};
}

int HeadlessWindowSystem::ControlId(WindowHandle window) const {
    Window* w = live(window);
    return w ? w->id : -1;
}

WindowHandle HeadlessWindowSystem::CreateMainWindow(MainWindowHandler& handler, const std::string& caption) {
    if (failMainWindow_) return nullptr;
    auto w = std::make_unique<Window>();
    w->isMain = true;
    w->text = caption;
    w->mainHandler = &handler;
    w->rect = {40, 30, 40 + 400, 30 + 300};  // the system's default position and size
    Window* raw = w.get();
    windows_.push_back(std::move(w));
    if (!handler.OnCreate(HandleOf(raw))) {
        raw->destroyed = true;
        return nullptr;
    }
    return HandleOf(raw);
}

WindowHandle HeadlessWindowSystem::CreateDialogWindow(const DialogTemplate& dialog, WindowHandle parent,
                                                      DialogHandler& handler) {
    Window* p = live(parent);
    if (!p || dialog.id == failDialog_) return nullptr;
    auto d = std::make_unique<Window>();
    d->parent = p;
    d->isDialog = true;
    d->templateId = dialog.id;
    d->style = dialog.style;
    d->exStyle = dialog.exStyle;
    d->visible = (dialog.style & kWsVisible) != 0;
    d->dialogHandler = &handler;
    d->rect = {0, 0, DluX(dialog.cx), DluY(dialog.cy)};
    Window* raw = d.get();
    windows_.push_back(std::move(d));
    for (const ControlTemplate& t : dialog.controls) {
        auto c = std::make_unique<Window>();
        c->parent = raw;
        c->id = t.id;
        c->kind = t.kind;
        c->style = t.style;
        c->text = std::string(t.text);
        c->visible = true;
        c->enabled = (t.style & kWsDisabled) == 0;
        c->rect = {DluX(t.x), DluY(t.y), DluX(t.x) + DluX(t.cx), DluY(t.y) + DluY(t.cy)};
        raw->controls.push_back(c.get());
        windows_.push_back(std::move(c));
    }
    // The system's default focus, which it places only in a dialog of its own or one that shows: a
    // page (DS_CONTROL) created hidden leaves the focus where it was.
    if (handler.OnInitDialog(HandleOf(raw)) && (!(dialog.style & kDsControl) || (dialog.style & kWsVisible)))
        if (Window* first = FirstFocusable(raw)) SetFocus(HandleOf(first));
    return HandleOf(raw);
}

void HeadlessWindowSystem::DestroyWindow(WindowHandle window) {
    Window* w = live(window);
    if (!w) return;
    for (const auto& other : windows_)
        if (other->parent == w && !other->destroyed) DestroyWindow(HandleOf(other.get()));
    w->destroyed = true;
    if (focus_ == window) focus_ = nullptr;
    if (w->mainHandler) w->mainHandler->OnDestroy(window);
}

void HeadlessWindowSystem::ShowWindow(WindowHandle window, bool show) {
    Window* w = live(window);
    if (!w) return;
    // A dialog hidden with the focus inside keeps that control for the next time it gets the focus.
    Window* focused = live(focus_);
    if (!show && w->visible && w->isDialog && focused && focused != w && IsInside(focused, w)) w->savedFocus = focused;
    w->visible = show;
}

bool HeadlessWindowSystem::IsVisible(WindowHandle window) {
    for (Window* w = live(window); w; w = w->parent)
        if (!w->visible) return false;
    return live(window) != nullptr;
}

WindowHandle HeadlessWindowSystem::ParentOf(WindowHandle window) {
    Window* w = live(window);
    return w ? HandleOf(w->parent) : nullptr;
}

void HeadlessWindowSystem::RemoveMenu(WindowHandle) {}

void HeadlessWindowSystem::SetCaption(WindowHandle window, const std::string& text) {
    if (Window* w = live(window)) w->text = text;
}

std::string HeadlessWindowSystem::GetCaption(WindowHandle window) {
    Window* w = live(window);
    return w ? w->text : std::string();
}

Rect HeadlessWindowSystem::WindowRect(WindowHandle window) {
    Window* w = live(window);
    if (!w) return {};
    Rect r = w->rect;
    for (Window* p = w->parent; p; p = p->parent) {  // to screen coordinates
        Rect origin = p->rect;
        long inset = p->isMain ? kFrame : (p->exStyle & kWsExClientEdge) ? kClientEdge : 0;
        long top = p->isMain ? kFrame + kCaption : inset;
        r = {r.left + origin.left + inset, r.top + origin.top + top, r.right + origin.left + inset,
             r.bottom + origin.top + top};
    }
    return r;
}

Rect HeadlessWindowSystem::ClientRect(WindowHandle window) {
    Window* w = live(window);
    if (!w) return {};
    long dx = w->isMain ? 2 * kFrame : (w->exStyle & kWsExClientEdge) ? 2 * kClientEdge : 0;
    long dy = w->isMain ? 2 * kFrame + kCaption : dx;
    return {0, 0, std::max(0L, w->rect.width() - dx), std::max(0L, w->rect.height() - dy)};
}

void HeadlessWindowSystem::SetWindowPos(WindowHandle window, long x, long y, long cx, long cy, bool move, bool size) {
    Window* w = live(window);
    if (!w) return;
    long left = move ? x : w->rect.left, top = move ? y : w->rect.top;
    long width = size ? cx : w->rect.width(), height = size ? cy : w->rect.height();
    w->rect = {left, top, left + width, top + height};
    if (size && w->mainHandler) {
        Rect client = ClientRect(window);
        w->mainHandler->OnSize(window, client.width(), client.height());
    }
}

void HeadlessWindowSystem::MoveWindow(WindowHandle window, const Rect& rect) {
    if (Window* w = live(window)) w->rect = rect;
}

WindowHandle HeadlessWindowSystem::Control(WindowHandle dialog, int id) { return HandleOf(control(dialog, id)); }

void HeadlessWindowSystem::SetText(WindowHandle dialog, int id, const std::string& text) {
    Window* c = control(dialog, id);
    if (!c) return;
    c->text = text;
    if (c->kind == ControlKind::Edit) {
        editNotice(c);  // update
        editNotice(c);  // change
    }
}

// An edit control tells its dialog of changes and focus through WM_COMMAND with its own id.
void HeadlessWindowSystem::editNotice(Window* edit) {
    if (edit->kind == ControlKind::Edit && edit->parent && edit->parent->dialogHandler)
        edit->parent->dialogHandler->OnCommand(HandleOf(edit->parent), edit->id);
}

void HeadlessWindowSystem::focusOn(Window* to) {
    Window* from = live(focus_);
    if (from == to) return;
    focus_ = HandleOf(to);
    if (from) editNotice(from);  // kill focus
    if (to) editNotice(to);      // set focus
}

std::string HeadlessWindowSystem::GetText(WindowHandle dialog, int id) {
    Window* c = control(dialog, id);
    return c ? c->text : std::string();
}

void HeadlessWindowSystem::Enable(WindowHandle dialog, int id, bool enable) {
    Window* c = control(dialog, id);
    if (!c) return;
    c->enabled = enable;
    if (!enable && focus_ == HandleOf(c)) focusOn(nullptr);  // a disabled window cannot keep the focus
}

bool HeadlessWindowSystem::GetCheck(WindowHandle dialog, int id) {
    Window* c = control(dialog, id);
    return c && c->checked;
}

void HeadlessWindowSystem::SetCheck(WindowHandle dialog, int id, bool checked) {
    if (Window* c = control(dialog, id)) setRadioCheck(c, checked);
}

void HeadlessWindowSystem::setRadioCheck(Window* c, bool checked) {
    c->checked = checked;
    // A radio button is a tab stop while it is checked, whatever its template said.
    if (c->kind == ControlKind::RadioButton) c->style = checked ? c->style | kWsTabStop : c->style & ~kWsTabStop;
}

void HeadlessWindowSystem::SetFocus(WindowHandle window) {
    Window* w = live(window);
    if (!w) return;
    if (w->isDialog) {
        // A dialog hands the focus on, to the control it saved when hidden (once) or else to the
        // first it finds.
        Window* target = w->savedFocus && !w->savedFocus->destroyed ? w->savedFocus : FirstFocusable(w);
        w->savedFocus = nullptr;
        if (target) w = target;
    }
    focusOn(w);
}

void HeadlessWindowSystem::SetBannerImage(WindowHandle dialog, int id, void* bitmap) {
    if (Window* c = control(dialog, id)) c->image = bitmap;  // the control keeps its template size
}

Size HeadlessWindowSystem::SizeAt96Dpi(WindowHandle, short cx, short cy) { return {DluX(cx), DluY(cy)}; }

WindowHandle HeadlessWindowSystem::ControlAt(WindowHandle dialog, std::size_t index) {
    Window* d = live(dialog);
    return d && index < d->controls.size() ? HandleOf(d->controls[index]) : nullptr;
}

Rect HeadlessWindowSystem::PlaceOf(WindowHandle control) {
    Window* c = live(control);
    return c ? c->rect : Rect{};
}

// Letters of a fixed pitch: half the base width a byte, a line of the base height.
Size HeadlessWindowSystem::TextExtent(WindowHandle control, long width) {
    Window* c = live(control);
    const long length = c ? static_cast<long>(c->text.size()) * (kBaseX / 2) : 0;
    if (length == 0) return {};
    if (width <= 0 || length <= width) return {length, kBaseY};
    return {width, (length + width - 1) / width * kBaseY};
}

void HeadlessWindowSystem::SetProgressRange(WindowHandle dialog, int id, std::uint32_t max) {
    Window* c = control(dialog, id);
    if (!c) return;
    c->rangeMax = max & 0xFFFF;  // the count travels in a 16-bit word
    c->pos = std::min(c->pos, c->rangeMax);
}

void HeadlessWindowSystem::SetProgressStep(WindowHandle dialog, int id, int step) {
    if (Window* c = control(dialog, id)) c->step = step;
}

void HeadlessWindowSystem::SetProgressPos(WindowHandle dialog, int id, std::uint32_t pos) {
    // The bar reads the position as a signed number and keeps it within its range.
    const long long wanted = static_cast<std::int32_t>(pos);
    if (Window* c = control(dialog, id))
        c->pos = static_cast<std::uint32_t>(std::clamp(wanted, 0LL, static_cast<long long>(c->rangeMax)));
}

void HeadlessWindowSystem::StepProgress(WindowHandle dialog, int id) {
    // Like the system's bar: a step past either end goes round by the length of the range; a bar
    // without one stays.
    Window* c = control(dialog, id);
    if (!c || c->rangeMax == 0) return;
    const long long span = c->rangeMax;
    long long pos = static_cast<long long>(c->pos) + c->step;
    if (pos > span) pos %= span;
    if (pos < 0) pos = pos % span + span;
    c->pos = static_cast<std::uint32_t>(pos);
}

int HeadlessWindowSystem::ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                                         std::uint32_t flags) {
    boxes_.push_back({owner, text, caption, flags});
    if (!answers_.empty()) {
        int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return (flags & 0xF) == kMbYesNo ? kIdYes : kIdOk;
}

FolderChoice HeadlessWindowSystem::BrowseForFolder(WindowHandle owner, const std::string& title,
                                                   const std::string& initialPath) {
    choosers_.push_back({owner, title, initialPath});
    if (folderChoices_.empty()) return {};
    std::optional<FolderChoice> answer = folderChoices_.front();
    folderChoices_.pop_front();
    return answer ? *answer : FolderChoice{FolderChoice::Outcome::Chosen, initialPath};
}

bool HeadlessWindowSystem::PeekQueue(Message& message, bool remove) {
    if (remove && queue_.empty() && !quitPending_ && !busy_.empty()) {
        BusyStep step = busy_.front();
        if (step(*this)) busy_.pop_front();
    }
    if (!queue_.empty()) {
        message = queue_.front();
        if (remove) queue_.pop_front();
        return true;
    }
    if (quitPending_) {
        message = Message{nullptr, kWmQuit, static_cast<std::uintptr_t>(quitCode_)};
        if (remove) quitPending_ = false;
        return true;
    }
    return false;
}

int HeadlessWindowSystem::NextMessage(Message& message) {
    while (queue_.empty() && !quitPending_ && !player_.empty()) {
        PlayerStep step = std::move(player_.front());
        player_.pop_front();
        step(*this);
    }
    if (queue_.empty() && !quitPending_) PostQuit(kPlayerDone);
    PeekQueue(message, true);
    return message.code == kWmQuit ? 0 : 1;
}

void HeadlessWindowSystem::click(Window* c) {
    if (!c->enabled || !IsVisible(HandleOf(c)) || !IsButton(c->kind)) return;
    if (c->kind == ControlKind::CheckBox) c->checked = !c->checked;
    if (c->kind == ControlKind::RadioButton) {
        // Automatic radio buttons: the group runs from a WS_GROUP control to the next one.
        auto& all = c->parent->controls;
        auto at = std::find(all.begin(), all.end(), c);
        auto first = at;
        while (first != all.begin() && !((*first)->style & kWsGroup)) --first;
        for (auto it = first; it != all.end() && (it == first || !((*it)->style & kWsGroup)); ++it)
            if ((*it)->kind == ControlKind::RadioButton) setRadioCheck(*it, *it == c);
    }
    SetFocus(HandleOf(c));
    c->parent->dialogHandler->OnCommand(HandleOf(c->parent), c->id);
}

void HeadlessWindowSystem::TranslateAndDispatch(const Message& message) {
    Window* w = live(message.window);
    if (!w) return;
    if (message.code == kWmLButtonUp && !w->isDialog && !w->isMain)
        click(w);
    else if (message.code == kWmCommand && w->isDialog)
        w->dialogHandler->OnCommand(message.window, static_cast<int>(message.wParam));
    else if (message.code == kWmClose && w->isMain)
        DestroyWindow(message.window);  // the default handling
}

void HeadlessWindowSystem::moveFocus(Window* dialog) {
    std::vector<Window*> stops;
    for (Window* c : dialog->controls)
        if ((c->style & kWsTabStop) && c->enabled && c->visible) stops.push_back(c);
    if (stops.empty()) return;
    auto at = std::find(stops.begin(), stops.end(), reinterpret_cast<Window*>(focus_));
    SetFocus(HandleOf(at == stops.end() || at + 1 == stops.end() ? stops.front() : *(at + 1)));
}

bool HeadlessWindowSystem::RouteDialogMessage(WindowHandle dialog, const Message& message) {
    Window* d = live(dialog);
    Window* target = live(message.window);
    if (!d || !target || dialogOf(target) != d) return false;
    if (message.code != kWmKeyDown) {
        TranslateAndDispatch(message);
        return true;
    }
    if (message.wParam == kVkEscape) {
        d->dialogHandler->OnCommand(dialog, kIdCancel);
    } else if (message.wParam == kVkReturn) {
        // A focused push button is pressed; otherwise the default button, else OK. A disabled
        // button takes the key and does nothing.
        Window* pressed = IsPushButton(target) ? target : nullptr;
        for (Window* c : d->controls)
            if (!pressed && c->kind == ControlKind::DefaultPushButton) pressed = c;
        const int id = pressed ? pressed->id : kIdOk;
        if (!pressed) pressed = control(dialog, kIdOk);
        if (!pressed || pressed->enabled) d->dialogHandler->OnCommand(dialog, id);
    } else if (message.wParam == kVkTab) {
        moveFocus(d);
    }
    return true;
}

void HeadlessWindowSystem::PostClose(WindowHandle window) { Queue(Message{window, kWmClose}); }

void HeadlessWindowSystem::PostWake(WindowHandle window) { Queue(Message{window, 0}); }

void HeadlessWindowSystem::PostQuit(int code) {
    quitPending_ = true;
    quitCode_ = code;
}

}  // namespace ui::headless
