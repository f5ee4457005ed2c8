// The installed fonts as GDI reports them, the face the setup picks from them, and dialogs built
// with that face. The prefix of the tests names IPAPGothic "ＭＳ Ｐゴシック", as a Japanese
// Windows has it.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "app/dialog_face.h"
#include "pages/shown_texts.h"
#include "pages/welcome_page.h"
#include "support/cp932_literal.h"
#include "ui/win32/dialog_memory_template.h"
#include "ui/win32/font_catalog.h"
#include "ui/win32/win32_window_system.h"

namespace {

const std::u16string kNamed(app::kNamedFace);

std::u16string SetupCharacters() {
    setupdata::SetupData data;
    data.title = std::string(SJ("星降る丘の物語"));
    return app::CharactersOf(pages::ShownTexts(data));
}

TEST(SystemFontCatalog, KnowsTheInstalledFacesAndTheirGlyphs) {
    ui::win32::SystemFontCatalog fonts;
    EXPECT_TRUE(fonts.HasFace(u"IPAPGothic"));
    EXPECT_TRUE(fonts.HasFace(u"ipapgothic"));  // names compare without case, as GDI's do
    EXPECT_FALSE(fonts.HasFace(u"No Such Face At All"));
    EXPECT_FALSE(fonts.HasFace(u""));

    const std::u16string all = SetupCharacters();
    EXPECT_EQ(fonts.MissingGlyphs(u"IPAPGothic", all), u"");
    EXPECT_EQ(fonts.MissingGlyphs(kNamed, all), u"");  // the prefix's stand-in
    // U+0378 is unassigned: no font has it, and the lookup says so in place.
    EXPECT_EQ(fonts.MissingGlyphs(u"IPAPGothic", u"A\u0378\u30A4"), u"\u0378");
    EXPECT_EQ(fonts.MissingGlyphs(u"IPAPGothic", u""), u"");

    const std::vector<std::u16string> shiftJis = fonts.ShiftJisFaces();
    // Listed under its English or its Japanese name, as the system's locale has it.
    EXPECT_TRUE(std::ranges::find(shiftJis, std::u16string(u"IPAGothic")) != shiftJis.end() ||
                std::ranges::find(shiftJis, std::u16string(u"IPA\u30B4\u30B7\u30C3\u30AF")) != shiftJis.end());
}

TEST(SystemFontCatalog, WhereTheNamedFaceDrawsEverythingItIsChosen) {
    ui::win32::SystemFontCatalog fonts;
    const app::FaceChoice choice = app::ChooseDialogFace(fonts, SetupCharacters());
    EXPECT_EQ(choice.face, kNamed);
    EXPECT_EQ(choice.missing, 0u);
}

std::wstring FaceOf(HWND dialog, LONG* height) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LOGFONTW described{};
    if (!font || !GetObjectW(font, sizeof described, &described)) return L"(none)";
    *height = described.lfHeight;
    return described.lfFaceName;
}

TEST(DialogFaceTemplate, TheChosenFaceAtNinePointsAndNothingElseChanges) {
    const auto named = ui::win32::BuildDialogTemplate(pages::kWelcomeDialog);
    EXPECT_EQ(named, ui::win32::BuildDialogTemplate(pages::kWelcomeDialog, ui::win32::kDialogFontFace));
    const auto other = ui::win32::BuildDialogTemplate(pages::kWelcomeDialog, L"IPAPGothic");
    // The header up to the point size is the same; then the face, then the same controls.
    const std::size_t face = 13;  // words before the face name
    ASSERT_EQ(named[face - 1], 9u);
    EXPECT_TRUE(std::equal(named.begin(), named.begin() + face, other.begin()));
    const std::size_t namedEnd = face + std::wstring_view(ui::win32::kDialogFontFace).size() + 1;
    const std::size_t otherEnd = face + 11;
    // Controls start DWORD-aligned in the whole template, so compare from the first control on.
    auto firstControl = [](std::size_t end) { return end + (end % 2); };
    EXPECT_TRUE(std::equal(named.begin() + firstControl(namedEnd), named.end(), other.begin() + firstControl(otherEnd),
                           other.end()));
}

TEST(DialogFaceTemplate, DialogsOfTheWindowSystemTakeTheFaceTheyAreGiven) {
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (wine && GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) GTEST_SKIP() << "no display for Wine";
    struct Quiet : ui::DialogHandler {
        bool OnInitDialog(ui::WindowHandle) override { return true; }
        bool OnCommand(ui::WindowHandle, int) override { return false; }
    } handler;
    ui::win32::Win32WindowSystem ws;
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    HDC screen = GetDC(nullptr);
    const LONG nine = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    for (const wchar_t* face : {static_cast<const wchar_t*>(nullptr), L"IPAPGothic", L"IPAGothic"}) {
        if (face) ws.SetDialogFace(face);
        HWND dialog = reinterpret_cast<HWND>(
            ws.CreateDialogWindow(pages::kWelcomeDialog, reinterpret_cast<ui::WindowHandle>(parent), handler));
        ASSERT_NE(dialog, nullptr);
        LONG height = 0;
        EXPECT_EQ(FaceOf(dialog, &height), face ? std::wstring(face) : std::wstring(ui::win32::kDialogFontFace));
        EXPECT_EQ(height, nine);
        DestroyWindow(dialog);
    }
    DestroyWindow(parent);
}

}  // namespace
