#pragma once
// DLLs come from the system's folder only. A medium is often a folder in the player's downloads,
// and a DLL lying beside Setup.exe, in the current folder or in a folder the setup starts a
// program in would otherwise run with the player's rights as soon as the loader found it there.
// So Setup.exe imports only DLLs that Windows maps from its own list of known DLLs, and loads
// every other one here, from the system's folder.
#include "os/win32/windows_api.h"

namespace os::win32 {

// Takes the application's folder and the current folder out of every later search by name,
// those of the system's own DLLs included. Runs first, before anything can load a DLL.
void RestrictDllSearch();

// A function of a DLL of the system's folder, loaded from there; null when it is missing.
void* SystemFunction(const wchar_t* dll, const char* name);

template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
    return reinterpret_cast<Function>(SystemFunction(dll, name));
}

}  // namespace os::win32
