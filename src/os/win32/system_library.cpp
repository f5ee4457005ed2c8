#include "os/win32/system_library.h"

#include <string>

namespace os::win32 {
namespace {

bool searchRestricted = false;

// Loaded from the system's folder by full path, its own DLLs searched from there.
HMODULE LoadFromSystemFolder(const wchar_t* dll) {
    if (searchRestricted) return LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, n) + L"\\" + dll;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

void RestrictDllSearch() {
    // Windows 7 has it only with KB2533623, so it is looked up, never imported.
    using SetDefault = BOOL(WINAPI*)(DWORD);
    auto setDefault = reinterpret_cast<SetDefault>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    searchRestricted = setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (searchRestricted) return;
    // Without it the current folder at least leaves the search, and the DLLs that the system's
    // own load by name are loaded now from the system's folder: a later load finds them loaded.
    SetDllDirectoryW(L"");
    for (const wchar_t* dll : {L"uxtheme.dll", L"dwmapi.dll", L"propsys.dll", L"version.dll", L"cryptbase.dll",
                               L"userenv.dll", L"profapi.dll", L"ntmarta.dll", L"apphelp.dll", L"oleacc.dll"})
        LoadFromSystemFolder(dll);
}

void* SystemFunction(const wchar_t* dll, const char* name) {
    HMODULE module = LoadFromSystemFolder(dll);
    return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace os::win32
