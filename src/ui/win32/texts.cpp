#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "os/win32/wide.h"
#include "ui/win32/texts.h"

namespace ui::win32 {

std::wstring displayText(std::string_view cp932) {
    std::wstring wide;
    if (os::win32::toWide(std::string(cp932), wide)) return wide;
    int n = MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
    wide.assign(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), wide.data(), n);
    return wide;
}

std::string textFromDisplay(const std::wstring& wide) {
    std::string cp932;
    if (os::win32::fromWide(wide, cp932)) return cp932;
    int n = WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, "?", nullptr);
    cp932.assign(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), cp932.data(), n, "?", nullptr);
    return cp932;
}

}  // namespace ui::win32
