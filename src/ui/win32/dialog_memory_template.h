#pragma once
// A portable dialog table turned into the in-memory DLGTEMPLATE that CreateDialogIndirectParamW
// takes: every dialog gets a 9-point font, "ＭＳ Ｐゴシック" unless told otherwise, every control its
// system class and the style bits of its kind.
#include <cstdint>
#include <string_view>
#include <vector>

#include "ui/dialog_template.h"

namespace ui::win32 {

// The face name as UTF-16, so it reads the same on a system of any ANSI code page.
inline constexpr wchar_t kDialogFontFace[] = L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF";

// Words of the template; the first one is DWORD-aligned as the system requires.
// `face` at 9 points replaces the named face where the system cannot draw the texts with it.
std::vector<std::uint16_t> BuildDialogTemplate(const DialogTemplate& dialog, std::wstring_view face = kDialogFontFace);

}  // namespace ui::win32
