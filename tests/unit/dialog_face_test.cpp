// The dialogs' face: kept where it draws the setup's texts, else the first installed Japanese
// face that does, checked over every character the setup shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/dialog_face.h"
#include "pages/shown_texts.h"
#include "pages/welcome_page.h"
#include "support/cp932_literal.h"
#include "support/shown_texts.h"

namespace {

// Installed faces with the characters each draws; any other face is substituted by a default
// face that draws `defaultDraws`.
class ScriptedFonts : public ui::FontCatalog {
public:
    bool HasFace(const std::u16string& face) override { return faces.count(face) != 0; }
    std::u16string MissingGlyphs(const std::u16string& face, const std::u16string& characters) override {
        checked.push_back(face);
        auto it = faces.find(face);
        const std::u16string& draws = it == faces.end() ? defaultDraws : it->second;
        std::u16string missing;
        for (char16_t c : characters)
            if (draws.find(c) == std::u16string::npos) missing.push_back(c);
        return missing;
    }
    std::vector<std::u16string> ShiftJisFaces() override { return shiftJis; }

    std::map<std::u16string, std::u16string> faces;
    std::vector<std::u16string> shiftJis;
    std::u16string defaultDraws = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .%\"()";
    std::vector<std::u16string> checked;
};

setupdata::SetupData DemoData() {
    setupdata::SetupData d;
    d.title = std::string(SJ("星降る丘の物語"));
    d.folders = {std::string(SJ("音声")), "Data"};
    d.files.push_back(
        std::make_shared<setupdata::FileEntry>(setupdata::FileEntry{-1, std::string(SJ("台詞①.pak")), 1, 0}));
    return d;
}

const std::u16string kAll = app::CharactersOf(pages::ShownTexts(DemoData()));
const std::u16string kNamed(app::kNamedFace);

std::u16string Without(std::u16string s, char16_t c) {
    std::erase(s, c);
    return s;
}

TEST(DialogFace, TheCharactersOfEveryShownText) {
    // Distinct, in code order, without control characters; CP932 decoded (half-width katakana,
    // NEC specials, the wave dash's CP932 form).
    std::vector<std::string> texts{std::string(SJ("ｲﾝｽﾄｰﾙ\tｲ①")), "b\na", std::string(SJ("～")),
                                   std::string("\x81", 1)};

    // A lone lead byte shows as "?".
    EXPECT_EQ(app::CharactersOf(texts), u"?ab\u2460\uFF5E\uFF70\uFF72\uFF7D\uFF84\uFF99\uFF9D");

    // Every table text, every catalogue text and the description's names are in the set.
    const std::vector<std::string> shown = pages::ShownTexts(DemoData());
    auto holds = [&](std::string_view text) { return std::ranges::find(shown, std::string(text)) != shown.end(); };
    for (const ui::ControlTemplate& control : pages::kWelcomeDialog.controls)
        if (!control.text.empty()) {
            EXPECT_TRUE(holds(control.text));
        }
    for (std::string_view text : support::texts::All()) EXPECT_TRUE(holds(text));
    EXPECT_TRUE(holds(SJ("星降る丘の物語")));
    EXPECT_TRUE(holds(SJ("音声")));
    EXPECT_TRUE(holds(SJ("台詞①.pak")));
    for (char16_t c : std::u16string(u"星①台ｾ『』　！"))
        EXPECT_NE(kAll.find(c), std::u16string::npos) << std::hex << static_cast<int>(c);
}

TEST(DialogFace, TheNamedFaceThatDrawsEverythingStaysWhateverElseIsInstalled) {
    ScriptedFonts fonts;
    fonts.faces[kNamed] = kAll;
    for (std::u16string_view face : app::PreferredFaces()) fonts.faces[std::u16string(face)] = kAll;
    fonts.shiftJis = {u"IPAGothic"};
    const app::FaceChoice choice = app::ChooseDialogFace(fonts, kAll);
    EXPECT_EQ(choice.face, kNamed);
    EXPECT_EQ(choice.missing, 0u);
    EXPECT_EQ(fonts.checked, std::vector<std::u16string>{kNamed});

    // Also where the system only stands another font in for the name (a Japanese system without
    // it): what the dialogs would get draws everything, so nothing changes.
    ScriptedFonts substituted;
    substituted.defaultDraws = kAll;
    EXPECT_EQ(app::ChooseDialogFace(substituted, kAll).face, kNamed);
}

// Every subset of the preferred faces installed, each either whole or lacking one character:
// the first whole one in the list's order wins; with none whole, the first that misses least.
TEST(DialogFace, ThePreferenceOrderOverEveryInstalledSubset) {
    const auto preferred = app::PreferredFaces();
    const std::size_t n = preferred.size();
    ASSERT_EQ(n, 8u);
    const char16_t lacking = u'ﾌ';
    for (unsigned installed = 0; installed < (1u << n); ++installed) {
        for (unsigned whole = 0; whole < (1u << n); ++whole) {
            if ((whole & ~installed) != 0) continue;
            ScriptedFonts fonts;
            fonts.defaultDraws = kAll;  // a substitute that draws all must not make a missing face win
            fonts.faces[kNamed] = u"";  // the named face exists but draws nothing
            for (std::size_t i = 0; i < n; ++i)
                if (installed & (1u << i))
                    fonts.faces[std::u16string(preferred[i])] = (whole & (1u << i)) ? kAll : Without(kAll, lacking);
            const app::FaceChoice choice = app::ChooseDialogFace(fonts, kAll);
            std::u16string expected = kNamed;
            for (std::size_t i = 0; i < n; ++i)
                if (whole & (1u << i)) {
                    expected = std::u16string(preferred[i]);
                    break;
                }
            if (whole == 0)
                for (std::size_t i = 0; i < n; ++i)
                    if (installed & (1u << i)) {
                        expected = std::u16string(preferred[i]);
                        break;
                    }
            ASSERT_EQ(choice.face, expected) << "installed " << installed << " whole " << whole;
            ASSERT_EQ(choice.missing, whole ? 0u : installed ? 1u : kAll.size());
        }
    }
}

TEST(DialogFace, ShiftJisFacesComeAfterThePreferredOnes) {
    ScriptedFonts fonts;
    fonts.faces[u"VL PGothic"] = Without(kAll, u'星');
    fonts.faces[u"@TakaoPGothic"] = kAll;  // vertical writing: never
    fonts.faces[u"TakaoPGothic"] = kAll;
    fonts.faces[u"Sazanami"] = kAll;
    fonts.shiftJis = {u"@TakaoPGothic", u"vl pgothic", u"Ghost", u"TakaoPGothic", u"Sazanami"};
    EXPECT_EQ(app::ChooseDialogFace(fonts, kAll).face, u"TakaoPGothic");
    // A preferred face listed again is not checked twice; an enumerated name that does not exist
    // is not checked at all.
    EXPECT_EQ(std::ranges::count(fonts.checked, std::u16string(u"VL PGothic")), 1);
    EXPECT_EQ(std::ranges::count(fonts.checked, std::u16string(u"vl pgothic")), 0);
    EXPECT_EQ(std::ranges::count(fonts.checked, std::u16string(u"Ghost")), 0);
    EXPECT_EQ(std::ranges::count(fonts.checked, std::u16string(u"@TakaoPGothic")), 0);
}

TEST(DialogFace, WithoutAnyJapaneseFontTheNamedFaceStays) {
    ScriptedFonts fonts;  // only the Latin default face
    fonts.faces[u"DejaVu Sans"] = fonts.defaultDraws;
    fonts.shiftJis = {};
    const app::FaceChoice choice = app::ChooseDialogFace(fonts, kAll);
    EXPECT_EQ(choice.face, kNamed);
    EXPECT_GT(choice.missing, 0u);

    // A face that draws more than the others is better than boxes everywhere.
    fonts.faces[u"Kana Only"] = fonts.defaultDraws + u"ｲﾝｽﾄｰﾙｱｾｯﾌﾟ";
    fonts.shiftJis = {u"Kana Only"};
    EXPECT_EQ(app::ChooseDialogFace(fonts, kAll).face, u"Kana Only");
    // And nothing to draw leaves the named face.
    EXPECT_EQ(app::ChooseDialogFace(fonts, u"").face, kNamed);
}

// Whichever single character of the setup's texts the named face lacks, it is replaced: every
// character is checked, none is assumed.
TEST(DialogFace, AnyOneMissingCharacterReplacesTheNamedFace) {
    for (char16_t c : kAll) {
        ScriptedFonts fonts;
        fonts.faces[kNamed] = Without(kAll, c);
        fonts.faces[u"IPAPGothic"] = kAll;
        const app::FaceChoice choice = app::ChooseDialogFace(fonts, kAll);
        ASSERT_EQ(choice.face, u"IPAPGothic") << std::hex << static_cast<int>(c);
    }
}

}  // namespace
