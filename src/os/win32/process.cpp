#include "os/process.h"

#include "os/win32/scoped_handle.h"
#include "os/win32/wide.h"
#include "os/win32/windows_api.h"

#include <shellapi.h>

namespace os {
namespace {

// ERROR_ELEVATION_REQUIRED, which mingw-w64's headers lack.
constexpr DWORD kElevationRequired = 740;

class Win32Processes : public Processes {
public:
    Outcome Start(const std::string& executable, const std::string& workingFolder) override {
        std::wstring app, folder;
        if (!win32::ToWide(executable, app) || !win32::ToWide(workingFolder, folder)) return Outcome::Failed;
        STARTUPINFOW startup;
        GetStartupInfoW(&startup);
        PROCESS_INFORMATION info;
        // The path goes as the application name, so spaces in it need no quoting.
        if (!CreateProcessW(app.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &info))
            return GetLastError() == kElevationRequired ? Outcome::NeedsElevation : Outcome::Failed;
        // Nothing waits for the program: both handles go at once.
        win32::ScopedKernelHandle process(info.hProcess), thread(info.hThread);
        return Outcome::Started;
    }

    bool StartWithConsent(const std::string& executable, const std::string& workingFolder) override {
        std::wstring file, folder;
        if (!win32::ToWide(executable, file) || !win32::ToWide(workingFolder, folder)) return false;
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        // No box of the shell's own (the setup shows its own), and the start is complete when the
        // call returns: the game's start closes the setup at once.
        info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
        info.lpFile = file.c_str();
        info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
        info.nShow = SW_SHOWNORMAL;
        return ShellExecuteExW(&info) != FALSE;
    }
};

}  // namespace

Processes& SystemProcesses() {
    static Win32Processes processes;
    return processes;
}

}  // namespace os
