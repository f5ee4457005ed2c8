#pragma once
// The installed fonts as GDI reports them, for choosing the dialogs' face.
#include <memory>
#include <string>

#include "ui/font_catalog.h"

struct HFONT__;
struct HWND__;

namespace ui::win32 {

class SystemFontCatalog : public FontCatalog {
public:
    SystemFontCatalog();
    ~SystemFontCatalog() override;
    SystemFontCatalog(const SystemFontCatalog&) = delete;
    SystemFontCatalog& operator=(const SystemFontCatalog&) = delete;

    bool HasFace(const std::u16string& face) override;
    // The glyph table of the font the system selects for the face, as the dialog manager asks for
    // it (DEFAULT_CHARSET). Font linking is not consulted: a character the font draws only through
    // a linked font counts as missing.
    std::u16string MissingGlyphs(const std::u16string& face, const std::u16string& characters) override;
    std::vector<std::u16string> ShiftJisFaces() override;

private:
    struct Impl;  // keeps the Windows headers out of the setup's own files
    std::unique_ptr<Impl> impl_;
};

// The face at the dialogs' 9 points, as the dialog manager makes it; the caller deletes it.
HFONT__* CreateDialogFont(const std::wstring& face);
// The folder chooser's title and status text in that font (the tree keeps the system's).
void SetChooserTextFont(HWND__* chooser, HFONT__* font);

}  // namespace ui::win32
