#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "os/win32/wide.h"

namespace os::win32 {

bool toWide(const std::string& cp932, std::wstring& wide) {
    if (cp932.empty()) {
        wide.clear();
        return true;
    }
    int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
    if (n <= 0) return false;
    wide.assign(static_cast<std::size_t>(n), L'\0');
    return MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, cp932.data(), static_cast<int>(cp932.size()), wide.data(), n) == n;
}

bool fromWide(const std::wstring& wide, std::string& cp932) {
    if (wide.empty()) {
        cp932.clear();
        return true;
    }
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, &lossy);
    if (n <= 0 || lossy) return false;
    cp932.assign(static_cast<std::size_t>(n), '\0');
    return WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), cp932.data(), n, nullptr, &lossy) == n &&
           !lossy;
}

std::wstring wideFromUtf8(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

}  // namespace os::win32
