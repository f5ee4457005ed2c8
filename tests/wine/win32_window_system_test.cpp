// What only the Win32 window system has, against the real user32 and comctl32: the classes,
// styles, places and font of the controls built from a table, the characters the wide API shows,
// the banner, the main window's frame and the queue. What every window system does alike is in
// the conformance suite (tests/conformance).
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "support/cp932_literal.h"
#include "support/system_text.h"
#include "ui/win32/win32_window_system.h"
#include "wine/win32_test_windows.h"

namespace {

using ui::ControlKind;
using ui::ControlTemplate;
using ui::DialogTemplate;
using ui::WindowHandle;
using win32_test::ClassOf;
using win32_test::WideTextOf;

HWND Hwnd(WindowHandle w) { return reinterpret_cast<HWND>(w); }

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
        if (!win32_test::HaveDesktop()) GTEST_SKIP() << "no display for Wine";
        ui::win32::InitializeCommonControls();
        owner = ws.CreateMainWindow(ownerHandler, "Owner");
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override {
        if (owner && IsWindow(Hwnd(owner))) ws.DestroyWindow(owner);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }  // nothing left for the next test
    }

    ui::win32::Win32WindowSystem ws;
    PlainWindow ownerHandler;
    WindowHandle owner = nullptr;
};

TEST_F(Win32WindowSystemTest, DialogHasEveryControlOfItsTemplateWhereTheTemplatePutsIt) {
    RecordingDialog handler;
    WindowHandle dialog = ws.CreateDialogWindow(kEveryKindDialog, owner, handler);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetDlgCtrlID(Hwnd(dialog)), 202) << "a child dialog is known by its template number";

    const std::pair<int, const wchar_t*> classes[] = {
        {1001, L"Button"}, {57665, L"Button"},           {50, L"Static"}, {1007, L"Edit"}, {1005, L"Button"},
        {1009, L"Button"}, {1003, L"msctls_progress32"}, {551, L"Static"}};
    for (auto [id, cls] : classes) {
        HWND control = Hwnd(ws.Control(dialog, id));
        ASSERT_NE(control, nullptr) << id;
        EXPECT_EQ(ClassOf(control), cls) << id;
    }
    EXPECT_EQ(GetWindowLongW(Hwnd(ws.Control(dialog, 1007)), GWL_STYLE) & ES_READONLY, ES_READONLY);
    EXPECT_EQ(GetWindowLongW(Hwnd(ws.Control(dialog, 1005)), GWL_STYLE) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
    EXPECT_EQ(GetWindowLongW(Hwnd(ws.Control(dialog, 1009)), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(SendMessageW(Hwnd(ws.Control(dialog, 1001)), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON,
              DLGC_DEFPUSHBUTTON);

    // Dialog units through the dialog's own font; the system maps position and size apart.
    POINT origin{0, 0};
    ClientToScreen(Hwnd(dialog), &origin);
    for (const ControlTemplate& t : kEveryKind) {
        if (t.id < 0 || t.id == 551) continue;
        RECT at{t.x, t.y, t.x, t.y}, size{0, 0, t.cx, t.cy};
        MapDialogRect(Hwnd(dialog), &at);
        MapDialogRect(Hwnd(dialog), &size);
        ui::Rect actual = ws.WindowRect(ws.Control(dialog, t.id));
        EXPECT_EQ(actual.left - origin.x, at.left) << t.id;
        EXPECT_EQ(actual.top - origin.y, at.top) << t.id;
        EXPECT_EQ(actual.width(), size.right) << t.id;
        EXPECT_EQ(actual.height(), size.bottom) << t.id;
    }

    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Hwnd(dialog), WM_GETFONT, 0, 0)), sizeof font, &font));
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
    EXPECT_EQ(WideTextOf(Hwnd(ws.Control(dialog, 1001))), L"表示ソフト");
    EXPECT_EQ(WideTextOf(Hwnd(ws.Control(dialog, 1005))), L"音声なし\u3000（約 %sﾊﾞｲﾄ）");
    const std::string path(SJ("C:\\ゲーム\\表示ソフト\\"));
    ws.SetText(dialog, 1007, path);
    EXPECT_EQ(WideTextOf(Hwnd(ws.Control(dialog, 1007))), L"C:\\ゲーム\\表示ソフト\\");
    EXPECT_EQ(ws.GetText(dialog, 1007), path);
    const std::string caption(SJ("　『星降る丘』 ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑ"));
    ws.SetCaption(owner, caption);
    EXPECT_EQ(WideTextOf(Hwnd(owner)), L"\u3000『星降る丘』 ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑ");
    EXPECT_EQ(ws.GetCaption(owner), caption);

    // A path CP932 cannot spell shows its true characters and comes back byte for byte; so does
    // what the player or the system writes into a control.
    const std::wstring foreign = L"C:\\users\\Jos\u00E9\\\uAE40\uBBFC\uC900\\\u00A5\u00B2\u301C\xD800";
    const std::string carried = support::FromUtf16(std::u16string(foreign.begin(), foreign.end()));
    ws.SetText(dialog, 1007, carried);
    EXPECT_EQ(WideTextOf(Hwnd(ws.Control(dialog, 1007))), foreign);
    EXPECT_EQ(ws.GetText(dialog, 1007), carried);
    SetWindowTextW(Hwnd(ws.Control(dialog, 1007)), L"D:\\Caf\u00E9");
    EXPECT_EQ(ws.GetText(dialog, 1007), support::FromUtf16(u"D:\\Caf\u00E9"));
    EXPECT_NE(ws.GetText(dialog, 1007), "D:\\Cafe");
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
    EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageW(Hwnd(ws.Control(dialog, 551)), STM_GETIMAGE, IMAGE_BITMAP, 0)),
              big);
    ws.DestroyWindow(dialog);
    DeleteObject(big);
}

TEST_F(Win32WindowSystemTest, MainWindowFrameHandlerAndQueue) {
    PlainWindow handler;
    handler.quitCodeOnDestroy = 3;
    WindowHandle main = ws.CreateMainWindow(handler, std::string(SJ("ｾｯﾄｱｯﾌﾟ")));
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(handler.created, main) << "OnCreate runs inside the creation";
    const LONG style = GetWindowLongW(Hwnd(main), GWL_STYLE), exStyle = GetWindowLongW(Hwnd(main), GWL_EXSTYLE);
    EXPECT_EQ(style & 0x02C00000, 0x02C00000);
    EXPECT_EQ(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(exStyle & 0x00040100, 0x00040100);
    EXPECT_EQ(ws.GetCaption(main), std::string(SJ("ｾｯﾄｱｯﾌﾟ")));
    ws.RemoveMenu(main);
    EXPECT_EQ(GetMenu(Hwnd(main)), nullptr);

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
    PostMessageW(Hwnd(main), WM_APP + 7, wide, negative);
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
    EXPECT_FALSE(IsWindow(Hwnd(main)));
    ASSERT_EQ(ws.NextMessage(m), 0);
    EXPECT_EQ(m.wParam, 3u);

    PlainWindow refusing;
    refusing.allowCreation = false;
    EXPECT_EQ(ws.CreateMainWindow(refusing, "x"), nullptr);
}

// What a handler throws stays on its side of Windows' frames (the i686 unwinder cannot pass them):
// a creation that throws fails, a command that throws is unhandled, and a main window whose end
// throws still ends the loop.
TEST_F(Win32WindowSystemTest, NothingAHandlerThrowsCrossesWindows) {
    struct Throwing : ui::DialogHandler, ui::MainWindowHandler {
        explicit Throwing(bool creation) : creationThrows(creation) {}
        bool OnInitDialog(WindowHandle) override { return creationThrows ? throw std::bad_alloc() : true; }
        bool OnCommand(WindowHandle, int) override { throw std::bad_alloc(); }
        bool OnCreate(WindowHandle) override { return creationThrows ? throw std::bad_alloc() : true; }
        void OnDestroy(WindowHandle) override {
            if (!creationThrows) throw std::bad_alloc();
        }
        void OnSize(WindowHandle, long, long) override {}
        bool creationThrows;
    };
    Throwing failing(true);
    EXPECT_EQ(ws.CreateDialogWindow(kEveryKindDialog, owner, failing), nullptr);
    EXPECT_EQ(ws.CreateMainWindow(failing, "x"), nullptr);

    Throwing throwing(false);
    WindowHandle dialog = ws.CreateDialogWindow(kEveryKindDialog, owner, throwing);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SendMessageW(Hwnd(dialog), WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0), 0);
    EXPECT_TRUE(IsWindow(Hwnd(dialog)));

    WindowHandle main = ws.CreateMainWindow(throwing, "x");
    ASSERT_NE(main, nullptr);
    ws.DestroyWindow(main);
    EXPECT_FALSE(IsWindow(Hwnd(main)));
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the loop would run for ever";
    EXPECT_EQ(quit.wParam, 1u);
}

}  // namespace
