// The setup's window at the display's DPI, under the named face and each the setup looks for in its
// place: every static text of the five pages fits its control, measured as the control draws it,
// and a banner made for 100% or for 200% covers its control. tests/wine/dpi_sweep.sh runs it at each
// DPI of its table; its run at 96 DPI leaves the banner's size at 100% for the others.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <map>

#include "app/dialog_face.h"
#include "app/setup_window.h"
#include "os/services.h"
#include "pages/shown_texts.h"
#include "support/system_text.h"
#include "test_support.h"
#include "ui/win32/font_catalog.h"
#include "ui/win32/win32_window_system.h"
#include "wine/win32_test_windows.h"

namespace {

std::string BitmapFile(std::uint32_t width, std::uint32_t height) {  // 24 bits a pixel, one colour
    const std::uint32_t size = (width * 3 + 3) / 4 * 4 * height,
                        header[13] = {54 + size, 0, 54, 40, width, height, 1 | 24 << 16};
    return "BM" + std::string(reinterpret_cast<const char*>(header), sizeof header) + std::string(size, '\x60');
}

// Opens the setup's window over the medium as Setup.exe does, checks that every static text fits,
// and answers the banner control's size and its bitmap's.
std::pair<SIZE, SIZE> Open(const testing_support::TempFolder& medium, const std::wstring& face, const std::string& at) {
    testing_support::CurrentFolder cd(medium.path());
    struct : setupdata::StartupErrorBox {
        void Show(const std::string& text) override { ADD_FAILURE() << text; }
    } box;
    setupdata::SetupContext context(os::SystemServices(), box);
    ui::win32::Win32WindowSystem ws;
    if (!face.empty()) ws.SetDialogFace(face);
    app::MessageLoop loop(ws);
    app::SetupWindow window(ws, context, loop);
    if (!window.Create()) return {};
    HDC dc = CreateCompatibleDC(nullptr);  // measures as the screen does
    HWND banner = GetDlgItem(reinterpret_cast<HWND>(window.client), 551);
    for (HWND page = GetWindow(banner, GW_HWNDNEXT); page; page = GetWindow(page, GW_HWNDNEXT))
        for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            const LONG type = GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK;
            const std::wstring text = win32_test::WideTextOf(c);
            if (win32_test::ClassOf(c) != L"Static" || (type != SS_LEFT && type != SS_CENTER) || text.empty()) continue;
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));  // as the control draws
            RECT client{}, need{};
            GetClientRect(c, &client);
            need.right = client.right;
            DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | (type ? DT_CENTER : 0));
            EXPECT_TRUE(need.right <= client.right && need.bottom <= client.bottom)
                << at << support::ToUtf8Lossy(support::FromUtf16(std::u16string(text.begin(), text.end()))) << " needs "
                << need.right << " x " << need.bottom << ", has " << client.right << " x " << client.bottom;
        }
    DeleteDC(dc);
    RECT r{};
    GetClientRect(banner, &r);
    BITMAP bitmap{};
    GetObjectW(reinterpret_cast<HBITMAP>(SendMessageW(banner, STM_GETIMAGE, IMAGE_BITMAP, 0)), sizeof bitmap, &bitmap);
    ws.DestroyWindow(window.window);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }  // the quit code the window posted
    return {{r.right, r.bottom}, {bitmap.bmWidth, bitmap.bmHeight}};
}

TEST(DpiLayout, EveryTextFitsAndABannerForItsDpiCoversItsControl) {
    if (!win32_test::HaveDesktop()) GTEST_SKIP() << "no display for Wine";
    ui::win32::InitializeCommonControls();
    const int dpi = ui::win32::Win32WindowSystem().DisplayDpi();
    std::vector<std::wstring> faces(1);  // empty: the named face
    ui::win32::SystemFontCatalog fonts;
    const std::u16string characters = app::CharactersOf(pages::ShownTexts(setupdata::SetupData()));
    for (std::u16string_view face : app::PreferredFaces())
        if (fonts.HasFace(std::u16string(face)) && fonts.MissingGlyphs(std::u16string(face), characters).empty())
            faces.emplace_back(face.begin(), face.end());
    // "face" width height: the banner control's size at 96 DPI.
    wchar_t sizes[MAX_PATH] = {};
    GetEnvironmentVariableW(L"SETUP_BANNER_SIZES", sizes, MAX_PATH);
    std::map<std::string, SIZE> at96;
    std::fstream file(std::filesystem::path(sizes), dpi == 96 ? std::ios::out : std::ios::in);
    for (std::string face; dpi != 96 && file >> std::quoted(face) >> at96[face].cx >> at96[face].cy;) {
    }

    testing_support::TempFolder medium;
    std::filesystem::copy(DEMO_MEDIUM, medium.host(), std::filesystem::copy_options::recursive);
    for (const std::wstring& face : faces) {
        const std::string name = face.empty() ? "the named face" : std::string(face.begin(), face.end());
        const std::string at = std::to_string(dpi) + " DPI, " + name + ": ";
        std::filesystem::remove(medium.host("Setup.bmp"));
        const SIZE control = Open(medium, face, at).first;
        if (dpi == 96) file << std::quoted(name) << ' ' << (at96[name] = control).cx << ' ' << control.cy << '\n';
        for (long times : {1, 2}) {
            if (!at96[name].cx) break;  // run alone at this DPI
            medium.write("Setup.bmp", BitmapFile(at96[name].cx * times, at96[name].cy * times));
            const SIZE drawn = Open(medium, face, at).second;
            std::printf("%sbanner %ld x %ld, the %ld%% picture drawn %ld x %ld\n", at.c_str(), control.cx, control.cy,
                        times * 100, drawn.cx, drawn.cy);
            EXPECT_TRUE(drawn.cx >= control.cx && drawn.cy >= control.cy) << at << times;
            // At 100% a picture for 100% is shown as it is, and one for 200% at half its size.
            EXPECT_TRUE(dpi != 96 || (drawn.cx == control.cx && drawn.cy == control.cy)) << at << times;
        }
    }
}

}  // namespace
