// The floor of the install's copy under Wine: the setup's window nesting with the copy page at its
// real sizes, and per file and per chunk only the work the copy's rules ask for (one read and one
// write of at most 1 MiB a step, the queue drained before every change of a bar). Prints its time;
// it asserts nothing.
//
//   wine_floor.exe SOURCE DESTINATION [FOLDER...]
//
// Copies the files of SOURCE and of its folders (only the FOLDERs named, when any are) into the
// new folder DESTINATION and prints "floor MS FILES CHUNKS", a chunk being one read.
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "os/win32/windows_api.h"
#include "pages/copy_progress_page.h"
#include "pages/page_host.h"
#include "ui/win32/win32_window_system.h"

#include <commctrl.h>

namespace {

constexpr DWORD kChunk = 1048576;

struct Page : ui::DialogHandler {
    bool OnInitDialog(ui::WindowHandle) override { return true; }
    bool OnCommand(ui::WindowHandle, int id) override { return cancelled = id == IDCANCEL; }
    bool cancelled = false;
};

struct Host : ui::DialogHandler {
    bool OnInitDialog(ui::WindowHandle) override { return false; }
    bool OnCommand(ui::WindowHandle, int) override { return false; }
};

// The main window, the page host and the copy page, sized as the setup sizes them.
struct Window : ui::MainWindowHandler {
    explicit Window(ui::WindowSystem& ws) : ws(ws) {}
    bool OnCreate(ui::WindowHandle created) override {
        ws.RemoveMenu(created);
        host = ws.CreateDialogWindow(pages::kPageHostDialog, created, hostHandler);
        page = host ? ws.CreateDialogWindow(pages::kCopyProgressDialog, host, pageHandler) : nullptr;
        if (!page) return false;
        ui::Rect client = ws.ClientRect(host);
        ws.MoveWindow(page, {ws.WindowRect(ws.Control(host, ui::Id(pages::PageHostControl::Banner))).width(), 0,
                             client.right, client.bottom});
        ui::Rect outer = ws.WindowRect(created), inner = ws.ClientRect(created);
        ws.SetWindowPos(created, 100, 100, client.width() + outer.width() - inner.width(),
                        client.height() + outer.height() - inner.height(), true, true);
        return true;
    }
    void OnDestroy(ui::WindowHandle) override {}
    void OnSize(ui::WindowHandle, long width, long height) override {
        if (host) ws.MoveWindow(host, {0, 0, width, height});
    }
    ui::WindowSystem& ws;
    Host hostHandler;
    Page pageHandler;
    ui::WindowHandle host = nullptr, page = nullptr;
};

HWND pageWindow;

void Drain() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
        if (!IsDialogMessageW(pageWindow, &m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
}

// Only the changes that move a bar drain the queue first.
void Bar(HWND bar, UINT message, WPARAM value, LPARAM range = 0) {
    if (message == PBM_STEPIT || message == PBM_SETPOS) Drain();
    SendMessageW(bar, message, value, range);
}

// The copy keeps the source's times at one-second resolution, through the local calendar.
FILETIME ThroughLocalSeconds(const FILETIME& utc) {
    FILETIME local, back{};
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return back;
    std::tm broken{st.wSecond, st.wMinute, st.wHour, st.wDay, st.wMonth - 1, st.wYear - 1900, 0, 0, -1};
    __time64_t seconds = _mktime64(&broken);
    std::tm* again = _localtime64(&seconds);
    if (!again) return back;
    SYSTEMTIME out{static_cast<WORD>(again->tm_year + 1900),
                   static_cast<WORD>(again->tm_mon + 1),
                   0,
                   static_cast<WORD>(again->tm_mday),
                   static_cast<WORD>(again->tm_hour),
                   static_cast<WORD>(again->tm_min),
                   static_cast<WORD>(again->tm_sec),
                   0};
    SystemTimeToFileTime(&out, &local);
    LocalFileTimeToFileTime(&local, &back);
    return back;
}

std::vector<std::wstring> Names(const std::wstring& folder, bool folders) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        bool isFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (isFolder == folders && found.cFileName[0] != L'.') names.push_back(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: wine_floor.exe SOURCE DESTINATION [FOLDER...]\n");
        return 2;
    }
    const std::wstring source = argv[1], destination = argv[2];
    std::vector<std::wstring> folders(argv + 3, argv + argc);
    if (folders.empty()) folders = Names(source, true);
    std::vector<std::wstring> files;  // relative to SOURCE
    for (const std::wstring& name : Names(source, false)) files.push_back(name);
    for (const std::wstring& folder : folders)
        for (const std::wstring& name : Names(source + L"\\" + folder, false)) files.push_back(folder + L"\\" + name);

    ui::win32::InitializeCommonControls();
    ui::win32::Win32WindowSystem ws;
    Window window(ws);
    ui::WindowHandle main = ws.CreateMainWindow(window, "Setup floor");
    if (!main) return 1;
    ws.ShowWindow(main, true);
    ws.ShowWindow(window.page, true);
    ws.SetFocus(window.page);
    pageWindow = reinterpret_cast<HWND>(window.page);
    HWND overall = GetDlgItem(pageWindow, ui::Id(pages::CopyProgressControl::OverallBar));
    HWND fileBar = GetDlgItem(pageWindow, ui::Id(pages::CopyProgressControl::FileBar));
    HWND status = GetDlgItem(pageWindow, ui::Id(pages::CopyProgressControl::Status));
    // The first paint is not the copy's.
    Drain();
    Sleep(200);
    Drain();

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    Bar(overall, PBM_SETRANGE, 0, MAKELPARAM(0, folders.size() + files.size() + 1));
    Bar(overall, PBM_SETSTEP, 1);
    Bar(overall, PBM_SETPOS, 0);
    Bar(fileBar, PBM_SETRANGE, 0, MAKELPARAM(0, folders.size()));
    Bar(fileBar, PBM_SETPOS, 0);
    Bar(fileBar, PBM_SETSTEP, 1);
    SetWindowTextW(status, L"フォルダを作成中...");
    CreateDirectoryW(destination.c_str(), nullptr);
    for (const std::wstring& folder : folders) {
        if (!CreateDirectoryW((destination + L"\\" + folder).c_str(), nullptr)) return 1;
        Bar(fileBar, PBM_STEPIT, 0);
        Bar(overall, PBM_STEPIT, 0);
    }
    long chunks = 0;
    for (const std::wstring& relative : files) {
        const std::wstring from = source + L"\\" + relative, to = destination + L"\\" + relative;
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW(from.c_str(), &found);
        if (find == INVALID_HANDLE_VALUE || !FindClose(find)) return 1;
        const FILETIME times[3] = {ThroughLocalSeconds(found.ftCreationTime),
                                   ThroughLocalSeconds(found.ftLastAccessTime),
                                   ThroughLocalSeconds(found.ftLastWriteTime)};
        const unsigned long long size = static_cast<unsigned long long>(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE in = CreateFileW(from.c_str(), GENERIC_READ, 0, &inherit, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        // The copy is a new file, as the setup makes it: Wine truncates for CREATE_ALWAYS, and ext4
        // writes a truncated file out when it is closed.
        HANDLE out = CreateFileW(to.c_str(), GENERIC_WRITE, 0, &inherit, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (in == INVALID_HANDLE_VALUE || out == INVALID_HANDLE_VALUE) return 1;
        std::unique_ptr<char[]> buffer(new char[kChunk]);  // each file's copy owns one
        Bar(fileBar, PBM_SETRANGE, 0, MAKELPARAM(0, size / kChunk));
        Bar(fileBar, PBM_SETPOS, 0);
        Bar(fileBar, PBM_SETSTEP, 1);
        SetWindowTextW(status, (L"コピー中...　" + relative).c_str());
        for (unsigned long long copied = 0;;) {
            Drain();
            if (window.pageHandler.cancelled) return 3;
            DWORD want = size - copied < kChunk ? static_cast<DWORD>(size - copied) : kChunk, got = 0, put = 0;
            if (!ReadFile(in, buffer.get(), want, &got, nullptr) || !WriteFile(out, buffer.get(), got, &put, nullptr))
                return 1;
            ++chunks;
            copied += got;
            if (copied == size) break;
            if (got == 0) return 1;
            Bar(fileBar, PBM_STEPIT, 0);
        }
        CloseHandle(in);
        CloseHandle(out);
        const DWORD wanted = found.dwFileAttributes & 0x7F & ~FILE_ATTRIBUTE_READONLY;
        const DWORD current = GetFileAttributesW(to.c_str());
        HANDLE stamp = CreateFileW(to.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (current == INVALID_FILE_ATTRIBUTES || stamp == INVALID_HANDLE_VALUE ||
            !SetFileTime(stamp, &times[0], &times[1], &times[2]) || !CloseHandle(stamp))
            return 1;
        if (current != wanted && !SetFileAttributesW(to.c_str(), wanted)) return 1;
        Bar(overall, PBM_STEPIT, 0);
    }
    SetWindowTextW(status, L"レジストリを設定中...");
    Bar(overall, PBM_STEPIT, 0);
    QueryPerformanceCounter(&end);
    std::printf("floor %.1f %zu %ld\n", (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart, files.size(),
                chunks);
    ws.DestroyWindow(main);
    return 0;
}
