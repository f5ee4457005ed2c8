#pragma once
// A queued window message, as the loop and the filters see it.
#include <cstdint>

namespace ui {

struct WindowTag;
using WindowHandle = WindowTag*;  // HWND on Windows

enum : std::uint32_t {
    kWmClose = 0x0010,
    kWmQuit = 0x0012,
    kWmPaint = 0x000F,
    kWmNcMouseMove = 0x00A0,
    kWmKeyDown = 0x0100,
    kWmCommand = 0x0111,
    kWmTimer = 0x0113,
    kWmSysTimer = 0x0118,
    kWmMouseMove = 0x0200,
    kWmLButtonUp = 0x0202,
};

enum : std::uintptr_t { kVkTab = 0x09, kVkReturn = 0x0D, kVkEscape = 0x1B };

struct Message {
    WindowHandle window = nullptr;
    std::uint32_t code = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::uint32_t time = 0;
    long x = 0, y = 0;
};

}  // namespace ui
