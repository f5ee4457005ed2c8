#pragma once
// What the Win32 window-system tests ask of a window directly.
#include <windows.h>

#include <string>

namespace win32_test {

// Under Wine windows need an X display; on Windows there is always a desktop.
inline bool HaveDesktop() {
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return !wine || GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) > 0;
}

inline std::wstring ClassOf(HWND w) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    return name;
}

inline std::wstring WideTextOf(HWND w) {
    wchar_t text[512] = {};
    GetWindowTextW(w, text, 512);
    return text;
}

}  // namespace win32_test
