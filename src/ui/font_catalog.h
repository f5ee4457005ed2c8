#pragma once
// What choosing the dialogs' face needs to know of the installed fonts. Face names and characters
// are UTF-16, as the system names them.
#include <string>
#include <vector>

namespace ui {

class FontCatalog {
public:
    virtual ~FontCatalog() = default;
    // A font of that family is installed (a face the system would only substitute is not).
    virtual bool HasFace(const std::u16string& face) = 0;
    // The characters of `characters` for which the font the system makes of `face` has no glyph of
    // its own, in their order.
    virtual std::u16string MissingGlyphs(const std::u16string& face, const std::u16string& characters) = 0;
    // The families that declare the Shift-JIS character set, in the system's order.
    virtual std::vector<std::u16string> ShiftJisFaces() = 0;
};

}  // namespace ui
