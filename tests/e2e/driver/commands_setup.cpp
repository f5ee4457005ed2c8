// Commands of the driver's own state and of the setup's process: variables, timing, the main window
// and the program's end.
#include "commands.h"

#include <psapi.h>

#include <cstdio>
#include <thread>

namespace driver {

// set
void SetVariable(Driver& d, Line& a) {
    std::string name = a.Next("name");
    d.variables[name] = a.Rest();
}

// timeout
void SetTimeout(Driver& d, Line& a) {
    long seconds = a.NextNumber("seconds");
    a.End();
    d.timeout = std::chrono::milliseconds(seconds * 1000);
}

// sleep
void SleepFor(Driver&, Line& a) {
    long ms = a.NextNumber("milliseconds");
    a.End();
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// poll
void SetPoll(Driver& d, Line& a) {
    long ms = a.NextNumber("milliseconds");
    a.End();
    d.poll = std::chrono::milliseconds(ms);
}

// mark
void MarkTime(Driver& d, Line& a) {
    a.End();
    d.mark = Clock::now();
}

// elapsed
void Elapsed(Driver& d, Line& a) {
    std::string label = a.Rest();
    char ms[32];
    std::snprintf(ms, sizeof ms, "%.1f", std::chrono::duration<double, std::milli>(Clock::now() - d.mark).count());
    d.Print(label, ms);
}

// memory
void Memory(Driver& d, Line& a) {
    std::string label = a.Rest();
    d.setup.RequireMain();
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, d.setup.pid);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    bool ok = process && GetProcessMemoryInfo(process, &counters, sizeof counters);
    if (process) CloseHandle(process);
    if (!ok) Fail("the setup's memory counters", "error " + std::to_string(GetLastError()));
    d.Print(label,
            std::to_string(counters.PeakWorkingSetSize / 1024) + " " + std::to_string(counters.WorkingSetSize / 1024));
}

// wait-main
void WaitMain(Driver& d, Line& a) {
    std::wstring caption = a.RestWide();
    d.WaitFor("a visible main window whose caption holds " + Quoted(caption), [&](std::string& found) {
        found = "no such window";
        for (HWND w : TopLevelWindows()) {
            if (!IsWindowVisible(w) || IsDialogClass(w) || GetWindow(w, GW_OWNER)) continue;
            if (TextOf(w).find(caption) == std::wstring::npos) continue;
            d.setup.Attach(w);
            return true;
        }
        return false;
    });
}

// check-caption
void CheckCaption(Driver& d, Line& a) {
    std::wstring caption = a.RestWide();
    d.WaitFor("the main window's caption " + Quoted(caption), [&](std::string& found) {
        std::wstring text = TextOf(d.setup.RequireMain());
        found = Quoted(text);
        return text == caption;
    });
}

// check-main-count
void CheckMainCount(Driver&, Line& a) {
    long expected = a.NextNumber("count");
    std::wstring caption = a.RestWide();
    long count = 0;
    for (HWND w : TopLevelWindows())
        if (IsWindowVisible(w) && !IsDialogClass(w) && !GetWindow(w, GW_OWNER) &&
            TextOf(w).find(caption) != std::wstring::npos)
            ++count;
    if (count != expected)
        Fail(std::to_string(expected) + " visible main windows whose caption holds " + Quoted(caption),
             std::to_string(count));
}

// check-main-layout
void CheckMainLayout(Driver& d, Line& a) {
    a.End();
    HWND main = d.setup.RequireMain();
    const LONG style = GetWindowLongW(main, GWL_STYLE), exStyle = GetWindowLongW(main, GWL_EXSTYLE);
    if (!(style & WS_CAPTION) || (style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
        Fail(
            "a caption without system menu, sizing border or boxes", "style 0x" + [&] {
                char t[16];
                std::snprintf(t, sizeof t, "%08lX", static_cast<unsigned long>(style));
                return std::string(t);
            }());
    if (!(exStyle & WS_EX_APPWINDOW)) Fail("extended style WS_EX_APPWINDOW", "it is missing");
    HWND host = d.setup.Host();
    const RECT client = ClientRect(main), hostWindow = WindowRect(host), hostClient = ClientRect(host);
    const long hostWidth = hostWindow.right - hostWindow.left, hostHeight = hostWindow.bottom - hostWindow.top;
    if (client.right != hostWidth || client.bottom != hostHeight)
        Fail("the page host filling the client area " + RectText(client),
             "host window " + std::to_string(hostWidth) + "x" + std::to_string(hostHeight));
    HWND banner = GetDlgItem(host, 551);
    if (!banner) Fail("the banner control 551 on the page host", "none");
    RECT bannerRect = WindowRect(banner);
    MapWindowPoints(HWND_DESKTOP, host, reinterpret_cast<POINT*>(&bannerRect), 2);
    // Dialog base units belong to the setup's process; they are found from the sizes instead:
    // the main window's client area is the host's template, 275 x 214 units, and the banner's
    // template is 138 x 214 units, measured with the same units.
    bool unitsFit = false;
    for (int x = 1; x <= 64 && !unitsFit; ++x)
        for (int y = 1; y <= 64 && !unitsFit; ++y)
            unitsFit = MulDiv(275, x, 4) == client.right && MulDiv(214, y, 8) == client.bottom &&
                       MulDiv(138, x, 4) == bannerRect.right - bannerRect.left &&
                       MulDiv(214, y, 8) == bannerRect.bottom - bannerRect.top;
    if (bannerRect.left != 0 || bannerRect.top != 0 || !unitsFit)
        Fail("a client area of 275 x 214 dialog units holding the banner of 138 x 214 units at (0,0)",
             "client area " + std::to_string(client.right) + "x" + std::to_string(client.bottom) + ", banner " +
                 RectText(bannerRect));
    for (HWND page : d.setup.Pages()) {
        if (!IsDialogClass(page)) continue;
        RECT r = WindowRect(page);
        MapWindowPoints(HWND_DESKTOP, host, reinterpret_cast<POINT*>(&r), 2);
        // The host loses its client edge when it is fitted to the main window after the
        // pages were placed, so a page may reach past the host's client area, never short of it.
        if (r.left != bannerRect.right || r.top != 0 || r.right < hostClient.right || r.bottom < hostClient.bottom)
            Fail(PageName(PageNumberOf(page)) + " from (" + std::to_string(bannerRect.right) + ",0) covering " +
                     RectText(hostClient),
                 RectText(r));
    }
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT outer = WindowRect(main);
    const long w = outer.right - outer.left, h = outer.bottom - outer.top;
    auto centred = [](long lo, long hi, long size) {
        long start = (lo + hi) / 2 - size / 2;
        if (start < lo) return lo;
        if (start + size > hi) return hi - size;
        return start;
    };
    if (outer.left != centred(work.left, work.right, w) || outer.top != centred(work.top, work.bottom, h))
        Fail("the window centred in the work area " + RectText(work) + " at (" +
                 std::to_string(centred(work.left, work.right, w)) + "," +
                 std::to_string(centred(work.top, work.bottom, h)) + ")",
             RectText(outer));
}

// wait-gone
void WaitGone(Driver& d, Line& a) {
    a.End();
    HWND main = d.setup.main;
    if (!main) Fail("a main window found with wait-main", "none yet");
    d.WaitFor("the main window to go", [&](std::string& found) {
        found = "it is still there";
        return !IsWindow(main);
    });
}

// wait-exit
void WaitExit(Driver& d, Line& a) {
    long code = a.NextNumber("exit code");
    a.End();
    if (!d.setup.process) Fail("the setup's process (after wait-main)", "none");
    if (WaitForSingleObject(d.setup.process, static_cast<DWORD>(d.timeout.count())) != WAIT_OBJECT_0)
        Fail("the setup's process to end", "it still runs");
    DWORD exit = 0;
    GetExitCodeProcess(d.setup.process, &exit);
    if (static_cast<long>(exit) != code) Fail("exit code " + std::to_string(code), std::to_string(exit));
}

// run
void RunProgram(Driver& d, Line& a) {
    // run <exit code> <working folder> <program>: starts a program and waits for its end.
    long code = a.NextNumber("exit code");
    std::wstring folder = a.NextWide("working folder");
    std::wstring program = a.RestPath();
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &start, &info))
        Fail("to start " + Utf8(program), "error " + std::to_string(GetLastError()));
    CloseHandle(info.hThread);
    // Until it ends, any visible window of the started program is noted.
    std::wstring shownWindow;
    DWORD waited = WAIT_TIMEOUT;
    for (const auto deadline = Clock::now() + d.timeout; Clock::now() < deadline;) {
        waited = WaitForSingleObject(info.hProcess, 5);
        if (waited == WAIT_OBJECT_0) break;
        for (HWND w : TopLevelWindows())
            if (shownWindow.empty() && ProcessOf(w) == info.dwProcessId && IsWindowVisible(w))
                shownWindow = ClassOf(w) + L" " + TextOf(w);
    }
    DWORD exit = 0;
    GetExitCodeProcess(info.hProcess, &exit);
    if (waited != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hProcess);
    if (waited != WAIT_OBJECT_0) Fail(Utf8(program) + " to end by itself", "it still ran");
    if (static_cast<long>(exit) != code)
        Fail(Utf8(program) + " ending with " + std::to_string(code), std::to_string(exit));
    if (!shownWindow.empty()) Fail(Utf8(program) + " showing no window", "it showed " + Quoted(shownWindow));
}

}  // namespace driver
