#pragma once
// One suite for every window system: what the pages and the controller rely on, checked the same
// way on the headless stand-in the flow tests use and on the real one. The pages' own tables are
// the dialogs. A driver type does what only a test does:
//
//   static bool Available();                      false: the system cannot run here (no display)
//   ui::WindowSystem& System();
//   void Click(WindowHandle dialog, int id);      the player's click on a control
//   void Key(std::uintptr_t virtualKey);          a key pressed on whatever has the focus
//   WindowHandle Focus();
//   bool IsEnabled(WindowHandle dialog, int id);
//   Progress ProgressOf(WindowHandle dialog, int id);
//   void AnswerNextBox(int answer);               the button pressed on the next message box
//   std::vector<ShownBox> Boxes();                the boxes answered so far
//   void AnswerNextChooser(bool ok, const std::string& initialPath);  OK once that folder is selected;
//                                                 its folders last listed long ago, as a player's are
//   std::vector<ShownChooser> Choosers();
//
// Clicks and keys may only be queued: the suite pumps them as the setup's loop does.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "pages/install_settings_page.h"
#include "pages/page.h"
#include "pages/page_host.h"
#include "pages/welcome_page.h"
#include "support/cp932_literal.h"
#include "test_support.h"
#include "ui/window_system.h"

namespace conformance {

using ui::WindowHandle;

struct Progress {
    std::uint32_t max;
    int step;
    std::uint32_t pos;
    bool operator==(const Progress&) const = default;
};

// A message box as the player saw it; `owner` is the top-level window it belonged to.
struct ShownBox {
    WindowHandle owner;
    std::string text, caption;
    std::uint32_t flags;
};

struct ShownChooser {
    WindowHandle owner;
    std::string title;
};

// The top-level window above `window`: the one a box or the chooser belongs to.
inline WindowHandle TopLevelOf(ui::WindowSystem& ws, WindowHandle window) {
    while (window && ws.ParentOf(window)) window = ws.ParentOf(window);
    return window;
}

class RecordingDialog : public ui::DialogHandler {
public:
    explicit RecordingDialog(bool defaultFocus = true) : defaultFocus_(defaultFocus) {}
    bool OnInitDialog(WindowHandle dialog) override {
        initialised.push_back(dialog);
        return defaultFocus_;
    }
    bool OnCommand(WindowHandle, int id) override {
        commands.push_back(id);
        return true;
    }
    std::vector<WindowHandle> initialised;
    std::vector<int> commands;

private:
    bool defaultFocus_;
};

class QuietMainWindow : public ui::MainWindowHandler {
public:
    bool OnCreate(WindowHandle) override { return true; }
    void OnDestroy(WindowHandle) override {}
    void OnSize(WindowHandle, long, long) override {}
};

template <class Driver>
class WindowSystemConformance : public testing::Test {
protected:
    // The setup's arrangement: the main window, shown, holding the page host.
    void SetUp() override {
        if (!Driver::Available()) GTEST_SKIP() << "no display for this window system";
        main = ws.CreateMainWindow(mainHandler, "Conformance");
        ASSERT_NE(main, nullptr);
        ws.ShowWindow(main, true);
        host = ws.CreateDialogWindow(pages::kPageHostDialog, main, hostHandler);
        ASSERT_NE(host, nullptr);
    }
    void TearDown() override {
        if (main) ws.DestroyWindow(main);
        Pump(nullptr);
    }

    // A page made from its table inside the host, hidden as it starts.
    WindowHandle Page(const ui::DialogTemplate& table, RecordingDialog& handler) {
        WindowHandle page = ws.CreateDialogWindow(table, host, handler);
        if (page) ws.MoveWindow(page, {60, 0, 300, 300});
        return page;
    }
    // The page on show with the focus on it, as the host switches to a page.
    WindowHandle ShownPage(const ui::DialogTemplate& table, RecordingDialog& handler) {
        WindowHandle page = Page(table, handler);
        ws.ShowWindow(page, true);
        ws.SetFocus(page);
        return page;
    }
    // What the setup's loop does with every queued message while `page` is on show.
    void Pump(WindowHandle page) {
        ui::Message m;
        while (ws.PeekQueue(m, true))
            if (m.code != ui::kWmQuit && !ws.RouteDialogMessage(page, m)) ws.TranslateAndDispatch(m);
    }
    void Press(WindowHandle page, std::uintptr_t key) {
        driver.Key(key);
        Pump(page);
    }
    void Click(WindowHandle page, int id) {
        driver.Click(page, id);
        Pump(page);
    }
    // The id of the control of `page` with the focus; 0 when the focus is elsewhere.
    int FocusedId(WindowHandle page, const ui::DialogTemplate& table) {
        for (const ui::ControlTemplate& c : table.controls)
            if (c.id >= 0 && driver.Focus() == ws.Control(page, c.id)) return c.id;
        return 0;
    }
    std::vector<int> TabWalk(WindowHandle page, const ui::DialogTemplate& table, int presses) {
        std::vector<int> order;
        for (int i = 0; i < presses; ++i) {
            Press(page, ui::kVkTab);
            order.push_back(FocusedId(page, table));
        }
        return order;
    }

    Driver driver;
    ui::WindowSystem& ws = driver.System();
    QuietMainWindow mainHandler;
    RecordingDialog hostHandler{false};
    WindowHandle main = nullptr, host = nullptr;
};

TYPED_TEST_SUITE_P(WindowSystemConformance);

inline const ui::DialogTemplate* const kPages[] = {&pages::kWelcomeDialog, &pages::kInstallSettingsDialog,
                                                   &pages::kCopyProgressDialog, &pages::kUninstallSettingsDialog,
                                                   &pages::kUninstallProgressDialog};

TYPED_TEST_P(WindowSystemConformance, EveryPageIsMadeFromItsTable) {
    auto& ws = this->ws;
    EXPECT_TRUE(ws.IsVisible(this->host)) << "the host's table makes it visible";
    EXPECT_EQ(ws.ParentOf(this->host), this->main);
    EXPECT_EQ(ws.GetText(this->host, 551), "");
    for (const ui::DialogTemplate* table : kPages) {
        SCOPED_TRACE(table->id);
        RecordingDialog handler;
        WindowHandle page = this->Page(*table, handler);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(handler.initialised, std::vector<WindowHandle>{page}) << "initialised once, inside the creation";
        EXPECT_EQ(ws.ParentOf(page), this->host);
        EXPECT_FALSE(ws.IsVisible(page)) << "a page starts hidden";
        for (const ui::ControlTemplate& c : table->controls) {
            if (c.id < 0) continue;
            SCOPED_TRACE(c.id);
            ASSERT_NE(ws.Control(page, c.id), nullptr);
            EXPECT_EQ(ws.ParentOf(ws.Control(page, c.id)), page);
            EXPECT_EQ(ws.GetText(page, c.id), std::string(c.text));
            EXPECT_EQ(this->driver.IsEnabled(page, c.id), !(c.style & ui::kWsDisabled));
            EXPECT_FALSE(ws.GetCheck(page, c.id));
        }
        EXPECT_EQ(ws.Control(page, 4242), nullptr);
        EXPECT_EQ(ws.GetText(page, 4242), "");
        EXPECT_TRUE(handler.commands.empty());
        ws.ShowWindow(page, true);
        EXPECT_TRUE(ws.IsVisible(page));
        EXPECT_TRUE(ws.IsVisible(ws.Control(page, table->controls[0].id)));
        ws.ShowWindow(page, false);
        EXPECT_FALSE(ws.IsVisible(page));
        ws.DestroyWindow(page);
    }
}

// The system places the first focus only in a page that shows; the host moves it from page to page.
TYPED_TEST_P(WindowSystemConformance, FocusGoesWhereThePagesPutIt) {
    auto& ws = this->ws;
    const auto& welcomeTable = pages::kWelcomeDialog;
    const auto& settingsTable = pages::kInstallSettingsDialog;
    RecordingDialog welcomeHandler, settingsHandler, uninstallHandler;
    WindowHandle welcome = this->Page(welcomeTable, welcomeHandler);
    WindowHandle settings = this->Page(settingsTable, settingsHandler);
    ASSERT_NE(welcome, nullptr);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(this->FocusedId(welcome, welcomeTable), 0) << "a page created hidden takes no focus";
    EXPECT_EQ(this->FocusedId(settings, settingsTable), 0);

    ws.ShowWindow(welcome, true);
    ws.SetFocus(welcome);
    EXPECT_EQ(this->FocusedId(welcome, welcomeTable), 1001) << "a page hands the focus to its first tab stop";
    ws.SetFocus(ws.Control(welcome, 2));
    EXPECT_EQ(this->driver.Focus(), ws.Control(welcome, 2));

    // Away to the settings page and back: the welcome page gives the focus back to where it was.
    ws.ShowWindow(welcome, false);
    ws.ShowWindow(settings, true);
    ws.SetFocus(settings);
    EXPECT_EQ(this->FocusedId(settings, settingsTable), 1);
    ws.ShowWindow(settings, false);
    ws.ShowWindow(welcome, true);
    ws.SetFocus(welcome);
    EXPECT_EQ(this->FocusedId(welcome, welcomeTable), 2);
    // Given once: the next time it starts from the first tab stop again.
    ws.SetFocus(ws.Control(welcome, 57665));
    ws.SetFocus(welcome);
    EXPECT_EQ(this->FocusedId(welcome, welcomeTable), 1001);

    // A disabled button is no tab stop to start from.
    WindowHandle uninstall = this->Page(pages::kUninstallSettingsDialog, uninstallHandler);
    ws.Enable(uninstall, 1, false);
    ws.ShowWindow(welcome, false);
    ws.ShowWindow(uninstall, true);
    ws.SetFocus(uninstall);
    EXPECT_EQ(this->FocusedId(uninstall, pages::kUninstallSettingsDialog), 2);

    // A dialog that shows from the start takes the focus when its code lets the system place it.
    std::vector<ui::ControlTemplate> controls(settingsTable.controls.begin(), settingsTable.controls.end());
    const ui::DialogTemplate shown{
        settingsTable.id, settingsTable.style | ui::kWsVisible, 0, settingsTable.cx, settingsTable.cy, controls};
    ws.ShowWindow(uninstall, false);
    RecordingDialog placing, notPlacing(false);
    WindowHandle placed = this->Page(shown, placing);
    EXPECT_EQ(this->FocusedId(placed, shown), 1);
    ws.SetFocus(ws.Control(placed, 1009));
    WindowHandle unplaced = this->Page(shown, notPlacing);
    EXPECT_EQ(this->driver.Focus(), ws.Control(placed, 1009));
    EXPECT_EQ(this->FocusedId(unplaced, shown), 0);
}

// The install settings page as the page leaves it (the full install checked): Tab walks every
// enabled tab stop in template order, the checked radio button being one, and comes round.
TYPED_TEST_P(WindowSystemConformance, TabWalksTheTabStopsOfTheInstallSettingsPage) {
    auto& ws = this->ws;
    const auto& table = pages::kInstallSettingsDialog;
    RecordingDialog handler;
    WindowHandle page = this->Page(table, handler);
    ASSERT_NE(page, nullptr);
    ws.SetCheck(page, 1006, true);
    ws.SetCheck(page, 1009, true);
    ws.ShowWindow(page, true);
    ws.SetFocus(page);
    ASSERT_EQ(this->FocusedId(page, table), 1);
    EXPECT_EQ(this->TabWalk(page, table, 8), (std::vector<int>{2, 1008, 1005, 1006, 1009, 1004, 1, 2}));

    // A click on the voice-less install unchecks the full one, which stops being a tab stop.
    this->Click(page, 1005);
    EXPECT_EQ(this->FocusedId(page, table), 1005) << "a click takes the focus";
    EXPECT_EQ(this->TabWalk(page, table, 5), (std::vector<int>{1009, 1004, 1, 2, 1008}));
    this->Click(page, 1006);
    EXPECT_EQ(this->TabWalk(page, table, 3), (std::vector<int>{1009, 1004, 1}));

    // Disabled controls are passed over.
    ws.Enable(page, 1008, false);
    ws.Enable(page, 1009, false);
    EXPECT_EQ(this->TabWalk(page, table, 5), (std::vector<int>{2, 1006, 1004, 1, 2}));
    EXPECT_TRUE(handler.commands == (std::vector<int>{1005, 1006})) << "Tab presses nothing";
}

TYPED_TEST_P(WindowSystemConformance, EnterPressesTheDefaultButtonAndEscIsCancel) {
    auto& ws = this->ws;
    RecordingDialog welcomeHandler, settingsHandler, copyHandler;
    WindowHandle welcome = this->ShownPage(pages::kWelcomeDialog, welcomeHandler);
    WindowHandle settings = this->Page(pages::kInstallSettingsDialog, settingsHandler);
    ASSERT_NE(welcome, nullptr);
    ASSERT_NE(settings, nullptr);

    // The welcome page: its default button, a focused push button, then Esc.
    this->Press(welcome, ui::kVkReturn);
    ws.SetFocus(ws.Control(welcome, 57665));
    this->Press(welcome, ui::kVkReturn);
    this->Press(welcome, ui::kVkEscape);
    EXPECT_EQ(welcomeHandler.commands, (std::vector<int>{1001, 57665, 2}));
    // A key on one page is no other page's.
    const ui::Message tab{this->driver.Focus(), ui::kWmKeyDown, ui::kVkTab};
    EXPECT_FALSE(ws.RouteDialogMessage(settings, tab));
    EXPECT_TRUE(settingsHandler.commands.empty());
    EXPECT_TRUE(this->hostHandler.commands.empty());
    // Off a push button Enter is the default button's; a disabled one takes it and does nothing.
    ws.SetFocus(ws.Control(welcome, 50));
    this->Press(welcome, ui::kVkReturn);
    EXPECT_EQ(welcomeHandler.commands, (std::vector<int>{1001, 57665, 2, 1001}));
    ws.Enable(welcome, 1001, false);
    this->Press(welcome, ui::kVkReturn);
    EXPECT_EQ(welcomeHandler.commands.size(), 4u);

    // The settings page has no default button: Enter off a push button is OK, command 1.
    ws.ShowWindow(welcome, false);
    ws.ShowWindow(settings, true);
    ws.SetFocus(settings);
    for (int id : {1009, 1005, 1007}) {
        ws.SetFocus(ws.Control(settings, id));
        this->Press(settings, ui::kVkReturn);
    }
    ws.SetFocus(ws.Control(settings, 1008));
    this->Press(settings, ui::kVkReturn);
    this->Press(settings, ui::kVkEscape);
    // 1007, the edit control, tells of the focus it gains and loses.
    EXPECT_EQ(settingsHandler.commands, (std::vector<int>{1, 1, 1007, 1, 1007, 1008, 2}));
    ws.Enable(settings, 1, false);
    ws.SetFocus(ws.Control(settings, 1009));
    this->Press(settings, ui::kVkReturn);
    EXPECT_EQ(settingsHandler.commands.size(), 7u) << "OK disabled";

    // The copy page: Esc is command 2 whether or not its Cancel button can be pressed.
    ws.ShowWindow(settings, false);
    WindowHandle copy = this->ShownPage(pages::kCopyProgressDialog, copyHandler);
    ASSERT_EQ(this->FocusedId(copy, pages::kCopyProgressDialog), 2);
    this->Press(copy, ui::kVkEscape);
    ws.Enable(copy, 2, false);
    EXPECT_EQ(this->FocusedId(copy, pages::kCopyProgressDialog), 0) << "a disabled control loses the focus";
    this->Press(copy, ui::kVkEscape);  // on nothing: no page hears it
    ws.SetFocus(ws.Control(copy, 1004));
    this->Press(copy, ui::kVkEscape);
    EXPECT_EQ(copyHandler.commands, (std::vector<int>{2, 2}));
    EXPECT_EQ(welcomeHandler.commands.size(), 4u);
}

TYPED_TEST_P(WindowSystemConformance, ChecksRadioGroupsEnablingAndClicks) {
    auto& ws = this->ws;
    RecordingDialog handler, uninstallHandler;
    WindowHandle page = this->ShownPage(pages::kInstallSettingsDialog, handler);
    ASSERT_NE(page, nullptr);
    ws.SetCheck(page, 1006, true);
    ws.SetCheck(page, 1009, true);
    EXPECT_FALSE(ws.GetCheck(page, 1005));
    EXPECT_TRUE(ws.GetCheck(page, 1006));
    EXPECT_TRUE(ws.GetCheck(page, 1009));
    EXPECT_FALSE(ws.GetCheck(page, 1004));
    ws.SetCheck(page, 1009, false);
    EXPECT_FALSE(ws.GetCheck(page, 1009));
    ws.SetCheck(page, 1009, true);

    // A click is what the player's click gives: the group moves, a box toggles, the page hears of each.
    this->Click(page, 1005);
    this->Click(page, 1009);
    this->Click(page, 1004);
    this->Click(page, 1008);
    EXPECT_TRUE(ws.GetCheck(page, 1005));
    EXPECT_FALSE(ws.GetCheck(page, 1006));
    EXPECT_FALSE(ws.GetCheck(page, 1009));
    EXPECT_TRUE(ws.GetCheck(page, 1004));
    EXPECT_FALSE(ws.GetCheck(page, 1008));
    this->Click(page, 1006);
    EXPECT_FALSE(ws.GetCheck(page, 1005));
    EXPECT_TRUE(ws.GetCheck(page, 1006));
    EXPECT_TRUE(ws.GetCheck(page, 1004)) << "another group";
    EXPECT_EQ(handler.commands, (std::vector<int>{1005, 1009, 1004, 1008, 1006}));

    for (int id : {1, 2, 1008, 1005, 1006, 1009, 1004, 1007}) {
        ws.Enable(page, id, false);
        EXPECT_FALSE(this->driver.IsEnabled(page, id)) << id;
        EXPECT_TRUE(this->driver.IsEnabled(page, id == 1 ? 2 : 1)) << "one control at a time";
        ws.Enable(page, id, true);
        EXPECT_TRUE(this->driver.IsEnabled(page, id)) << id;
    }
    ws.Enable(page, 1009, false);
    EXPECT_TRUE(ws.GetCheck(page, 1004)) << "enabling keeps the state";
    ws.SetCheck(page, 1009, true);
    EXPECT_TRUE(ws.GetCheck(page, 1009)) << "a disabled box still takes the page's check";

    ws.ShowWindow(page, false);
    WindowHandle uninstall = this->ShownPage(pages::kUninstallSettingsDialog, uninstallHandler);
    this->Click(uninstall, 1007);
    EXPECT_TRUE(ws.GetCheck(uninstall, 1007));
    this->Click(uninstall, 1007);
    EXPECT_FALSE(ws.GetCheck(uninstall, 1007));
    EXPECT_EQ(uninstallHandler.commands, (std::vector<int>{1007, 1007}));
}

// CP932 in and out: trail bytes 0x5C ("表", "ソ", "能"), half-width kana, an ideographic space,
// a percent sign, and paths.
TYPED_TEST_P(WindowSystemConformance, TextsGoInAndComeOutAsTheirCp932Bytes) {
    auto& ws = this->ws;
    const std::string texts[] = {
        std::string(SJ("C:\\ゲーム\\表示ソフト\\")),
        std::string(SJ("　『表示能力』 100% ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑ")),
        std::string(SJ("ソ%s表%%示能")),
        std::string(SJ("能")),
        std::string(SJ("\"表示\"ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑへようこそ")),
        std::string(SJ("ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞ ＡＢＣ ①②")),
        std::string(),
    };
    RecordingDialog handler;
    WindowHandle page = this->Page(pages::kInstallSettingsDialog, handler);
    ASSERT_NE(page, nullptr);
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        for (int id : {1007, 1000, 1008, 1009, 1005}) {
            ws.SetText(page, id, text);
            EXPECT_EQ(ws.GetText(page, id), text) << id;
        }
        ws.SetCaption(this->main, text);
        EXPECT_EQ(ws.GetCaption(this->main), text);
    }
    ws.SetText(page, 4242, texts[0]);  // no such control: nothing happens
    EXPECT_EQ(ws.GetText(page, 4242), "");
    // The edit control tells its page of every text set into it, twice (update, change), and
    // whenever it gains or loses the focus; the other controls say nothing.
    EXPECT_EQ(handler.commands, std::vector<int>(2 * std::size(texts), 1007));
    handler.commands.clear();
    ws.ShowWindow(page, true);
    ws.SetFocus(ws.Control(page, 1007));
    EXPECT_EQ(handler.commands, std::vector<int>{1007});
    ws.SetFocus(ws.Control(page, 1007));
    ws.SetFocus(ws.Control(page, 1));
    ws.SetFocus(ws.Control(page, 1009));
    EXPECT_EQ(handler.commands, (std::vector<int>{1007, 1007}));
}

TYPED_TEST_P(WindowSystemConformance, ProgressBarsKeepTheLow16BitsOfTheirRangeAndGoRound) {
    auto& ws = this->ws;
    RecordingDialog handler;
    WindowHandle page = this->Page(pages::kCopyProgressDialog, handler);
    ASSERT_NE(page, nullptr);
    auto& driver = this->driver;
    for (int bar : {1003, 1001}) EXPECT_EQ(driver.ProgressOf(page, bar), (Progress{100, 10, 0})) << bar;

    for (std::uint32_t max : {0u, 1u, 200u, 65535u, 65536u, 65537u, 70000u, 131071u, 0x12345678u, 0xFFFFFFFFu}) {
        ws.SetProgressRange(page, 1003, max);
        EXPECT_EQ(driver.ProgressOf(page, 1003).max, max & 0xFFFF) << max;
    }
    EXPECT_EQ(driver.ProgressOf(page, 1001).max, 100u) << "one bar at a time";

    ws.SetProgressRange(page, 1003, 200);
    ws.SetProgressStep(page, 1003, 30);
    ws.SetProgressPos(page, 1003, 100);
    EXPECT_EQ(driver.ProgressOf(page, 1003), (Progress{200, 30, 100}));
    ws.StepProgress(page, 1003);
    EXPECT_EQ(driver.ProgressOf(page, 1003).pos, 130u);
    ws.SetProgressPos(page, 1003, 250);
    EXPECT_EQ(driver.ProgressOf(page, 1003).pos, 200u) << "a position past the end stops there";
    ws.SetProgressRange(page, 1003, 70000);  // 4464
    EXPECT_EQ(driver.ProgressOf(page, 1003).pos, 200u);
    ws.SetProgressPos(page, 1003, 5000);
    EXPECT_EQ(driver.ProgressOf(page, 1003).pos, 4464u);
    ws.SetProgressRange(page, 1003, 100);
    EXPECT_EQ(driver.ProgressOf(page, 1003).pos, 100u) << "a shorter range takes the position along";
    ws.SetProgressRange(page, 1003, 65536);  // 0: nothing moves
    ws.StepProgress(page, 1003);
    EXPECT_EQ(driver.ProgressOf(page, 1003), (Progress{0, 30, 0}));

    // Every step from every position of a short bar, forwards and backwards: past an end the bar
    // goes round by the length of its range.
    ws.SetProgressRange(page, 1001, 7);
    for (int step : {1, 3, 7, 10, -2}) {
        ws.SetProgressStep(page, 1001, step);
        for (int from = 0; from <= 7; ++from) {
            ws.SetProgressPos(page, 1001, static_cast<std::uint32_t>(from));
            ws.StepProgress(page, 1001);
            int to = from + step;
            if (to > 7) to %= 7;
            if (to < 0) to = to % 7 + 7;
            EXPECT_EQ(driver.ProgressOf(page, 1001), (Progress{7, step, static_cast<std::uint32_t>(to)}))
                << "step " << step << " from " << from;
        }
    }
}

// Each box shows its text and caption with its buttons and icon, belongs to the setup's main
// window when a page asks for it, and answers with the button pressed.
TYPED_TEST_P(WindowSystemConformance, MessageBoxesShowTheirTextsFlagsAndOwner) {
    auto& ws = this->ws;
    auto& driver = this->driver;
    const std::string question(SJ("ｾｯﾄｱｯﾌﾟをｷｬﾝｾﾙしますか？ 表示能力 100%"));
    const std::string caption(SJ("　『表示ソフト』 ｾｯﾄｱｯﾌﾟ"));
    driver.AnswerNextBox(ui::kIdNo);
    EXPECT_EQ(ws.ShowMessageBox(this->host, question, caption, ui::kMbYesNo | ui::kMbIconWarning), ui::kIdNo);
    driver.AnswerNextBox(ui::kIdYes);
    EXPECT_EQ(ws.ShowMessageBox(this->host, question, caption, ui::kMbYesNo | ui::kMbIconQuestion), ui::kIdYes);
    driver.AnswerNextBox(ui::kIdOk);
    EXPECT_EQ(ws.ShowMessageBox(nullptr, std::string(SJ("ﾌｧｲﾙ %s のｺﾋﾟｰに失敗")), std::string(SJ("ｺﾋﾟｰｴﾗｰ")),
                                ui::kMbOk | ui::kMbIconError),
              ui::kIdOk);
    driver.AnswerNextBox(ui::kIdOk);
    EXPECT_EQ(ws.ShowMessageBox(this->main, std::string(SJ("ｲﾝｽﾄｰﾙが完了しました。")), caption,
                                ui::kMbOk | ui::kMbIconInformation),
              ui::kIdOk);

    const std::vector<ShownBox> boxes = driver.Boxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, question);
    EXPECT_EQ(boxes[0].caption, caption);
    EXPECT_EQ(boxes[0].flags, ui::kMbYesNo | ui::kMbIconWarning);
    EXPECT_EQ(boxes[0].owner, this->main) << "a box a page asks for belongs to the main window";
    EXPECT_EQ(boxes[1].flags, ui::kMbYesNo | ui::kMbIconQuestion);
    EXPECT_EQ(boxes[2].text, std::string(SJ("ﾌｧｲﾙ %s のｺﾋﾟｰに失敗")));
    EXPECT_EQ(boxes[2].caption, std::string(SJ("ｺﾋﾟｰｴﾗｰ")));
    EXPECT_EQ(boxes[2].flags, ui::kMbOk | ui::kMbIconError);
    EXPECT_EQ(boxes[2].owner, nullptr);
    EXPECT_EQ(boxes[3].flags, ui::kMbOk | ui::kMbIconInformation);
    EXPECT_EQ(boxes[3].owner, this->main);
}

TYPED_TEST_P(WindowSystemConformance, TheFolderChooserPreselectsTheInitialFolderAndCancels) {
    auto& ws = this->ws;
    auto& driver = this->driver;
    testing_support::TempFolder tmp;
    const std::string name(SJ("表示ソフト"));
    std::filesystem::create_directories(tmp.host(name));
    const std::string initial = tmp.path(name);
    const std::string title(SJ("ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞの指定"));
    RecordingDialog handler;
    WindowHandle page = this->ShownPage(pages::kInstallSettingsDialog, handler);
    ASSERT_NE(page, nullptr);

    driver.AnswerNextChooser(true, initial);
    const ui::FolderChoice chosen = ws.BrowseForFolder(page, title, initial);
    EXPECT_EQ(chosen.outcome, ui::FolderChoice::Outcome::Chosen);
    EXPECT_EQ(chosen.path, initial) << "OK at once takes the preselected folder";

    driver.AnswerNextChooser(false, initial);
    const ui::FolderChoice cancelled = ws.BrowseForFolder(page, title, initial);
    EXPECT_EQ(cancelled.outcome, ui::FolderChoice::Outcome::Cancelled);
    EXPECT_EQ(cancelled.path, "");

    const std::vector<ShownChooser> shown = driver.Choosers();
    ASSERT_EQ(shown.size(), 2u);
    for (const ShownChooser& c : shown) {
        EXPECT_EQ(c.title, title);
        EXPECT_EQ(c.owner, this->main) << "the chooser belongs to the main window";
    }
}

REGISTER_TYPED_TEST_SUITE_P(WindowSystemConformance, EveryPageIsMadeFromItsTable, FocusGoesWhereThePagesPutIt,
                            TabWalksTheTabStopsOfTheInstallSettingsPage, EnterPressesTheDefaultButtonAndEscIsCancel,
                            ChecksRadioGroupsEnablingAndClicks, TextsGoInAndComeOutAsTheirCp932Bytes,
                            ProgressBarsKeepTheLow16BitsOfTheirRangeAndGoRound, MessageBoxesShowTheirTextsFlagsAndOwner,
                            TheFolderChooserPreselectsTheInitialFolderAndCancels);

}  // namespace conformance
