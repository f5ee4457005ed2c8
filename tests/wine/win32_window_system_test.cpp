// The Win32 window system against the real user32, comctl32 and shell32: dialogs built from the
// portable tables, CP932 texts through the wide API, progress bars, keys on a page, the main
// window and the queue, and the modal boxes answered by a second thread.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "support/cp932_literal.h"
#include "support/system_text.h"
#include "test_support.h"
#include "ui/win32/win32_window_system.h"

namespace {

using ui::ControlKind;
using ui::ControlTemplate;
using ui::DialogTemplate;
using ui::WindowHandle;

HWND hwnd(WindowHandle w) { return reinterpret_cast<HWND>(w); }

// Under Wine windows need an X display; on Windows there is always a desktop.
bool haveDesktop() {
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return !wine || GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) > 0;
}

std::wstring classOf(HWND w) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    return name;
}

std::wstring wideTextOf(HWND w) {
    wchar_t text[256] = {};
    GetWindowTextW(w, text, 256);
    return text;
}

class RecordingDialog : public ui::DialogHandler {
public:
    bool OnInitDialog(WindowHandle dialog) override {
        initialised.push_back(dialog);
        return true;
    }
    bool OnCommand(WindowHandle, int id) override {
        commands.push_back(id);
        return true;
    }
    std::vector<WindowHandle> initialised;
    std::vector<int> commands;
};

class PlainWindow : public ui::MainWindowHandler {
public:
    bool OnCreate(WindowHandle window) override {
        created = window;
        return allowCreation;
    }
    void OnDestroy(WindowHandle window) override {
        destroyed = window;
        if (quitCodeOnDestroy) PostQuitMessage(quitCodeOnDestroy);
    }
    void OnSize(WindowHandle, long width, long height) override { sizes.push_back({width, height}); }
    bool allowCreation = true;
    int quitCodeOnDestroy = 0;
    WindowHandle created = nullptr, destroyed = nullptr;
    std::vector<std::pair<long, long>> sizes;
};

constexpr std::uint32_t kPage = ui::kWsChild | ui::kDsControl | ui::kDsSetFont;
constexpr std::uint32_t kGroupStop = ui::kWsGroup | ui::kWsTabStop;

// One control of every kind, with texts whose CP932 bytes hold trail bytes 0x5C ("表", "ソ"),
// half-width kana and an ideographic space.
const ControlTemplate kEveryKind[] = {
    {1001, ControlKind::DefaultPushButton, ui::kWsTabStop, SJ("表示ソフト"), 70, 36, 59, 14},
    {57665, ControlKind::PushButton, ui::kWsTabStop, SJ("DirectXのｲﾝｽﾄｰﾙ"), 72, 136, 59, 14},
    {50, ControlKind::Static, 0, SJ("ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞ"), 6, 114, 122, 19},
    {1007, ControlKind::Edit, ui::kEsReadOnly | ui::kEsAutoHScroll | ui::kWsBorder, {}, 5, 26, 126, 12},
    {1005, ControlKind::RadioButton, kGroupStop, SJ("音声なし　（約 %sﾊﾞｲﾄ）"), 6, 88, 122, 11},
    {1006, ControlKind::RadioButton, 0, SJ("ﾌﾙ"), 6, 102, 122, 11},
    {1009, ControlKind::CheckBox, kGroupStop, SJ("ｽﾀｰﾄﾒﾆｭｰへ登録"), 6, 126, 68, 10},
    {1003, ControlKind::ProgressBar, ui::kWsBorder, {}, 2, 155, 132, 10},
    {-1, ControlKind::GroupBox, 0, SJ("ｲﾝｽﾄｰﾙの設定"), 2, 2, 132, 186},
    {-1, ControlKind::EtchedLine, 0, {}, 4, 72, 128, 1},
    {551, ControlKind::BitmapStatic, ui::kSsCenterImage | ui::kSsRealSizeImage, {}, 0, 0, 40, 30},
};
const DialogTemplate kEveryKindDialog{202, kPage, 0, 138, 214, kEveryKind};

class Win32WindowSystemTest : public testing::Test {
protected:
    void SetUp() override {
        if (!haveDesktop()) GTEST_SKIP() << "no display for Wine";
        ui::win32::initializeCommonControls();
        owner = ws.CreateMainWindow(ownerHandler, "Owner");
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override {
        if (owner && IsWindow(hwnd(owner))) ws.DestroyWindow(owner);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {}  // nothing left for the next test
    }

    ui::win32::Win32WindowSystem ws;
    PlainWindow ownerHandler;
    WindowHandle owner = nullptr;
};

TEST_F(Win32WindowSystemTest, DialogHasEveryControlOfItsTemplateWhereTheTemplatePutsIt) {
    RecordingDialog handler;
    WindowHandle dialog = ws.CreateDialogWindow(kEveryKindDialog, owner, handler);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(handler.initialised, std::vector<WindowHandle>{dialog});
    EXPECT_FALSE(IsWindowVisible(hwnd(dialog))) << "a page without WS_VISIBLE starts hidden";
    EXPECT_EQ(GetDlgCtrlID(hwnd(dialog)), 202) << "a child dialog is known by its template number";

    const std::pair<int, const wchar_t*> classes[] = {{1001, L"Button"}, {57665, L"Button"}, {50, L"Static"},
                                                      {1007, L"Edit"},   {1005, L"Button"},  {1009, L"Button"},
                                                      {1003, L"msctls_progress32"},          {551, L"Static"}};
    for (auto [id, cls] : classes) {
        HWND control = hwnd(ws.Control(dialog, id));
        ASSERT_NE(control, nullptr) << id;
        EXPECT_EQ(classOf(control), cls) << id;
    }
    EXPECT_EQ(GetWindowLongW(hwnd(ws.Control(dialog, 1007)), GWL_STYLE) & ES_READONLY, ES_READONLY);
    EXPECT_EQ(GetWindowLongW(hwnd(ws.Control(dialog, 1005)), GWL_STYLE) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
    EXPECT_EQ(GetWindowLongW(hwnd(ws.Control(dialog, 1009)), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(SendMessageW(hwnd(ws.Control(dialog, 1001)), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON,
              DLGC_DEFPUSHBUTTON);

    // Dialog units through the dialog's own font; the system maps position and size apart.
    POINT origin{0, 0};
    ClientToScreen(hwnd(dialog), &origin);
    for (const ControlTemplate& t : kEveryKind) {
        if (t.id < 0 || t.id == 551) continue;
        RECT at{t.x, t.y, t.x, t.y}, size{0, 0, t.cx, t.cy};
        MapDialogRect(hwnd(dialog), &at);
        MapDialogRect(hwnd(dialog), &size);
        ui::Rect actual = ws.WindowRect(ws.Control(dialog, t.id));
        EXPECT_EQ(actual.left - origin.x, at.left) << t.id;
        EXPECT_EQ(actual.top - origin.y, at.top) << t.id;
        EXPECT_EQ(actual.width(), size.right) << t.id;
        EXPECT_EQ(actual.height(), size.bottom) << t.id;
    }

    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd(dialog), WM_GETFONT, 0, 0)), sizeof font, &font));
    EXPECT_STREQ(font.lfFaceName, L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
}

TEST_F(Win32WindowSystemTest, TextsTravelAsCp932BytesAndShowAsTheirCharacters) {
    RecordingDialog handler;
    WindowHandle dialog = ws.CreateDialogWindow(kEveryKindDialog, owner, handler);
    ASSERT_NE(dialog, nullptr);
    // The template texts, whatever the system's ANSI code page.
    EXPECT_EQ(wideTextOf(hwnd(ws.Control(dialog, 1001))), L"表示ソフト");
    EXPECT_EQ(wideTextOf(hwnd(ws.Control(dialog, 1005))), L"音声なし\u3000（約 %sﾊﾞｲﾄ）");
    for (int id : {1001, 57665, 50, 1005, 1009}) {
        std::string_view expected;
        for (const ControlTemplate& t : kEveryKind)
            if (t.id == id) expected = t.text;
        EXPECT_EQ(ws.GetText(dialog, id), std::string(expected)) << id;
    }
    const std::string path(SJ("C:\\ゲーム\\表示ソフト\\"));
    ws.SetText(dialog, 1007, path);
    EXPECT_EQ(wideTextOf(hwnd(ws.Control(dialog, 1007))), L"C:\\ゲーム\\表示ソフト\\");
    EXPECT_EQ(ws.GetText(dialog, 1007), path);
    const std::string caption(SJ("　『星降る丘』 ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑ"));
    ws.SetCaption(owner, caption);
    EXPECT_EQ(wideTextOf(hwnd(owner)), L"\u3000『星降る丘』 ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑ");
    EXPECT_EQ(ws.GetCaption(owner), caption);
    EXPECT_EQ(ws.GetText(dialog, 4242), "") << "no such control";

    // A path CP932 cannot spell shows its true characters and comes back byte for byte; so does
    // what the player or the system writes into a control.
    const std::wstring foreign = L"C:\\users\\Jos\u00E9\\\uAE40\uBBFC\uC900\\\u00A5\u00B2\u301C\xD800";
    const std::string carried = support::fromUtf16(std::u16string(foreign.begin(), foreign.end()));
    ws.SetText(dialog, 1007, carried);
    EXPECT_EQ(wideTextOf(hwnd(ws.Control(dialog, 1007))), foreign);
    EXPECT_EQ(ws.GetText(dialog, 1007), carried);
    SetWindowTextW(hwnd(ws.Control(dialog, 1007)), L"D:\\Caf\u00E9");
    EXPECT_EQ(ws.GetText(dialog, 1007), support::fromUtf16(u"D:\\Caf\u00E9"));
    EXPECT_NE(ws.GetText(dialog, 1007), "D:\\Cafe");
}

TEST_F(Win32WindowSystemTest, ChecksRadioGroupsEnablingAndClicks) {
    RecordingDialog handler;
    WindowHandle dialog = ws.CreateDialogWindow(kEveryKindDialog, owner, handler);
    ASSERT_NE(dialog, nullptr);
    ws.ShowWindow(owner, true);  // a click needs a window that can take the focus
    ws.ShowWindow(dialog, true);
    ws.SetCheck(dialog, 1006, true);
    ws.SetCheck(dialog, 1009, true);
    EXPECT_FALSE(ws.GetCheck(dialog, 1005));
    EXPECT_TRUE(ws.GetCheck(dialog, 1006));
    EXPECT_TRUE(ws.GetCheck(dialog, 1009));
    // A click is what a user's click gives: the automatic group moves, the box toggles, and the
    // page hears of each.
    SendMessageW(hwnd(ws.Control(dialog, 1005)), BM_CLICK, 0, 0);
    SendMessageW(hwnd(ws.Control(dialog, 1009)), BM_CLICK, 0, 0);
    SendMessageW(hwnd(ws.Control(dialog, 57665)), BM_CLICK, 0, 0);
    EXPECT_TRUE(ws.GetCheck(dialog, 1005));
    EXPECT_FALSE(ws.GetCheck(dialog, 1006));
    EXPECT_FALSE(ws.GetCheck(dialog, 1009));
    EXPECT_EQ(handler.commands, (std::vector<int>{1005, 1009, 57665}));

    ws.Enable(dialog, 57665, false);
    EXPECT_FALSE(IsWindowEnabled(hwnd(ws.Control(dialog, 57665))));
    ws.Enable(dialog, 57665, true);
    EXPECT_TRUE(IsWindowEnabled(hwnd(ws.Control(dialog, 57665))));
}

TEST_F(Win32WindowSystemTest, ProgressRangeKeepsItsLow16BitsAndTheBarSteps) {
    RecordingDialog handler;
    WindowHandle dialog = ws.CreateDialogWindow(kEveryKindDialog, owner, handler);
    ASSERT_NE(dialog, nullptr);
    HWND bar = hwnd(ws.Control(dialog, 1003));
    auto high = [&] { return static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0)); };
    ws.SetProgressRange(dialog, 1003, 65535);
    EXPECT_EQ(high(), 65535);
    ws.SetProgressRange(dialog, 1003, 70000);
    EXPECT_EQ(high(), 70000 - 65536);
    ws.SetProgressRange(dialog, 1003, 200);
    ws.SetProgressStep(dialog, 1003, 30);
    ws.SetProgressPos(dialog, 1003, 100);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 100);
    ws.StepProgress(dialog, 1003);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 130);
}

TEST_F(Win32WindowSystemTest, BannerKeepsItsTemplateSizeWhateverTheBitmap) {
    RecordingDialog handler;
    WindowHandle dialog = ws.CreateDialogWindow(kEveryKindDialog, owner, handler);
    ASSERT_NE(dialog, nullptr);
    ui::Rect before = ws.WindowRect(ws.Control(dialog, 551));
    HDC screen = GetDC(nullptr);
    HBITMAP big = CreateCompatibleBitmap(screen, 500, 400);
    ReleaseDC(nullptr, screen);
    ws.SetBannerImage(dialog, 551, big);
    EXPECT_EQ(ws.WindowRect(ws.Control(dialog, 551)), before);
    EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageW(hwnd(ws.Control(dialog, 551)), STM_GETIMAGE, IMAGE_BITMAP, 0)), big);
    ws.DestroyWindow(dialog);
    DeleteObject(big);
}

// A host with two pages as in the setup: keys pressed on the visible page reach that page.
TEST_F(Win32WindowSystemTest, TabEnterAndEscOnAPageReachThatPage) {
    const ControlTemplate hostControls[] = {{551, ControlKind::BitmapStatic, 0, {}, 0, 0, 60, 100}};
    const DialogTemplate host{129, ui::kWsChild | ui::kWsVisible | ui::kDsSetFont, ui::kWsExClientEdge, 200, 100,
                              hostControls};
    const ControlTemplate withDefault[] = {
        {1001, ControlKind::DefaultPushButton, ui::kWsTabStop, SJ("ｲﾝｽﾄｰﾙ"), 5, 5, 50, 14},
        {2, ControlKind::PushButton, ui::kWsTabStop, SJ("ｷｬﾝｾﾙ"), 5, 25, 50, 14},
        {1000, ControlKind::PushButton, ui::kWsTabStop | ui::kWsDisabled, SJ("ｹﾞｰﾑの起動"), 5, 45, 50, 14},
        {1009, ControlKind::CheckBox, kGroupStop, SJ("ｽﾀｰﾄﾒﾆｭｰへ登録"), 5, 65, 60, 10},
    };
    const ControlTemplate withoutDefault[] = {
        {1, ControlKind::PushButton, ui::kWsTabStop, SJ("ｲﾝｽﾄｰﾙ"), 5, 5, 50, 14},
        {1004, ControlKind::CheckBox, kGroupStop, SJ("ﾃﾞｽｸﾄｯﾌﾟ"), 5, 25, 60, 10},
    };
    const DialogTemplate first{201, kPage, 0, 100, 100, withDefault};
    const DialogTemplate second{202, kPage, 0, 100, 100, withoutDefault};

    RecordingDialog hostHandler, firstHandler, secondHandler;
    WindowHandle hostWindow = ws.CreateDialogWindow(host, owner, hostHandler);
    ASSERT_NE(hostWindow, nullptr);
    WindowHandle a = ws.CreateDialogWindow(first, hostWindow, firstHandler);
    WindowHandle b = ws.CreateDialogWindow(second, hostWindow, secondHandler);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ws.MoveWindow(a, {60, 0, 160, 100});
    ws.MoveWindow(b, {60, 0, 160, 100});
    ws.ShowWindow(owner, true);
    ws.ShowWindow(a, true);
    ws.SetFocus(ws.Control(a, 1001));

    auto press = [&](std::uintptr_t key, WindowHandle page) {
        ui::Message m{reinterpret_cast<WindowHandle>(GetFocus()), ui::kWmKeyDown, key};
        return ws.RouteDialogMessage(page, m);
    };
    EXPECT_FALSE(press(ui::kVkTab, b)) << "a key on another page is not this page's";
    ASSERT_TRUE(press(ui::kVkTab, a));
    EXPECT_EQ(GetFocus(), hwnd(ws.Control(a, 2)));
    ASSERT_TRUE(press(ui::kVkTab, a));
    EXPECT_EQ(GetFocus(), hwnd(ws.Control(a, 1009))) << "the disabled button is skipped";

    EXPECT_TRUE(press(ui::kVkReturn, a));  // on the check box: the page's default button
    ws.SetFocus(ws.Control(a, 2));
    EXPECT_TRUE(press(ui::kVkReturn, a));  // on a push button: that button
    EXPECT_TRUE(press(ui::kVkEscape, a));
    EXPECT_EQ(firstHandler.commands, (std::vector<int>{1001, 2, 2}));
    EXPECT_TRUE(hostHandler.commands.empty());
    EXPECT_TRUE(secondHandler.commands.empty());

    ws.ShowWindow(a, false);
    ws.ShowWindow(b, true);
    ws.SetFocus(ws.Control(b, 1004));
    EXPECT_TRUE(press(ui::kVkReturn, b));  // no default button: OK
    EXPECT_EQ(secondHandler.commands, std::vector<int>{1});
    EXPECT_EQ(firstHandler.commands.size(), 3u);
}

TEST_F(Win32WindowSystemTest, MainWindowFrameHandlerAndQueue) {
    PlainWindow handler;
    handler.quitCodeOnDestroy = 3;
    WindowHandle main = ws.CreateMainWindow(handler, std::string(SJ("ｾｯﾄｱｯﾌﾟ")));
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(handler.created, main) << "OnCreate runs inside the creation";
    const LONG style = GetWindowLongW(hwnd(main), GWL_STYLE), exStyle = GetWindowLongW(hwnd(main), GWL_EXSTYLE);
    EXPECT_EQ(style & 0x02C00000, 0x02C00000);
    EXPECT_EQ(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(exStyle & 0x00040100, 0x00040100);
    EXPECT_EQ(ws.GetCaption(main), std::string(SJ("ｾｯﾄｱｯﾌﾟ")));
    ws.RemoveMenu(main);
    EXPECT_EQ(GetMenu(hwnd(main)), nullptr);

    ws.SetWindowPos(main, 10, 20, 300, 200, true, true);
    ui::Rect client = ws.ClientRect(main);
    ASSERT_FALSE(handler.sizes.empty());
    EXPECT_EQ(handler.sizes.back(), std::make_pair(client.width(), client.height()));
    EXPECT_EQ(ws.WindowRect(main), (ui::Rect{10, 20, 310, 220}));
    ws.SetWindowPos(main, 40, 50, 0, 0, true, false);
    EXPECT_EQ(ws.WindowRect(main), (ui::Rect{40, 50, 340, 250})) << "a move keeps the size";

    // What the loop takes from the queue goes back to the system unchanged.
    const WPARAM wide = static_cast<WPARAM>(~static_cast<WPARAM>(0) - 5);
    const LPARAM negative = -123456;
    PostMessageW(hwnd(main), WM_APP + 7, wide, negative);
    ui::Message m;
    ASSERT_TRUE(ws.PeekQueue(m, false));
    ASSERT_TRUE(ws.PeekQueue(m, true));
    EXPECT_EQ(m.window, main);
    EXPECT_EQ(m.code, static_cast<std::uint32_t>(WM_APP + 7));
    EXPECT_EQ(m.wParam, wide);
    EXPECT_EQ(m.lParam, negative);
    EXPECT_FALSE(ws.PeekQueue(m, false));

    // A close goes to the default handling, which destroys the window.
    ws.PostClose(main);
    ASSERT_EQ(ws.NextMessage(m), 1);
    EXPECT_EQ(m.code, ui::kWmClose);
    ws.TranslateAndDispatch(m);
    EXPECT_EQ(handler.destroyed, main);
    EXPECT_FALSE(IsWindow(hwnd(main)));
    ASSERT_EQ(ws.NextMessage(m), 0);
    EXPECT_EQ(m.wParam, 3u);

    PlainWindow refusing;
    refusing.allowCreation = false;
    EXPECT_EQ(ws.CreateMainWindow(refusing, "x"), nullptr);
}

// A second thread answers the modal box of the test's thread.
class BoxAnswerer {
public:
    // `answer` gets the box's window once it shows and acts on it.
    explicit BoxAnswerer(std::function<void(HWND)> answer)
        : thread_(GetCurrentThreadId()), worker_([this, answer] {
              for (int i = 0; i < 200 && !found_; ++i) {
                  EnumThreadWindows(thread_, &BoxAnswerer::find, reinterpret_cast<LPARAM>(this));
                  if (!found_) std::this_thread::sleep_for(std::chrono::milliseconds(50));
              }
              if (found_) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let it settle
                  answer(found_);
              }
          }) {}
    ~BoxAnswerer() { worker_.join(); }
    bool found() const { return found_ != nullptr; }

private:
    static BOOL CALLBACK find(HWND w, LPARAM self) {
        if (!IsWindowVisible(w) || classOf(w) != L"#32770") return TRUE;
        reinterpret_cast<BoxAnswerer*>(self)->found_ = w;
        return FALSE;
    }
    DWORD thread_;
    std::atomic<HWND> found_{nullptr};
    std::thread worker_;
};

TEST_F(Win32WindowSystemTest, MessageBoxShowsTheTextsAndAnswers) {
    std::wstring text, caption;
    int answer;
    {
        BoxAnswerer answerer([&](HWND box) {
            caption = wideTextOf(box);
            text = wideTextOf(GetDlgItem(box, 0xFFFF));
            PostMessageW(box, WM_COMMAND, IDNO, 0);
        });
        answer = ws.ShowMessageBox(owner, std::string(SJ("ｾｯﾄｱｯﾌﾟをｷｬﾝｾﾙしますか？")),
                                   std::string(SJ("　『表』 ｾｯﾄｱｯﾌﾟ")), ui::kMbYesNo | ui::kMbIconWarning);
    }
    EXPECT_EQ(answer, ui::kIdNo);
    EXPECT_EQ(text, L"ｾｯﾄｱｯﾌﾟをｷｬﾝｾﾙしますか？");
    EXPECT_EQ(caption, L"\u3000『表』 ｾｯﾄｱｯﾌﾟ");
}

TEST_F(Win32WindowSystemTest, FolderChooserPreselectsTheInitialFolderAndReportsTheChoice) {
    testing_support::TempFolder tmp;
    const std::string name(SJ("表示ソフト"));
    std::filesystem::create_directories(tmp.host(name));
    const std::string initial = tmp.path(name);

    ui::FolderChoice chosen;
    {
        BoxAnswerer answerer([](HWND chooser) {
            // A fresh prefix fills the tree slowly: OK once the preselected folder is the selection.
            HWND tree = FindWindowExW(chooser, nullptr, L"SysTreeView32", nullptr);
            for (int i = 0; tree && i < 200; ++i) {
                wchar_t text[64] = {};
                TVITEMW item{};
                item.mask = TVIF_TEXT;
                item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
                item.pszText = text;
                item.cchTextMax = 64;
                if (item.hItem && SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) &&
                    std::wstring(text) == L"表示ソフト")
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            PostMessageW(chooser, WM_COMMAND, IDOK, 0);
        });
        chosen = ws.BrowseForFolder(owner, std::string(SJ("ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞの指定")), initial);
        ASSERT_TRUE(answerer.found());
    }
    EXPECT_EQ(chosen.outcome, ui::FolderChoice::Outcome::Chosen);
    EXPECT_EQ(chosen.path, initial) << "OK at once takes the preselected folder";

    ui::FolderChoice cancelled;
    {
        BoxAnswerer answerer([](HWND chooser) { PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0); });
        cancelled = ws.BrowseForFolder(owner, "x", initial);
    }
    EXPECT_EQ(cancelled.outcome, ui::FolderChoice::Outcome::Cancelled);
}

}  // namespace
