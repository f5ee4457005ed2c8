#include "ui/win32/dialog_memory_template.h"

#include <string>

#include "os/win32/windows_api.h"
#include "ui/win32/texts.h"

#include <commctrl.h>

namespace ui::win32 {
namespace {

// Predefined control classes, named by atom in a template.
constexpr std::uint16_t kButtonAtom = 0x0080, kEditAtom = 0x0081, kStaticAtom = 0x0082;

struct ControlClass {
    std::uint16_t atom;  // 0: named by `name`
    const wchar_t* name;
    std::uint32_t style;
};

ControlClass ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton: return {kButtonAtom, nullptr, BS_PUSHBUTTON};
        case ControlKind::DefaultPushButton: return {kButtonAtom, nullptr, BS_DEFPUSHBUTTON};
        // Text labels start a group, as the resource compiler's LTEXT and CTEXT do, so arrow keys
        // never wander onto them.
        case ControlKind::Static: return {kStaticAtom, nullptr, SS_LEFT | WS_GROUP};
        case ControlKind::BitmapStatic: return {kStaticAtom, nullptr, SS_BITMAP};
        case ControlKind::Edit: return {kEditAtom, nullptr, ES_LEFT};
        case ControlKind::GroupBox: return {kButtonAtom, nullptr, BS_GROUPBOX};
        case ControlKind::EtchedLine: return {kStaticAtom, nullptr, SS_ETCHEDHORZ};
        case ControlKind::RadioButton: return {kButtonAtom, nullptr, BS_AUTORADIOBUTTON};
        case ControlKind::CheckBox: return {kButtonAtom, nullptr, BS_AUTOCHECKBOX};
        case ControlKind::ProgressBar: return {0, PROGRESS_CLASSW, 0};
    }
    return {kStaticAtom, nullptr, 0};
}

class Writer {
public:
    void word(std::uint16_t w) { words_.push_back(w); }
    void dword(std::uint32_t d) {
        word(static_cast<std::uint16_t>(d & 0xFFFF));
        word(static_cast<std::uint16_t>(d >> 16));
    }
    void text(const std::wstring& s) {
        for (wchar_t c : s) word(static_cast<std::uint16_t>(c));
        word(0);
    }
    void alignToDword() {
        if (words_.size() % 2) word(0);
    }
    std::vector<std::uint16_t> take() { return std::move(words_); }

private:
    std::vector<std::uint16_t> words_;
};

}  // namespace

std::vector<std::uint16_t> BuildDialogTemplate(const DialogTemplate& dialog, std::wstring_view face) {
    Writer out;
    // DLGTEMPLATE: style, extended style, item count, x, y, cx, cy.
    out.dword(dialog.style | DS_SETFONT);
    out.dword(dialog.exStyle);
    out.word(static_cast<std::uint16_t>(dialog.controls.size()));
    out.word(0);
    out.word(0);
    out.word(static_cast<std::uint16_t>(dialog.cx));
    out.word(static_cast<std::uint16_t>(dialog.cy));
    out.word(0);  // no menu
    out.word(0);  // the system's dialog class
    out.word(0);  // no caption
    out.word(static_cast<std::uint16_t>(kDialogFontPoints));
    out.text(std::wstring(face));

    for (const ControlTemplate& control : dialog.controls) {
        out.alignToDword();
        ControlClass cls = ClassOf(control.kind);
        // DLGITEMTEMPLATE: style, extended style, x, y, cx, cy, id.
        out.dword(WS_CHILD | WS_VISIBLE | cls.style | control.style);
        out.dword(0);
        out.word(static_cast<std::uint16_t>(control.x));
        out.word(static_cast<std::uint16_t>(control.y));
        out.word(static_cast<std::uint16_t>(control.cx));
        out.word(static_cast<std::uint16_t>(control.cy));
        out.word(static_cast<std::uint16_t>(control.id));  // -1 becomes 0xFFFF, the id of labels
        if (cls.atom) {
            out.word(0xFFFF);
            out.word(cls.atom);
        } else {
            out.text(cls.name);
        }
        out.text(DisplayText(control.text));
        out.word(0);  // no creation data
    }
    return out.take();
}

}  // namespace ui::win32
