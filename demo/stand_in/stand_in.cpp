// The demo medium's stand-in for the game and for DirectX's dxsetup.exe: it notes that it started,
// as which program and in which working folder, and ends at once. The note goes to the file named
// by STAND_IN_LOG, or to stand_in.log in the temp folder; with STAND_IN_BOX set it also says so in
// a box, for a player trying the demo.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& wide) {
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Env(const wchar_t* name) {
    wchar_t buffer[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableW(name, buffer, MAX_PATH * 2);
    return n > 0 && n < MAX_PATH * 2 ? std::wstring(buffer, n) : std::wstring();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t program[MAX_PATH * 2], folder[MAX_PATH * 2];
    DWORD programLength = GetModuleFileNameW(nullptr, program, MAX_PATH * 2);
    DWORD folderLength = GetCurrentDirectoryW(MAX_PATH * 2, folder);
    const std::wstring programPath(program, programLength), workingFolder(folder, folderLength);

    std::wstring log = Env(L"STAND_IN_LOG");
    if (log.empty()) {
        wchar_t temp[MAX_PATH + 1];
        DWORD n = GetTempPathW(MAX_PATH + 1, temp);
        log = std::wstring(temp, n) + L"stand_in.log";
    }
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        const std::string line = Utf8(programPath) + "\t" + Utf8(workingFolder) + "\r\n";
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
    }
    if (!Env(L"STAND_IN_BOX").empty()) {
        const std::wstring text =
            L"体験版の代わりのプログラムが起動しました。\n\n" + programPath + L"\n作業フォルダ: " + workingFolder;
        MessageBoxW(nullptr, text.c_str(), L"星降る丘の物語", MB_OK | MB_ICONINFORMATION);
    }
    return 0;
}
