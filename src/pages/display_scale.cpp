#include "pages/display_scale.h"

#include <algorithm>
#include <cstdlib>

namespace pages {
namespace {

bool Fits(ui::Size text, const ui::Rect& place) { return text.width <= place.width() && text.height <= place.height(); }

bool Encloses(const ui::ControlTemplate& outer, const ui::ControlTemplate& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.cx <= outer.x + outer.cx &&
           inner.y + inner.cy <= outer.y + outer.cy;
}

}  // namespace

ui::Size BannerSize(ui::Size bitmap, ui::Size controlAt96, ui::Size control, int dpi) {
    if (controlAt96.width <= 0 || controlAt96.height <= 0) return bitmap;
    auto near = [](long a, long b) { return std::abs(a - b) <= 2; };
    const bool for200 = near(bitmap.width, 2 * controlAt96.width) && near(bitmap.height, 2 * controlAt96.height);
    // Dialog units follow the font's own metrics at each size, not the DPI exactly: the growth is
    // the control's, on the axis that grew more, so a picture of the control's size still covers it.
    long grown = controlAt96.width, from = controlAt96.width;
    if (dpi != 96) {
        const bool byWidth = control.width * controlAt96.height >= control.height * controlAt96.width;
        grown = byWidth ? control.width : control.height;
        from = byWidth ? controlAt96.width : controlAt96.height;
    }
    if (for200) from *= 2;
    if (grown == from) return bitmap;
    return {(bitmap.width * grown + from / 2) / from, (bitmap.height * grown + from / 2) / from};
}

ui::Rect FittedPlace(const ui::Rect& place, const ui::Rect& room, const std::function<ui::Size(long)>& extent) {
    if (Fits(extent(place.width()), place)) return place;
    const ui::Rect wider{place.left, place.top, std::max(place.right, room.right), place.bottom};
    if (Fits(extent(wider.width()), wider)) return wider;
    const ui::Rect widest{std::min(place.left, room.left), place.top, wider.right, place.bottom};
    const ui::Size needs = extent(widest.width());
    if (!Fits(needs, widest)) return place;
    // Moved left only as far as the text needs, so it stays as near its place as it can.
    const ui::Rect least{std::max(widest.left, wider.right - needs.width), place.top, wider.right, place.bottom};
    return Fits(extent(least.width()), least) ? least : widest;
}

void FitStaticTexts(ui::WindowSystem& ws, ui::WindowHandle dialog, const ui::DialogTemplate& dialogTemplate) {
    const auto& controls = dialogTemplate.controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].kind != ui::ControlKind::Static) continue;
        ui::WindowHandle text = ws.ControlAt(dialog, i);
        const ui::Rect place = ws.PlaceOf(text);
        ui::Rect frame = ws.ClientRect(dialog);
        long frameUnits = dialogTemplate.cx;
        std::size_t group = controls.size();
        for (std::size_t g = 0; g < controls.size(); ++g)
            if (controls[g].kind == ui::ControlKind::GroupBox && Encloses(controls[g], controls[i])) {
                frame = ws.PlaceOf(ws.ControlAt(dialog, g));
                frameUnits = controls[g].cx;
                group = g;
                break;
            }
        const long margin = frameUnits > 0 ? frame.width() * 2 / frameUnits : 0;
        ui::Rect room{frame.left + margin, place.top, frame.right - margin, place.bottom};
        for (std::size_t j = 0; j < controls.size(); ++j) {
            if (j == i || j == group) continue;
            const ui::Rect other = ws.PlaceOf(ws.ControlAt(dialog, j));
            if (other.bottom <= place.top || other.top >= place.bottom) continue;  // another row
            if (other.left >= place.right) room.right = std::min(room.right, other.left);
            if (other.right <= place.left) room.left = std::max(room.left, other.right);
        }
        const ui::Rect fitted = FittedPlace(place, room, [&](long width) { return ws.TextExtent(text, width); });
        if (fitted != place) ws.MoveWindow(text, fitted);
    }
}

}  // namespace pages
