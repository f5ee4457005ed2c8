// Commands of the pages, the boxes and the folder chooser.
#include "commands.h"

#include <thread>

namespace driver {

// page
void WaitPage(Driver& d, Line& a) {
    long number = a.NextNumber("page number");
    a.End();
    d.WaitFor(PageName(number) + " as the only visible page", [&](std::string& found) {
        HWND page = d.setup.VisiblePage(found);
        if (!page) return false;
        found = PageName(PageNumberOf(page));
        return PageNumberOf(page) == number;
    });
}

// click
void Click(Driver& d, Line& a) {
    long id = a.NextNumber("control id");
    a.End();
    HWND control = nullptr;
    // A player presses only what is shown and enabled on the page in front.
    d.WaitFor("control " + std::to_string(id) + " visible and enabled on the visible page", [&](std::string& found) {
        control = d.setup.RequireControl(static_cast<int>(id));
        found = IsWindowEnabled(control) ? "it is hidden" : "it is disabled";
        return IsWindowVisible(control) && IsWindowEnabled(control);
    });
    PostMessageW(control, BM_CLICK, 0, 0);
}

namespace {

void CheckControlText(Driver& d, Line& a, bool like) {
    auto [page, id] = a.NextControl();
    std::wstring text = a.RestWide();
    d.WaitFor("control " + std::to_string(id) + (like ? " reading like " : " reading ") + Quoted(text),
              [&](std::string& found) {
                  std::wstring shown = TextOf(d.setup.RequireControl(id, page));
                  found = Quoted(shown);
                  return like ? Matches(text, shown) : shown == text;
              });
}

enum class ControlState { Enabled, Checked, Visible };

void CheckControlState(Driver& d, Line& a, ControlState kind) {
    auto [page, id] = a.NextControl();
    bool want = a.NextFlag("state");
    a.End();
    const std::string what = kind == ControlState::Enabled   ? "enabled"
                             : kind == ControlState::Visible ? "visible"
                                                             : "checked";
    d.WaitFor("control " + std::to_string(id) + (want ? " " : " not ") + what, [&](std::string& found) {
        HWND control = d.setup.RequireControl(id, page);
        bool state;
        if (kind == ControlState::Enabled)
            state = IsWindowEnabled(control) != FALSE;
        else if (kind == ControlState::Visible)
            state = IsWindowVisible(control) != FALSE;
        else {
            LRESULT check = 0;
            if (!SendTimed(control, BM_GETCHECK, 0, 0, check)) Fail("an answer to BM_GETCHECK", "none");
            state = check == BST_CHECKED;
        }
        found = state ? what : "not " + what;
        return state == want;
    });
}

void CheckProgressBar(Driver& d, Line& a, bool atLeast) {
    auto [page, id] = a.NextControl();
    long pos = a.NextNumber("position");
    std::optional<long> max;
    if (!a.AtEnd()) max = a.NextNumber("maximum");
    a.End();
    std::string expected =
        "progress bar " + std::to_string(id) + (atLeast ? " at least at " : " at ") + std::to_string(pos);
    if (max) expected += " of " + std::to_string(*max);
    d.WaitFor(expected, [&](std::string& found) {
        HWND bar = d.setup.RequireControl(id, page);
        LRESULT at = 0, top = 0;
        if (!SendTimed(bar, PBM_GETPOS, 0, 0, at) || !SendTimed(bar, PBM_GETRANGE, FALSE, 0, top))
            Fail("answers from the progress bar", "none");
        found = std::to_string(at) + " of " + std::to_string(top);
        return (atLeast ? at >= pos : at == pos) && (!max || top == *max);
    });
}

}  // namespace

void CheckText(Driver& d, Line& a) { CheckControlText(d, a, false); }
void CheckTextLike(Driver& d, Line& a) { CheckControlText(d, a, true); }
void CheckEnabled(Driver& d, Line& a) { CheckControlState(d, a, ControlState::Enabled); }
void CheckChecked(Driver& d, Line& a) { CheckControlState(d, a, ControlState::Checked); }
void CheckVisible(Driver& d, Line& a) { CheckControlState(d, a, ControlState::Visible); }
void CheckProgress(Driver& d, Line& a) { CheckProgressBar(d, a, false); }
void WaitProgressAtLeast(Driver& d, Line& a) { CheckProgressBar(d, a, true); }

// check-focus
void CheckFocus(Driver& d, Line& a) {
    long id = a.NextNumber("control id");
    a.End();
    d.WaitFor("the focus on control " + std::to_string(id) + " of the visible page", [&](std::string& found) {
        HWND control = d.setup.RequireControl(static_cast<int>(id));
        found = d.FocusDescription();
        return d.setup.Focus() == control;
    });
}

// key
void Key(Driver& d, Line& a) {
    std::string name = a.Next("key");
    a.End();
    d.PostKey(name);
}

// type
void Type(Driver& d, Line& a) {
    // Real keyboard input, which the system hands to the foreground window's focus.
    std::string name = a.Next("key");
    a.End();
    d.TypeKey(name);
}

// check-active
void CheckActive(Driver& d, Line& a) {
    // The main window is the foreground window and its thread's active window, as a window
    // the player has just started and types into.
    a.End();
    HWND main = d.setup.RequireMain();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(d.setup.thread, &info);
    HWND foreground = GetForegroundWindow();
    if (foreground != main || info.hwndActive != main)
        Fail("the main window in the foreground and active",
             "foreground " + (foreground ? Quoted(TextOf(foreground)) : std::string("none")) + ", active " +
                 (info.hwndActive ? Quoted(TextOf(info.hwndActive)) : std::string("none")));
}

// check-progress-still
void CheckProgressStill(Driver& d, Line& a) {
    // The bar does not move for the given time: the job waits.
    long id = a.NextNumber("control id");
    long ms = a.NextNumber("milliseconds");
    a.End();
    HWND bar = d.setup.RequireControl(static_cast<int>(id));
    LRESULT first = 0;
    SendTimed(bar, PBM_GETPOS, 0, 0, first);
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until) {
        LRESULT now = 0;
        SendTimed(bar, PBM_GETPOS, 0, 0, now);
        if (now != first)
            Fail("progress bar " + std::to_string(id) + " standing at " + std::to_string(first) + " for " +
                     std::to_string(ms) + " ms",
                 "it moved to " + std::to_string(now));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// box
void WaitBox(Driver& d, Line& a) {
    std::wstring text = a.RestWide();
    d.WaitFor("a message box saying " + Quoted(text),
              [&](std::string& found) { return (d.box = d.FindBox(text, found)) != nullptr; });
}

// box-caption
void BoxCaption(Driver& d, Line& a) {
    std::wstring caption = a.RestWide();
    std::wstring shown = TextOf(d.RequireBox());
    if (shown != caption) Fail("the box's caption " + Quoted(caption), Quoted(shown));
}

// box-buttons
void BoxButtons(Driver& d, Line& a) {
    std::vector<long> ids;
    while (!a.AtEnd()) ids.push_back(a.NextNumber("button id"));
    HWND box = d.RequireBox();
    std::string expected, found;
    for (long id : ids) expected += " " + std::to_string(id);
    for (HWND w : DirectChildren(box))
        if (ClassOf(w) == L"Button" && IsWindowVisible(w)) found += " " + std::to_string(GetDlgCtrlID(w));
    if (found != expected) Fail("the buttons" + expected, found.empty() ? " none" : found);
}

// check-no-box
void CheckNoBox(Driver& d, Line& a) {
    a.End();
    std::vector<HWND> boxes = d.setup.Dialogs(false);
    if (!boxes.empty()) Fail("no message box", "a box saying " + Quoted(TextOf(GetDlgItem(boxes[0], 0xFFFF))));
}

// answer
void Answer(Driver& d, Line& a) {
    long id = a.NextNumber("button id");
    a.End();
    d.ClickAndWaitClosed(d.RequireBox(), id, "message box");
    d.box = nullptr;
}

// The folder chooser, waited for.
static HWND WaitChooser(Driver& d) {
    HWND chooser = nullptr;
    d.WaitFor("the folder chooser", [&](std::string& found) {
        std::vector<HWND> all = d.setup.Dialogs(true);
        found = "none";
        chooser = all.empty() ? nullptr : all[0];
        return chooser != nullptr;
    });
    return chooser;
}

// chooser-key
void ChooserKey(Driver& d, Line& a) {
    HWND chooser = WaitChooser(d);
    // Straight to the chooser's tree: a letter goes as the character its search reads.
    const WORD key = VirtualKey(a.Next("key"));
    a.End();
    for (HWND w : DirectChildren(chooser))
        if (ClassOf(w) == WC_TREEVIEWW) {
            PostMessageW(w, WM_KEYDOWN, key, 1);
            if (key >= 'A' && key <= 'Z') PostMessageW(w, WM_CHAR, key - 'A' + 'a', 1);
            PostMessageW(w, WM_KEYUP, key, 1 | (1UL << 30) | (1UL << 31));
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            return;
        }
    Fail("a folder tree in the chooser", "none");
}

// chooser-text
void ChooserText(Driver& d, Line& a) {
    HWND chooser = WaitChooser(d);
    std::wstring text = a.RestWide();
    std::string found;
    for (HWND w : DirectChildren(chooser))
        if (ClassOf(w) == L"Static") {
            std::wstring shown = TextOf(w);
            if (shown == text) return;
            if (!shown.empty()) found += " " + Quoted(shown);
        }
    Fail("a text " + Quoted(text) + " in the folder chooser", found.empty() ? "no text" : found);
}

// chooser
void Chooser(Driver& d, Line& a) {
    HWND chooser = WaitChooser(d);
    std::string choice = a.Next("ok or cancel");
    a.End();
    if (choice != "ok" && choice != "cancel") Fail("ok or cancel", choice);
    if (choice == "ok") {
        // OK takes the selection the setup asked for, once the chooser has made it.
        d.WaitFor("a selected folder in the chooser", [&](std::string& found) {
            found = "no selection";
            for (HWND w : DirectChildren(chooser)) {
                if (ClassOf(w) != WC_TREEVIEWW) continue;
                LRESULT item = 0;
                return SendTimed(w, TVM_GETNEXTITEM, TVGN_CARET, 0, item) && item != 0;
            }
            return false;
        });
    }
    d.ClickAndWaitClosed(chooser, choice == "ok" ? IDOK : IDCANCEL, "folder chooser");
}

}  // namespace driver
