// A DLL that the plant scenario lays beside Setup.exe and in every folder the setup works in,
// under the names of DLLs that the setup or the system's DLLs load by name. It must never be
// loaded; if it is, it notes into which program and from where, in the file PLANT_LOG names.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

void Append(HANDLE file, const wchar_t* text) {
    char utf8[MAX_PATH * 4];
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    DWORD written = 0;
    if (n > 1) WriteFile(file, utf8, static_cast<DWORD>(n - 1), &written, nullptr);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t log[MAX_PATH], program[MAX_PATH], dll[MAX_PATH];
    if (!GetEnvironmentVariableW(L"PLANT_LOG", log, MAX_PATH)) return TRUE;
    if (!GetModuleFileNameW(nullptr, program, MAX_PATH)) program[0] = 0;
    if (!GetModuleFileNameW(self, dll, MAX_PATH)) dll[0] = 0;
    HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return TRUE;
    Append(file, program);
    Append(file, L"\t");
    Append(file, dll);
    Append(file, L"\r\n");
    CloseHandle(file);
    return TRUE;
}
