#include "ui/win32/font_catalog.h"

#include <algorithm>

#include "os/win32/scoped_handle.h"
#include "os/win32/windows_api.h"
#include "ui/dialog_template.h"

namespace ui::win32 {
namespace {

LOGFONTW LogFontFor(const std::u16string& face, BYTE charset) {
    LOGFONTW font{};
    font.lfCharSet = charset;
    const std::size_t n = std::min(face.size(), static_cast<std::size_t>(LF_FACESIZE - 1));
    std::copy_n(face.begin(), n, font.lfFaceName);
    return font;
}

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // one is enough
}

// Called by Windows: nothing thrown may cross its frame; a face that cannot be kept ends the list.
int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
    try {
        reinterpret_cast<std::vector<std::u16string>*>(faces)->emplace_back(
            reinterpret_cast<const char16_t*>(font->lfFaceName));
        return 1;
    } catch (...) {
        return 0;
    }
}

}  // namespace

struct SystemFontCatalog::Impl {
    os::win32::ScopedMemoryDc dc;  // a memory DC on the screen, empty when none could be made
};

SystemFontCatalog::SystemFontCatalog() : impl_(std::make_unique<Impl>()) {
    impl_->dc.Reset(CreateCompatibleDC(nullptr));
}

SystemFontCatalog::~SystemFontCatalog() = default;

bool SystemFontCatalog::HasFace(const std::u16string& face) {
    if (!impl_->dc || face.empty() || face.size() >= LF_FACESIZE) return false;
    LOGFONTW font = LogFontFor(face, DEFAULT_CHARSET);
    bool found = false;
    EnumFontFamiliesExW(impl_->dc.Get(), &font, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

std::u16string SystemFontCatalog::MissingGlyphs(const std::u16string& face, const std::u16string& characters) {
    if (characters.empty()) return {};
    if (!impl_->dc || face.size() >= LF_FACESIZE) return characters;
    LOGFONTW request = LogFontFor(face, DEFAULT_CHARSET);
    request.lfHeight = -12;  // 9 points at 96 dots per inch; the glyph table is the same at any size
    request.lfWeight = FW_NORMAL;
    const os::win32::ScopedGdiObject<HFONT> font(CreateFontIndirectW(&request));
    if (!font) return characters;
    HGDIOBJ before = SelectObject(impl_->dc.Get(), font.Get());
    std::vector<WORD> glyphs(characters.size());
    const DWORD got = GetGlyphIndicesW(impl_->dc.Get(), reinterpret_cast<LPCWSTR>(characters.c_str()),
                                       static_cast<int>(characters.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(impl_->dc.Get(), before);  // the font is deleted only once no DC holds it
    if (got == GDI_ERROR) return characters;
    std::u16string missing;
    for (std::size_t i = 0; i < characters.size(); ++i)
        if (glyphs[i] == 0xFFFF) missing.push_back(characters[i]);
    return missing;
}

std::vector<std::u16string> SystemFontCatalog::ShiftJisFaces() {
    std::vector<std::u16string> faces;
    if (!impl_->dc) return faces;
    LOGFONTW font = LogFontFor(u"", SHIFTJIS_CHARSET);
    EnumFontFamiliesExW(impl_->dc.Get(), &font, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
    return faces;
}

HFONT CreateDialogFont(const std::wstring& face) {
    const os::win32::ScopedScreenDc screen(GetDC(nullptr));
    const int height = -MulDiv(kDialogFontPoints, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
    return CreateFontW(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_DONTCARE, face.c_str());
}

void SetChooserTextFont(HWND chooser, HFONT font) {
    // The title and status statics of the shell's folder chooser.
    for (int id : {0x3742, 0x3743})
        if (HWND text = GetDlgItem(chooser, id)) SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace ui::win32
