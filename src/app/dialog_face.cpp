#include "app/dialog_face.h"

#include <algorithm>
#include <vector>

#include "support/cp932.h"

namespace app {
namespace {

constexpr std::u16string_view kPreferred[] = {
    u"MS PGothic", u"MS UI Gothic",  u"Meiryo UI",        u"Yu Gothic UI",
    u"IPAPGothic", u"VL PGothic",    u"Noto Sans CJK JP", u"Source Han Sans JP",
};

char16_t foldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool sameFace(std::u16string_view a, std::u16string_view b) {
    return std::ranges::equal(a, b, [](char16_t x, char16_t y) { return foldAscii(x) == foldAscii(y); });
}

// UTF-8 to UTF-16 for the code points CP932 yields, all of them in the basic plane.
void appendUtf16(std::string_view utf8, std::u16string& out) {
    for (std::size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80 ? 0 : b >= 0xE0 ? 2 : 1;
        char32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += static_cast<std::size_t>(extra) + 1;
        out.push_back(static_cast<char16_t>(cp));
    }
}

}  // namespace

std::span<const std::u16string_view> PreferredFaces() { return kPreferred; }

std::u16string CharactersOf(std::span<const std::string> texts) {
    std::u16string all;
    for (const std::string& text : texts) appendUtf16(support::toUtf8Lossy(text), all);
    std::erase_if(all, [](char16_t c) { return c < 0x20 || c == 0x7F; });
    std::ranges::sort(all);
    all.erase(std::unique(all.begin(), all.end()), all.end());
    return all;
}

FaceChoice ChooseDialogFace(ui::FontCatalog& fonts, const std::u16string& characters) {
    std::vector<std::u16string> tried;
    FaceChoice best;
    bool haveBest = false;
    // The named face is taken as the system resolves it: whatever it stands for draws the dialogs.
    auto consider = [&](const std::u16string& face, bool mustExist) {
        if (face.empty() || face.front() == u'@') return false;  // vertical-writing faces
        for (const std::u16string& seen : tried)
            if (sameFace(seen, face)) return false;
        tried.push_back(face);
        if (mustExist && !fonts.HasFace(face)) return false;
        const std::size_t missing = fonts.MissingGlyphs(face, characters).size();
        if (!haveBest || missing < best.missing) {
            best = {face, missing};
            haveBest = true;
        }
        return missing == 0;
    };
    if (consider(std::u16string(kNamedFace), false)) return best;
    for (std::u16string_view face : kPreferred)
        if (consider(std::u16string(face), true)) return best;
    for (const std::u16string& face : fonts.ShiftJisFaces())
        if (consider(face, true)) return best;
    return best;
}

}  // namespace app
