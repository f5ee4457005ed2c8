#pragma once
// The pages at the display's DPI: the dialogs grow with their font, and what does not grow by
// itself, the banner bitmap and a text that no longer fits its place, is fitted once as they are
// made.
#include <functional>

#include "ui/window_system.h"

namespace pages {

// The size the banner is drawn at. A publisher's bitmap is a picture for 100%, drawn as large again
// as the control has grown since 100%; one of twice the control's size at 100% (give or take two
// pixels of its maker's rounding) is a picture for 200%, drawn at half that. At 100% every other
// bitmap keeps its own size.
ui::Size BannerSize(ui::Size bitmap, ui::Size controlAt96, ui::Size control, int dpi);

// Where a text that does not fit its place goes instead: the same row, run out to the right as far
// as `room` (left and right only) allows, and then as far to the left as the text still needs; the
// place itself when the text fits already or would not fit even so. `extent` measures the text
// at a width.
ui::Rect FittedPlace(const ui::Rect& place, const ui::Rect& room, const std::function<ui::Size(long)>& extent);

// Every static text of a dialog just made, fitted as above: its room is the group box around it
// (else the dialog) less the two dialog units its separators keep from it, and no other control
// of its row.
void FitStaticTexts(ui::WindowSystem& ws, ui::WindowHandle dialog, const ui::DialogTemplate& dialogTemplate);

}  // namespace pages
