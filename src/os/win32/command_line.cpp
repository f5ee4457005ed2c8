#include "os/command_line.h"

#include "os/win32/scoped_handle.h"
#include "os/win32/windows_api.h"

#include <shellapi.h>

namespace os {

std::vector<std::string> CommandLineArguments(int, char**) {
    std::vector<std::string> out;
    int count = 0;
    const win32::ScopedLocalMemory<LPWSTR*> owner(CommandLineToArgvW(GetCommandLineW(), &count));
    LPWSTR* args = owner.Get();
    for (int i = 0; args && i < count; ++i) {
        int n = WideCharToMultiByte(CP_UTF8, 0, args[i], -1, nullptr, 0, nullptr, nullptr);
        std::string s(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
        if (n > 0) WideCharToMultiByte(CP_UTF8, 0, args[i], -1, s.data(), n, nullptr, nullptr);
        s.resize(s.size() - 1);
        out.push_back(s);
    }
    return out;
}

void PrepareConsole() { SetConsoleOutputCP(CP_UTF8); }

// The tool runs other programs only to build a disc image, with xorriso, which is a program of
// the systems it comes with.
ProgramRun RunProgram(const std::vector<std::string>&) {
    ProgramRun run;
    run.outcome = ProgramRun::Outcome::Unsupported;
    return run;
}

}  // namespace os
