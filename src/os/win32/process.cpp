#include "os/process.h"

#include "os/win32/scoped_handle.h"
#include "os/win32/wide.h"
#include "os/win32/windows_api.h"

namespace os {
namespace {

class Win32Processes : public Processes {
public:
    bool Start(const std::string& executable, const std::string& workingFolder) override {
        std::wstring app, folder;
        if (!win32::ToWide(executable, app) || !win32::ToWide(workingFolder, folder)) return false;
        STARTUPINFOW startup;
        GetStartupInfoW(&startup);
        PROCESS_INFORMATION info;
        // The path goes as the application name, so spaces in it need no quoting.
        if (!CreateProcessW(app.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &info))
            return false;
        // Nothing waits for the program: both handles go at once.
        win32::ScopedKernelHandle process(info.hProcess), thread(info.hThread);
        return true;
    }
};

}  // namespace

Processes& SystemProcesses() {
    static Win32Processes processes;
    return processes;
}

}  // namespace os
