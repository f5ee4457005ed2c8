#include "app/dialog_face.h"

#include <algorithm>
#include <vector>

#include "support/system_text.h"

namespace app {
namespace {

constexpr std::u16string_view kPreferred[] = {
    u"MS PGothic", u"MS UI Gothic", u"Meiryo UI",        u"Yu Gothic UI",
    u"IPAPGothic", u"VL PGothic",   u"Noto Sans CJK JP", u"Source Han Sans JP",
};

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool SameFace(std::u16string_view a, std::u16string_view b) {
    return std::ranges::equal(a, b, [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

}  // namespace

std::span<const std::u16string_view> PreferredFaces() { return kPreferred; }

std::u16string CharactersOf(std::span<const std::string> texts) {
    std::u16string all;
    for (const std::string& text : texts) all += support::ToUtf16Lossy(text);
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
            if (SameFace(seen, face)) return false;
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
