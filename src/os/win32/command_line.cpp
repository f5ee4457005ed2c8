#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shellapi.h>

#include "os/command_line.h"

namespace os {

std::vector<std::string> commandLineArguments(int, char**) {
    std::vector<std::string> out;
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; args && i < count; ++i) {
        int n = WideCharToMultiByte(CP_UTF8, 0, args[i], -1, nullptr, 0, nullptr, nullptr);
        std::string s(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
        if (n > 0) WideCharToMultiByte(CP_UTF8, 0, args[i], -1, s.data(), n, nullptr, nullptr);
        s.resize(s.size() - 1);
        out.push_back(s);
    }
    LocalFree(args);
    return out;
}

void prepareConsole() { SetConsoleOutputCP(CP_UTF8); }

}  // namespace os
