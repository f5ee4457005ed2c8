#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "os/process.h"
#include "os/win32/wide.h"

namespace os {
namespace {

class Win32Processes : public Processes {
public:
    bool Start(const std::string& executable, const std::string& workingFolder) override {
        std::wstring app, folder;
        if (!win32::toWide(executable, app) || !win32::toWide(workingFolder, folder)) return false;
        STARTUPINFOW startup;
        GetStartupInfoW(&startup);
        PROCESS_INFORMATION info;
        // The path goes as the application name, so spaces in it need no quoting.
        if (!CreateProcessW(app.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &info))
            return false;
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        return true;
    }
};

}  // namespace

Processes& systemProcesses() {
    static Win32Processes processes;
    return processes;
}

}  // namespace os
