#pragma once
// The face the dialogs are built with. The templates name "ＭＳ Ｐゴシック"; where the system has
// no such font it hands the dialogs its default face, which on a Western system draws every
// Japanese character as an empty box. So the face is chosen once at start-up, before the first
// dialog: the named face when it draws every text the setup shows, else the first installed
// Japanese face that does.
#include <span>
#include <string>
#include <string_view>

#include "ui/font_catalog.h"

namespace app {

inline constexpr std::u16string_view kNamedFace = u"ＭＳ Ｐゴシック";
// Japanese UI faces close to the named one in metrics, best first; after them any Shift-JIS face.
std::span<const std::u16string_view> PreferredFaces();

// The distinct characters of CP932 texts, in code order; control characters are left out, as no
// font draws them.
std::u16string CharactersOf(std::span<const std::string> texts);

struct FaceChoice {
    std::u16string face;
    std::size_t missing = 0;  // characters the face has no glyph for; 0 but where no face draws all
};

// The named face, the preferred ones, then the Shift-JIS ones: the first that draws every
// character. When none does, the one that misses fewest, the earlier on a tie: with no Japanese
// font at all that is the named face, and the dialogs look as they always did.
FaceChoice ChooseDialogFace(ui::FontCatalog& fonts, const std::u16string& characters);

}  // namespace app
