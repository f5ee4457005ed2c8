#include "os/shell.h"
#include "os/win32/scoped_handle.h"
#include "os/win32/wide.h"
#include "os/win32/windows_api.h"

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace os {
namespace {

bool SpecialFolder(int csidl, std::string& folder) {
    wchar_t buffer[MAX_PATH];
    if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return false;
    folder = win32::FromWide(buffer);
    return true;
}

class Win32Shell : public Shell {
public:
    bool ProgramsFolder(std::string& folder) override { return SpecialFolder(CSIDL_PROGRAMS, folder); }
    bool DesktopFolder(std::string& folder) override { return SpecialFolder(CSIDL_DESKTOPDIRECTORY, folder); }
    std::string ShortcutExtension() override { return ".lnk"; }

    bool WriteShortcut(const std::string& shortcutPath, const std::string& target,
                       const std::string& workingFolder) override {
        std::wstring path, wideTarget, folder;
        if (!win32::ToWide(shortcutPath, path) || !win32::ToWide(target, wideTarget) ||
            !win32::ToWide(workingFolder, folder))
            return false;
        win32::ScopedComPtr<IShellLinkW> link;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.Receive())))
            return false;
        win32::ScopedComPtr<IPersistFile> file;
        if (FAILED(link->QueryInterface(IID_IPersistFile, file.Receive()))) return false;
        link->SetPath(wideTarget.c_str());
        link->SetDescription(L"");
        link->SetArguments(L"");
        link->SetWorkingDirectory(folder.c_str());
        link->SetIconLocation(L"", 0);
        link->SetShowCmd(SW_SHOWNORMAL);
        return SUCCEEDED(file->Save(path.c_str(), TRUE));
    }
};

}  // namespace

Shell& SystemShell() {
    static Win32Shell shell;
    return shell;
}

void InitializeProcess() { CoInitialize(nullptr); }
void TerminateProcess() { CoUninitialize(); }

}  // namespace os
