#pragma once
// Dialogs as portable data: every backend builds its dialogs from these tables.
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

namespace ui {

enum class ControlKind {
    PushButton,
    DefaultPushButton,
    Static,        // text; `style` carries SS_ alignment bits
    BitmapStatic,  // SS_BITMAP
    Edit,
    GroupBox,
    EtchedLine,
    RadioButton,  // automatic
    CheckBox,     // automatic
    ProgressBar,
};

// Window-style bits the templates use, with their Win32 values.
enum : std::uint32_t {
    kWsChild = 0x40000000,
    kWsVisible = 0x10000000,
    kWsDisabled = 0x08000000,
    kWsBorder = 0x00800000,
    kWsGroup = 0x00020000,
    kWsTabStop = 0x00010000,
    kDsSetFont = 0x00000040,
    kDsControl = 0x00000400,
    kWsExClientEdge = 0x00000200,
    kEsAutoHScroll = 0x0080,
    kEsReadOnly = 0x0800,
    kSsCenter = 0x0001,
    kSsCenterImage = 0x0200,
    kSsRealSizeImage = 0x0800,
};

// A control without an id (IDC_STATIC): labels, frames, lines.
inline constexpr int kNoId = -1;

// Each dialog names its controls in an enum class of its own; the window system takes the number.
template <typename ControlEnum>
requires std::is_enum_v<ControlEnum>
constexpr int Id(ControlEnum id) { return static_cast<int>(id); }

struct ControlTemplate {
    int id;  // kNoId: none
    ControlKind kind;
    std::uint32_t style;    // extra style bits beyond those of the kind
    std::string_view text;  // CP932
    short x, y, cx, cy;     // dialog units
};

struct DialogTemplate {
    int id;
    std::uint32_t style;
    std::uint32_t exStyle;
    short cx, cy;
    std::span<const ControlTemplate> controls;  // template order, which is the tab order
};

// Every page and the host use 9 points "ＭＳ Ｐゴシック".
inline constexpr int kDialogFontPoints = 9;

}  // namespace ui
