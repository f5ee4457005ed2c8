#pragma once
// The pages at the display's DPI: the dialogs grow with their font, and a text that no longer fits
// its place at that size is fitted once as its page is made.
#include <functional>

#include "ui/window_system.h"

namespace pages {

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
