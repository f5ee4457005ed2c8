// Drives a running Setup.exe as a player would: it finds the main window, presses buttons and
// keys, answers the boxes and the folder chooser, and checks windows, files, the registry and
// shortcuts as Windows itself reports them. It reads one command per line (UTF-8) from the file
// named on the command line or from stdin, and stops with exit code 1 at the first expectation
// that is not met, naming the line, what was expected and what was found.
//
//   setup_driver [--timeout <seconds>] [--verbose] [script]
//
// "#" starts a comment line. ${NAME} is a variable made with "set", DESKTOP or PROGRAMS (the
// user's shell folders) or an environment variable. Leading arguments may be quoted "..." to hold
// blanks; the last argument is the rest of the line as it stands. A control is "id" on the visible
// page or "page:id" on that page, shown or hidden. Window checks wait (up to the timeout) until
// they hold, since the setup changes its windows in its own time; file checks look once.
//
// The setup:   wait-main <caption part>  check-caption <text>  check-main-layout  check-active
//              check-main-count <n> <caption part>  wait-gone  wait-exit <code>
//              run <exit code> <working folder> <program>  (also: it shows no window)
// Pages:       page <201..205>  click <id>  key|type tab|enter|esc|space|up|down|left|right|a..z
//              (key posts to the focused control, type is real keyboard input)
//              check-text <control> <text>  check-text-like <control> <pattern: * any, # digits>
//              check-enabled|check-checked|check-visible <control> 0|1  check-focus <id>
//              check-progress <control> <pos> [<max>]  wait-progress-at-least <control> <pos>
//              check-progress-still <id> <ms>
// Boxes:       box <text>  box-caption <text>  box-buttons <id>...  answer <id>  check-no-box
//              chooser ok|cancel  chooser-text <text>  chooser-key <key> (to its folder tree)
// Files:       check-file <path> [size]  check-folder|check-no-file <path>
//              check-file-same <path> <path>  check-attr-clear|check-attr-set <path> readonly
//              check-reg <HKCU subkey> <value> <data>  check-key|check-no-key <subkey>
//              check-profile <file> <section> <key> <value>  check-lnk <link> <target> <folder>
//              check-log-line <file> <text>  check-started <log> <program> <folder> [count]
//              write-file <path> [text]
// Fonts:       check-face <face>  check-glyphs <face>  check-boxes <face> <text>
// Other:       set <name> <value>  timeout <seconds>  sleep <ms>  shot <path.bmp>
// Timing:      poll <ms> (how often waits look, 20 unless told)  mark (starts the stopwatch)
//              elapsed <label> (prints the label and the milliseconds since mark)
//              memory <label> (prints the label, the setup's peak and current working set in KiB)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Texts

std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string quoted(const std::wstring& text) { return "\"" + utf8(text) + "\""; }

// A pattern where "*" stands for any run of characters and "#" for one or more digits.
bool matches(const std::wstring& pattern, const std::wstring& text, std::size_t p = 0, std::size_t t = 0) {
    if (p == pattern.size()) return t == text.size();
    if (pattern[p] == L'*') {
        for (std::size_t k = t; k <= text.size(); ++k)
            if (matches(pattern, text, p + 1, k)) return true;
        return false;
    }
    if (pattern[p] == L'#') {
        std::size_t k = t;
        while (k < text.size() && text[k] >= L'0' && text[k] <= L'9') {
            ++k;
            if (matches(pattern, text, p + 1, k)) return true;
        }
        return false;
    }
    return t < text.size() && pattern[p] == text[t] && matches(pattern, text, p + 1, t + 1);
}

std::wstring lower(std::wstring s) {
    for (wchar_t& c : s)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return s;
}

// A failed expectation; main reports it with the line it came from.
struct Failure {
    std::string expected, found;
};

[[noreturn]] void fail(std::string expected, std::string found) { throw Failure{std::move(expected), std::move(found)}; }

// ---------------------------------------------------------------------------------------------
// Windows of another process

// Messages to the setup go with a time limit, so a setup that hangs fails the check instead of
// hanging the driver.
bool sendTimed(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 3000, &answer)) return false;
    result = static_cast<LRESULT>(answer);
    return true;
}

std::wstring textOf(HWND window) {
    LRESULT length = 0;
    if (!window || !sendTimed(window, WM_GETTEXTLENGTH, 0, 0, length)) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT got = 0;
    if (!sendTimed(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), got)) return {};
    text.resize(static_cast<std::size_t>(got));
    return text;
}

std::wstring classOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

bool isDialogClass(HWND window) { return classOf(window) == L"#32770"; }

BOOL CALLBACK collectWindow(HWND w, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> all;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&all));
    return all;
}

std::vector<HWND> directChildren(HWND parent) {
    std::vector<HWND> out;
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) out.push_back(w);
    return out;
}

bool hasDescendantOfClass(HWND parent, const wchar_t* cls) {
    for (HWND w : directChildren(parent))
        if (classOf(w) == cls || hasDescendantOfClass(w, cls)) return true;
    return false;
}

DWORD processOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::wstring imageNameOf(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return {};
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    std::wstring name;
    if (QueryFullProcessImageNameW(process, 0, path, &size)) {
        name.assign(path, size);
        std::size_t slash = name.find_last_of(L"\\/");
        if (slash != std::wstring::npos) name = name.substr(slash + 1);
    }
    CloseHandle(process);
    return name;
}

RECT windowRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

RECT clientRect(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    return r;
}

std::string rectText(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// ---------------------------------------------------------------------------------------------
// The setup as seen from outside

// Each page is known by controls that only it has.
int pageNumberOf(HWND page) {
    auto has = [page](int id) { return GetDlgItem(page, id) != nullptr; };
    if (has(57665)) return 201;
    if (has(1008)) return 202;
    if (has(1003)) return 203;
    if (has(1007)) return 204;
    if (has(1001)) return 205;
    return 0;
}

std::string pageName(int number) { return number ? "page " + std::to_string(number) : "no known page"; }

class Setup {
public:
    HWND main = nullptr;
    DWORD pid = 0, thread = 0;
    HANDLE process = nullptr;

    void Attach(HWND window) {
        main = window;
        thread = GetWindowThreadProcessId(window, &pid);
        if (process) CloseHandle(process);
        process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    }

    HWND RequireMain() const {
        if (!main) fail("a main window found with wait-main", "none yet");
        if (!IsWindow(main)) fail("the main window", "it has gone");
        return main;
    }

    // Windows of the setup's process: that of the main window once known; before that, every
    // process running Setup.exe (a box can come before the main window).
    bool Owns(HWND window) const {
        DWORD owner = processOf(window);
        if (main) return owner == pid;
        return owner != GetCurrentProcessId() && lower(imageNameOf(owner)) == L"setup.exe";
    }

    HWND Host() const {
        for (HWND w : directChildren(RequireMain()))
            if (isDialogClass(w)) return w;
        fail("a page host dialog inside the main window", "none");
    }

    std::vector<HWND> Pages() const { return directChildren(Host()); }

    // The one visible page; zero or several visible pages are reported as found.
    HWND VisiblePage(std::string& found) const {
        HWND visible = nullptr;
        std::vector<int> shown;
        for (HWND w : Pages()) {
            if (!isDialogClass(w) || !IsWindowVisible(w)) continue;
            visible = w;
            shown.push_back(pageNumberOf(w));
        }
        if (shown.size() == 1) return visible;
        found = shown.empty() ? "no visible page" : "several visible pages:";
        for (int n : shown) found += " " + std::to_string(n);
        return nullptr;
    }

    HWND RequirePage() const {
        std::string found;
        HWND page = VisiblePage(found);
        if (!page) fail("exactly one visible page", found);
        return page;
    }

    // A control of the visible page, or with `pageNumber` of that page whether shown or not.
    HWND RequireControl(int id, int pageNumber = 0) const {
        HWND page = nullptr;
        if (pageNumber) {
            for (HWND w : Pages())
                if (isDialogClass(w) && pageNumberOf(w) == pageNumber) page = w;
            if (!page) fail(pageName(pageNumber) + " in the page host", "none");
        } else {
            page = RequirePage();
        }
        HWND control = GetDlgItem(page, id);
        if (!control) fail("control " + std::to_string(id) + " on " + pageName(pageNumberOf(page)), "it has none");
        return control;
    }

    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(thread, &info)) return nullptr;
        return info.hwndFocus;
    }

    // Top-level dialogs of the setup: message boxes (text in static 0xFFFF) and the folder
    // chooser (a tree view).
    std::vector<HWND> Dialogs(bool chooser) const {
        std::vector<HWND> out;
        for (HWND w : topLevelWindows()) {
            if (!IsWindowVisible(w) || !isDialogClass(w) || !Owns(w)) continue;
            bool isChooser = hasDescendantOfClass(w, WC_TREEVIEWW);
            if (isChooser == chooser && (chooser || GetDlgItem(w, 0xFFFF))) out.push_back(w);
        }
        return out;
    }
};

// ---------------------------------------------------------------------------------------------
// Files, registry, shortcuts

std::optional<WIN32_FILE_ATTRIBUTE_DATA> statusOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return data;
}

bool readBytes(const std::wstring& path, std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return ok;
}

unsigned long long sizeOf(const WIN32_FILE_ATTRIBUTE_DATA& d) {
    return (static_cast<unsigned long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

unsigned long long timeOf(const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

std::string timeText(const FILETIME& t) {
    SYSTEMTIME s{};
    FileTimeToSystemTime(&t, &s);
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u UTC", s.wYear, s.wMonth, s.wDay, s.wHour,
                  s.wMinute, s.wSecond, s.wMilliseconds);
    return text;
}

std::wstring shellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

// ---------------------------------------------------------------------------------------------
// Screenshots

void writeScreenshot(const std::wstring& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) {
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        fail("a screenshot", "no bitmap for it");
    }
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool written = false;
    if (file != INVALID_HANDLE_VALUE) {
        DWORD n = 0;
        written = WriteFile(file, &header, sizeof header, &n, nullptr) &&
                  WriteFile(file, &info.bmiHeader, sizeof info.bmiHeader, &n, nullptr) &&
                  WriteFile(file, bits, imageSize, &n, nullptr);
        CloseHandle(file);
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!written) fail("a screenshot written to " + utf8(path), "the file could not be written");
}

// ---------------------------------------------------------------------------------------------
// Fonts. A font handle of the setup's process means nothing here, so the driver makes the face's
// font itself, as the dialog manager does (9 points, DEFAULT_CHARSET), and compares.

HFONT dialogFont(const std::wstring& face, int quality) {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontW(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, quality, FF_DONTCARE, face.c_str());
}

int CALLBACK noteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool faceInstalled(const std::wstring& face) {
    LOGFONTW want{};
    want.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(want.lfFaceName, face.c_str(), LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &want, noteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The dialog base units of a face at 9 points, as the dialog manager measures them.
SIZE dialogBaseUnits(const std::wstring& face) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = dialogFont(face, PROOF_QUALITY);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE letters{};
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

// One character drawn black on white, without smoothing, as pixels.
class GlyphPainter {
public:
    explicit GlyphPainter(const std::wstring& face) : dc_(CreateCompatibleDC(nullptr)), font_(dialogFont(face, NONANTIALIASED_QUALITY)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kSide;
        info.bmiHeader.biHeight = -kSide;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        oldBitmap_ = SelectObject(dc_, bitmap_);
        oldFont_ = SelectObject(dc_, font_);
        SetTextColor(dc_, RGB(0, 0, 0));
        SetBkColor(dc_, RGB(255, 255, 255));
        SetBkMode(dc_, OPAQUE);
    }
    ~GlyphPainter() {
        SelectObject(dc_, oldFont_);
        SelectObject(dc_, oldBitmap_);
        DeleteObject(font_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    GlyphPainter(const GlyphPainter&) = delete;
    GlyphPainter& operator=(const GlyphPainter&) = delete;

    std::string Draw(wchar_t c) {
        RECT all{0, 0, kSide, kSide};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        TextOutW(dc_, 4, 4, &c, 1);
        GdiFlush();
        return std::string(static_cast<const char*>(bits_), static_cast<std::size_t>(kSide) * kSide * 4);
    }

private:
    static constexpr int kSide = 48;
    HDC dc_;
    HFONT font_;
    HBITMAP bitmap_ = nullptr;
    void* bits_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr, oldFont_ = nullptr;
};

// The characters of `text` the face draws as it draws U+0378, an unassigned code point: the
// missing-glyph box. Line breaks and tabs are no glyphs and are left out.
std::wstring charactersDrawnAsBoxes(const std::wstring& face, const std::wstring& text) {
    GlyphPainter painter(face);
    const std::string box = painter.Draw(L'\u0378');
    std::wstring boxes;
    for (wchar_t c : text)
        if (c >= 0x20 && boxes.find(c) == std::wstring::npos && painter.Draw(c) == box) boxes.push_back(c);
    return boxes;
}

// ---------------------------------------------------------------------------------------------
// Script lines

class Line {
public:
    explicit Line(std::string text) : text_(std::move(text)) {}

    bool AtEnd() {
        SkipBlanks();
        return pos_ >= text_.size();
    }

    // The next argument: a word, or "..." holding spaces.
    std::string Next(const char* what) {
        SkipBlanks();
        if (pos_ >= text_.size()) fail(std::string("an argument: ") + what, "the end of the line");
        if (text_[pos_] == '"') {
            std::size_t close = text_.find('"', pos_ + 1);
            if (close == std::string::npos) fail("a closing quote", "the end of the line");
            std::string word = text_.substr(pos_ + 1, close - pos_ - 1);
            pos_ = close + 1;
            return word;
        }
        std::size_t end = text_.find_first_of(" \t", pos_);
        if (end == std::string::npos) end = text_.size();
        std::string word = text_.substr(pos_, end - pos_);
        pos_ = end;
        return word;
    }

    std::wstring NextWide(const char* what) { return wide(Next(what)); }

    // A control: "id" on the visible page, or "page:id" on that page, shown or hidden.
    std::pair<int, int> NextControl() {
        std::string word = Next("control id or page:id");
        std::size_t colon = word.find(':');
        char* end = nullptr;
        int page = 0;
        if (colon != std::string::npos) {
            page = static_cast<int>(std::strtol(word.substr(0, colon).c_str(), &end, 10));
            if (*end || colon == 0) fail("a control as page:id", "\"" + word + "\"");
            word = word.substr(colon + 1);
        }
        long id = std::strtol(word.c_str(), &end, 0);
        if (word.empty() || *end) fail("a control id", "\"" + word + "\"");
        return {page, static_cast<int>(id)};
    }

    long NextNumber(const char* what) {
        std::string word = Next(what);
        char* end = nullptr;
        long value = std::strtol(word.c_str(), &end, 0);
        if (word.empty() || *end) fail(std::string("a number: ") + what, "\"" + word + "\"");
        return value;
    }

    bool NextFlag(const char* what) {
        long value = NextNumber(what);
        if (value != 0 && value != 1) fail(std::string("0 or 1: ") + what, std::to_string(value));
        return value == 1;
    }

    // The rest of the line after one separator, as it stands.
    std::string Rest() {
        if (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
        std::string rest = pos_ < text_.size() ? text_.substr(pos_) : std::string();
        pos_ = text_.size();
        return rest;
    }

    std::wstring RestWide() { return wide(Rest()); }

    // A quoted rest loses its quotes, so a text may begin or end with a blank.
    std::wstring RestPath() {
        std::string rest = Rest();
        if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
        return wide(rest);
    }

    void End() {
        if (!AtEnd()) fail("the end of the line", "\"" + text_.substr(pos_) + "\"");
    }

private:
    void SkipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }
    std::string text_;
    std::size_t pos_ = 0;
};

// ---------------------------------------------------------------------------------------------
// The driver

using Clock = std::chrono::steady_clock;

class Driver {
public:
    explicit Driver(double timeoutSeconds) : timeout_(std::chrono::milliseconds(static_cast<long>(timeoutSeconds * 1000))) {}

    std::map<std::string, std::string> variables;

    void Run(const std::string& command, Line& args);

private:
    // Polls until `check` answers true; otherwise fails with what it last described as found.
    void WaitFor(const std::string& expected, const std::function<bool(std::string& found)>& check) {
        const auto deadline = Clock::now() + timeout_;
        std::string found;
        for (;;) {
            found.clear();
            try {
                if (check(found)) return;
            } catch (const Failure& f) {
                found = f.found.empty() ? f.expected : f.expected + ": " + f.found;
            }
            if (Clock::now() >= deadline) fail(expected, found + " (after " + std::to_string(timeout_.count() / 1000.0).substr(0, 4) + " s)");
            std::this_thread::sleep_for(poll_);
        }
    }

    HWND FindBox(const std::wstring& text, std::string& found) {
        std::vector<HWND> boxes = setup_.Dialogs(false);
        if (boxes.empty()) {
            found = "no message box";
            return nullptr;
        }
        for (HWND box : boxes) {
            std::wstring shown = textOf(GetDlgItem(box, 0xFFFF));
            if (shown == text) return box;
            found = "a box saying " + quoted(shown) + " (caption " + quoted(textOf(box)) + ")";
        }
        return nullptr;
    }

    HWND RequireBox() {
        if (!box_ || !IsWindow(box_)) fail("an open message box (after box)", "none");
        return box_;
    }

    void ClickAndWaitClosed(HWND dialog, int id, const std::string& what) {
        HWND button = GetDlgItem(dialog, id);
        if (!button || !IsWindowVisible(button)) fail("button " + std::to_string(id) + " on the " + what, "none");
        PostMessageW(button, BM_CLICK, 0, 0);
        WaitFor("the " + what + " to close after pressing " + std::to_string(id), [&](std::string& found) {
            found = "it is still open";
            return !IsWindow(dialog) || !IsWindowVisible(dialog);
        });
    }

    static WORD VirtualKey(const std::string& name) {
        static const std::map<std::string, WORD> keys = {
            {"tab", VK_TAB}, {"enter", VK_RETURN}, {"esc", VK_ESCAPE}, {"space", VK_SPACE},
            {"left", VK_LEFT}, {"right", VK_RIGHT}, {"up", VK_UP}, {"down", VK_DOWN}};
        // A letter, for the folder chooser's search by the first letters of a name.
        if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') return static_cast<WORD>('A' + (name[0] - 'a'));
        auto key = keys.find(name);
        if (key == keys.end()) fail("a key: tab, enter, esc, space, left, right, up, down or a letter", name);
        return key->second;
    }

    void PostKey(const std::string& name) {
        const WORD key = VirtualKey(name);
        setup_.RequireMain();
        HWND focus = setup_.Focus();
        if (!focus) fail("a focused window in the setup to type into", "no focus");
        const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
        const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
        const LPARAM up = down | (1L << 30) | (1UL << 31);
        // The setup's own loop translates the key into a character when its dialog routing
        // leaves it, as it would for the keyboard.
        PostMessageW(focus, WM_KEYDOWN, key, down);
        PostMessageW(focus, WM_KEYUP, key, up);
    }

    void TypeKey(const std::string& name) {
        const WORD key = VirtualKey(name);
        INPUT input[2] = {};
        for (INPUT& i : input) {
            i.type = INPUT_KEYBOARD;
            i.ki.wVk = key;
            i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        }
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        if (SendInput(2, input, sizeof(INPUT)) != 2) fail("the key typed", "error " + std::to_string(GetLastError()));
    }

    std::string FocusDescription() {
        HWND focus = setup_.Focus();
        if (!focus) return "no focus";
        HWND parent = GetParent(focus);
        std::string where = parent && isDialogClass(parent) ? " on " + pageName(pageNumberOf(parent)) : "";
        return "control " + std::to_string(GetDlgCtrlID(focus)) + " (" + utf8(classOf(focus)) + " " +
               quoted(textOf(focus)) + ")" + where;
    }

    // The figures a benchmark reads from this program's output.
    void Print(const std::string& label, const std::string& figures) {
        std::printf("%s %s\n", label.c_str(), figures.c_str());
        std::fflush(stdout);
    }

    std::chrono::milliseconds timeout_;
    std::chrono::milliseconds poll_{20};
    Clock::time_point mark_ = Clock::now();
    Setup setup_;
    HWND box_ = nullptr;
};

void Driver::Run(const std::string& command, Line& a) {
    if (command == "set") {
        std::string name = a.Next("name");
        variables[name] = a.Rest();
    } else if (command == "timeout") {
        long seconds = a.NextNumber("seconds");
        a.End();
        timeout_ = std::chrono::milliseconds(seconds * 1000);
    } else if (command == "sleep") {
        long ms = a.NextNumber("milliseconds");
        a.End();
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    } else if (command == "poll") {
        long ms = a.NextNumber("milliseconds");
        a.End();
        poll_ = std::chrono::milliseconds(ms);
    } else if (command == "mark") {
        a.End();
        mark_ = Clock::now();
    } else if (command == "elapsed") {
        std::string label = a.Rest();
        char ms[32];
        std::snprintf(ms, sizeof ms, "%.1f", std::chrono::duration<double, std::milli>(Clock::now() - mark_).count());
        Print(label, ms);
    } else if (command == "memory") {
        std::string label = a.Rest();
        setup_.RequireMain();
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, setup_.pid);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        bool ok = process && GetProcessMemoryInfo(process, &counters, sizeof counters);
        if (process) CloseHandle(process);
        if (!ok) fail("the setup's memory counters", "error " + std::to_string(GetLastError()));
        Print(label, std::to_string(counters.PeakWorkingSetSize / 1024) + " " + std::to_string(counters.WorkingSetSize / 1024));
    } else if (command == "wait-main") {
        std::wstring caption = a.RestWide();
        WaitFor("a visible main window whose caption holds " + quoted(caption), [&](std::string& found) {
            found = "no such window";
            for (HWND w : topLevelWindows()) {
                if (!IsWindowVisible(w) || isDialogClass(w) || GetWindow(w, GW_OWNER)) continue;
                if (textOf(w).find(caption) == std::wstring::npos) continue;
                setup_.Attach(w);
                return true;
            }
            return false;
        });
    } else if (command == "check-caption") {
        std::wstring caption = a.RestWide();
        WaitFor("the main window's caption " + quoted(caption), [&](std::string& found) {
            std::wstring text = textOf(setup_.RequireMain());
            found = quoted(text);
            return text == caption;
        });
    } else if (command == "check-main-count") {
        long expected = a.NextNumber("count");
        std::wstring caption = a.RestWide();
        long count = 0;
        for (HWND w : topLevelWindows())
            if (IsWindowVisible(w) && !isDialogClass(w) && !GetWindow(w, GW_OWNER) &&
                textOf(w).find(caption) != std::wstring::npos)
                ++count;
        if (count != expected)
            fail(std::to_string(expected) + " visible main windows whose caption holds " + quoted(caption), std::to_string(count));
    } else if (command == "check-main-layout") {
        a.End();
        HWND main = setup_.RequireMain();
        const LONG style = GetWindowLongW(main, GWL_STYLE), exStyle = GetWindowLongW(main, GWL_EXSTYLE);
        if (!(style & WS_CAPTION) || (style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
            fail("a caption without system menu, sizing border or boxes", "style 0x" + [&] {
                char t[16];
                std::snprintf(t, sizeof t, "%08lX", static_cast<unsigned long>(style));
                return std::string(t);
            }());
        if (!(exStyle & WS_EX_APPWINDOW)) fail("extended style WS_EX_APPWINDOW", "it is missing");
        HWND host = setup_.Host();
        const RECT client = clientRect(main), hostWindow = windowRect(host), hostClient = clientRect(host);
        const long hostWidth = hostWindow.right - hostWindow.left, hostHeight = hostWindow.bottom - hostWindow.top;
        if (client.right != hostWidth || client.bottom != hostHeight)
            fail("the page host filling the client area " + rectText(client),
                 "host window " + std::to_string(hostWidth) + "x" + std::to_string(hostHeight));
        HWND banner = GetDlgItem(host, 551);
        if (!banner) fail("the banner control 551 on the page host", "none");
        RECT bannerRect = windowRect(banner);
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
            fail("a client area of 275 x 214 dialog units holding the banner of 138 x 214 units at (0,0)",
                 "client area " + std::to_string(client.right) + "x" + std::to_string(client.bottom) + ", banner " +
                     rectText(bannerRect));
        for (HWND page : setup_.Pages()) {
            if (!isDialogClass(page)) continue;
            RECT r = windowRect(page);
            MapWindowPoints(HWND_DESKTOP, host, reinterpret_cast<POINT*>(&r), 2);
            // The host loses its client edge when it is fitted to the main window after the
            // pages were placed, so a page may reach past the host's client area, never short of it.
            if (r.left != bannerRect.right || r.top != 0 || r.right < hostClient.right || r.bottom < hostClient.bottom)
                fail(pageName(pageNumberOf(page)) + " from (" + std::to_string(bannerRect.right) + ",0) covering " +
                         rectText(hostClient),
                     rectText(r));
        }
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const RECT outer = windowRect(main);
        const long w = outer.right - outer.left, h = outer.bottom - outer.top;
        auto centred = [](long lo, long hi, long size) {
            long start = (lo + hi) / 2 - size / 2;
            if (start < lo) return lo;
            if (start + size > hi) return hi - size;
            return start;
        };
        if (outer.left != centred(work.left, work.right, w) || outer.top != centred(work.top, work.bottom, h))
            fail("the window centred in the work area " + rectText(work) + " at (" +
                     std::to_string(centred(work.left, work.right, w)) + "," + std::to_string(centred(work.top, work.bottom, h)) + ")",
                 rectText(outer));
    } else if (command == "page") {
        long number = a.NextNumber("page number");
        a.End();
        WaitFor(pageName(number) + " as the only visible page", [&](std::string& found) {
            HWND page = setup_.VisiblePage(found);
            if (!page) return false;
            found = pageName(pageNumberOf(page));
            return pageNumberOf(page) == number;
        });
    } else if (command == "click") {
        long id = a.NextNumber("control id");
        a.End();
        HWND control = nullptr;
        // A player presses only what is shown and enabled on the page in front.
        WaitFor("control " + std::to_string(id) + " visible and enabled on the visible page", [&](std::string& found) {
            control = setup_.RequireControl(static_cast<int>(id));
            found = IsWindowEnabled(control) ? "it is hidden" : "it is disabled";
            return IsWindowVisible(control) && IsWindowEnabled(control);
        });
        PostMessageW(control, BM_CLICK, 0, 0);
    } else if (command == "check-text" || command == "check-text-like") {
        auto [page, id] = a.NextControl();
        std::wstring text = a.RestWide();
        const bool like = command == "check-text-like";
        WaitFor("control " + std::to_string(id) + (like ? " reading like " : " reading ") + quoted(text), [&](std::string& found) {
            std::wstring shown = textOf(setup_.RequireControl(id, page));
            found = quoted(shown);
            return like ? matches(text, shown) : shown == text;
        });
    } else if (command == "check-enabled" || command == "check-checked" || command == "check-visible") {
        auto [page, id] = a.NextControl();
        bool want = a.NextFlag("state");
        a.End();
        const std::string what = command.substr(6);
        WaitFor("control " + std::to_string(id) + (want ? " " : " not ") + what, [&](std::string& found) {
            HWND control = setup_.RequireControl(id, page);
            bool state;
            if (command == "check-enabled") state = IsWindowEnabled(control) != FALSE;
            else if (command == "check-visible") state = IsWindowVisible(control) != FALSE;
            else {
                LRESULT check = 0;
                if (!sendTimed(control, BM_GETCHECK, 0, 0, check)) fail("an answer to BM_GETCHECK", "none");
                state = check == BST_CHECKED;
            }
            found = state ? what : "not " + what;
            return state == want;
        });
    } else if (command == "check-focus") {
        long id = a.NextNumber("control id");
        a.End();
        WaitFor("the focus on control " + std::to_string(id) + " of the visible page", [&](std::string& found) {
            HWND control = setup_.RequireControl(static_cast<int>(id));
            found = FocusDescription();
            return setup_.Focus() == control;
        });
    } else if (command == "key") {
        std::string name = a.Next("key");
        a.End();
        PostKey(name);
    } else if (command == "type") {
        // Real keyboard input, which the system hands to the foreground window's focus.
        std::string name = a.Next("key");
        a.End();
        TypeKey(name);
    } else if (command == "check-active") {
        // The main window is the foreground window and its thread's active window, as a window
        // the player has just started and types into.
        a.End();
        HWND main = setup_.RequireMain();
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(setup_.thread, &info);
        HWND foreground = GetForegroundWindow();
        if (foreground != main || info.hwndActive != main)
            fail("the main window in the foreground and active",
                 "foreground " + (foreground ? quoted(textOf(foreground)) : std::string("none")) + ", active " +
                     (info.hwndActive ? quoted(textOf(info.hwndActive)) : std::string("none")));
    } else if (command == "check-progress" || command == "wait-progress-at-least") {
        auto [page, id] = a.NextControl();
        long pos = a.NextNumber("position");
        std::optional<long> max;
        if (!a.AtEnd()) max = a.NextNumber("maximum");
        a.End();
        const bool atLeast = command == "wait-progress-at-least";
        std::string expected = "progress bar " + std::to_string(id) + (atLeast ? " at least at " : " at ") + std::to_string(pos);
        if (max) expected += " of " + std::to_string(*max);
        WaitFor(expected, [&](std::string& found) {
            HWND bar = setup_.RequireControl(id, page);
            LRESULT at = 0, top = 0;
            if (!sendTimed(bar, PBM_GETPOS, 0, 0, at) || !sendTimed(bar, PBM_GETRANGE, FALSE, 0, top))
                fail("answers from the progress bar", "none");
            found = std::to_string(at) + " of " + std::to_string(top);
            return (atLeast ? at >= pos : at == pos) && (!max || top == *max);
        });
    } else if (command == "check-progress-still") {
        // The bar does not move for the given time: the job waits.
        long id = a.NextNumber("control id");
        long ms = a.NextNumber("milliseconds");
        a.End();
        HWND bar = setup_.RequireControl(static_cast<int>(id));
        LRESULT first = 0;
        sendTimed(bar, PBM_GETPOS, 0, 0, first);
        const auto until = Clock::now() + std::chrono::milliseconds(ms);
        while (Clock::now() < until) {
            LRESULT now = 0;
            sendTimed(bar, PBM_GETPOS, 0, 0, now);
            if (now != first)
                fail("progress bar " + std::to_string(id) + " standing at " + std::to_string(first) + " for " + std::to_string(ms) + " ms",
                     "it moved to " + std::to_string(now));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    } else if (command == "box") {
        std::wstring text = a.RestWide();
        WaitFor("a message box saying " + quoted(text), [&](std::string& found) { return (box_ = FindBox(text, found)) != nullptr; });
    } else if (command == "box-caption") {
        std::wstring caption = a.RestWide();
        std::wstring shown = textOf(RequireBox());
        if (shown != caption) fail("the box's caption " + quoted(caption), quoted(shown));
    } else if (command == "box-buttons") {
        std::vector<long> ids;
        while (!a.AtEnd()) ids.push_back(a.NextNumber("button id"));
        HWND box = RequireBox();
        std::string expected, found;
        for (long id : ids) expected += " " + std::to_string(id);
        for (HWND w : directChildren(box))
            if (classOf(w) == L"Button" && IsWindowVisible(w)) found += " " + std::to_string(GetDlgCtrlID(w));
        if (found != expected) fail("the buttons" + expected, found.empty() ? " none" : found);
    } else if (command == "check-no-box") {
        a.End();
        std::vector<HWND> boxes = setup_.Dialogs(false);
        if (!boxes.empty()) fail("no message box", "a box saying " + quoted(textOf(GetDlgItem(boxes[0], 0xFFFF))));
    } else if (command == "answer") {
        long id = a.NextNumber("button id");
        a.End();
        ClickAndWaitClosed(RequireBox(), id, "message box");
        box_ = nullptr;
    } else if (command == "chooser" || command == "chooser-text" || command == "chooser-key") {
        HWND chooser = nullptr;
        WaitFor("the folder chooser", [&](std::string& found) {
            std::vector<HWND> all = setup_.Dialogs(true);
            found = "none";
            chooser = all.empty() ? nullptr : all[0];
            return chooser != nullptr;
        });
        if (command == "chooser-key") {
            // Straight to the chooser's tree: a letter goes as the character its search reads.
            const WORD key = VirtualKey(a.Next("key"));
            a.End();
            for (HWND w : directChildren(chooser))
                if (classOf(w) == WC_TREEVIEWW) {
                    PostMessageW(w, WM_KEYDOWN, key, 1);
                    if (key >= 'A' && key <= 'Z') PostMessageW(w, WM_CHAR, key - 'A' + 'a', 1);
                    PostMessageW(w, WM_KEYUP, key, 1 | (1UL << 30) | (1UL << 31));
                    std::this_thread::sleep_for(std::chrono::milliseconds(200));
                    return;
                }
            fail("a folder tree in the chooser", "none");
        }
        if (command == "chooser-text") {
            std::wstring text = a.RestWide();
            std::string found;
            for (HWND w : directChildren(chooser))
                if (classOf(w) == L"Static") {
                    std::wstring shown = textOf(w);
                    if (shown == text) return;
                    if (!shown.empty()) found += " " + quoted(shown);
                }
            fail("a text " + quoted(text) + " in the folder chooser", found.empty() ? "no text" : found);
        }
        std::string choice = a.Next("ok or cancel");
        a.End();
        if (choice != "ok" && choice != "cancel") fail("ok or cancel", choice);
        if (choice == "ok") {
            // OK takes the selection the setup asked for, once the chooser has made it.
            WaitFor("a selected folder in the chooser", [&](std::string& found) {
                found = "no selection";
                for (HWND w : directChildren(chooser)) {
                    if (classOf(w) != WC_TREEVIEWW) continue;
                    LRESULT item = 0;
                    return sendTimed(w, TVM_GETNEXTITEM, TVGN_CARET, 0, item) && item != 0;
                }
                return false;
            });
        }
        ClickAndWaitClosed(chooser, choice == "ok" ? IDOK : IDCANCEL, "folder chooser");
    } else if (command == "wait-gone") {
        a.End();
        HWND main = setup_.main;
        if (!main) fail("a main window found with wait-main", "none yet");
        WaitFor("the main window to go", [&](std::string& found) {
            found = "it is still there";
            return !IsWindow(main);
        });
    } else if (command == "wait-exit") {
        long code = a.NextNumber("exit code");
        a.End();
        if (!setup_.process) fail("the setup's process (after wait-main)", "none");
        if (WaitForSingleObject(setup_.process, static_cast<DWORD>(timeout_.count())) != WAIT_OBJECT_0)
            fail("the setup's process to end", "it still runs");
        DWORD exit = 0;
        GetExitCodeProcess(setup_.process, &exit);
        if (static_cast<long>(exit) != code) fail("exit code " + std::to_string(code), std::to_string(exit));
    } else if (command == "run") {
        // run <exit code> <working folder> <program>: starts a program and waits for its end.
        long code = a.NextNumber("exit code");
        std::wstring folder = a.NextWide("working folder");
        std::wstring program = a.RestPath();
        std::wstring commandLine = L"\"" + program + L"\"";
        STARTUPINFOW start{};
        start.cb = sizeof start;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &start, &info))
            fail("to start " + utf8(program), "error " + std::to_string(GetLastError()));
        CloseHandle(info.hThread);
        // Until it ends, any visible window of the started program is noted.
        std::wstring shownWindow;
        DWORD waited = WAIT_TIMEOUT;
        for (const auto deadline = Clock::now() + timeout_; Clock::now() < deadline;) {
            waited = WaitForSingleObject(info.hProcess, 5);
            if (waited == WAIT_OBJECT_0) break;
            for (HWND w : topLevelWindows())
                if (shownWindow.empty() && processOf(w) == info.dwProcessId && IsWindowVisible(w))
                    shownWindow = classOf(w) + L" " + textOf(w);
        }
        DWORD exit = 0;
        GetExitCodeProcess(info.hProcess, &exit);
        if (waited != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 99);
        CloseHandle(info.hProcess);
        if (waited != WAIT_OBJECT_0) fail(utf8(program) + " to end by itself", "it still ran");
        if (static_cast<long>(exit) != code) fail(utf8(program) + " ending with " + std::to_string(code), std::to_string(exit));
        if (!shownWindow.empty()) fail(utf8(program) + " showing no window", "it showed " + quoted(shownWindow));
    } else if (command == "check-face") {
        // The host and the visible page were laid out in the face's dialog units: the host's
        // window is its template of 275 x 214 units, every page's Cancel button 50 x 14.
        std::wstring face = a.RestWide();
        if (!faceInstalled(face)) fail("the face " + quoted(face) + " installed", "the system has no such face");
        const SIZE units = dialogBaseUnits(face);
        const RECT host = windowRect(setup_.Host()), cancel = windowRect(setup_.RequireControl(2));
        const long want[4] = {MulDiv(275, units.cx, 4), MulDiv(214, units.cy, 8), MulDiv(50, units.cx, 4), MulDiv(14, units.cy, 8)};
        const long got[4] = {host.right - host.left, host.bottom - host.top, cancel.right - cancel.left,
                             cancel.bottom - cancel.top};
        if (!std::equal(std::begin(want), std::end(want), std::begin(got)))
            fail("the host " + std::to_string(want[0]) + "x" + std::to_string(want[1]) + " and Cancel " +
                     std::to_string(want[2]) + "x" + std::to_string(want[3]) + " pixels (" + quoted(face) + " at 9 points)",
                 "host " + std::to_string(got[0]) + "x" + std::to_string(got[1]) + ", Cancel " + std::to_string(got[2]) +
                     "x" + std::to_string(got[3]));
    } else if (command == "check-glyphs") {
        // Every character of every control of the visible page has a glyph of its own in the face.
        std::wstring face = a.RestWide();
        std::wstring texts;
        for (HWND control : directChildren(setup_.RequirePage())) texts += textOf(control);
        if (texts.empty()) fail("texts on the visible page", "none");
        const std::wstring boxes = charactersDrawnAsBoxes(face, texts);
        if (!boxes.empty()) fail("every character of the page drawn by " + quoted(face), "boxes for " + quoted(boxes));
    } else if (command == "check-boxes") {
        // The face has no glyph for any character of the text but ASCII: it would draw boxes.
        std::wstring face = a.NextWide("face");
        std::wstring text = a.RestWide();
        std::wstring nonAscii;
        for (wchar_t c : text)
            if (c > 0x7E && nonAscii.find(c) == std::wstring::npos) nonAscii.push_back(c);
        const std::wstring boxes = charactersDrawnAsBoxes(face, nonAscii);
        if (boxes != nonAscii)
            fail("boxes for every character of " + quoted(text) + " in " + quoted(face), "boxes only for " + quoted(boxes));
    } else if (command == "shot") {
        std::wstring path = a.RestPath();
        // Let the last change paint before the picture is taken.
        if (setup_.main && IsWindow(setup_.main)) {
            LRESULT ignored = 0;
            sendTimed(setup_.main, WM_NULL, 0, 0, ignored);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        writeScreenshot(path);
    } else if (command == "check-file") {
        std::wstring path = a.NextWide("path");
        std::optional<long long> size;
        if (!a.AtEnd()) size = a.NextNumber("size");
        a.End();
        auto status = statusOf(path);
        if (!status || (status->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) fail("a file " + utf8(path), status ? "a folder" : "nothing");
        if (size && sizeOf(*status) != static_cast<unsigned long long>(*size))
            fail(utf8(path) + " of " + std::to_string(*size) + " bytes", std::to_string(sizeOf(*status)) + " bytes");
    } else if (command == "check-folder") {
        std::wstring path = a.RestPath();
        auto status = statusOf(path);
        if (!status || !(status->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) fail("a folder " + utf8(path), status ? "a file" : "nothing");
    } else if (command == "check-no-file") {
        std::wstring path = a.RestPath();
        auto status = statusOf(path);
        if (status) fail("nothing at " + utf8(path), status->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? "a folder" : "a file");
    } else if (command == "check-file-same") {
        std::wstring first = a.NextWide("path"), second = a.RestPath();
        auto s1 = statusOf(first), s2 = statusOf(second);
        if (!s1) fail("a file " + utf8(first), "nothing");
        if (!s2) fail("a file " + utf8(second), "nothing");
        std::string b1, b2;
        if (!readBytes(first, b1) || !readBytes(second, b2)) fail("both files readable", "a read failed");
        if (b1 != b2)
            fail(utf8(second) + " holding the bytes of " + utf8(first),
                 std::to_string(b2.size()) + " bytes against " + std::to_string(b1.size()) + ", not the same");
        if (timeOf(s1->ftLastWriteTime) != timeOf(s2->ftLastWriteTime))
            fail(utf8(second) + " written at " + timeText(s1->ftLastWriteTime), timeText(s2->ftLastWriteTime));
    } else if (command == "check-attr-clear" || command == "check-attr-set") {
        std::wstring path = a.NextWide("path");
        std::string name = a.Next("attribute");
        a.End();
        static const std::map<std::string, DWORD> names = {
            {"readonly", FILE_ATTRIBUTE_READONLY}, {"hidden", FILE_ATTRIBUTE_HIDDEN}, {"system", FILE_ATTRIBUTE_SYSTEM}};
        auto bit = names.find(name);
        if (bit == names.end()) fail("an attribute: readonly, hidden or system", name);
        auto status = statusOf(path);
        if (!status) fail("a file " + utf8(path), "nothing");
        const bool set = (status->dwFileAttributes & bit->second) != 0, want = command == "check-attr-set";
        if (set != want) fail(utf8(path) + (want ? " with " : " without ") + name, set ? "it is set" : "it is clear");
    } else if (command == "check-reg") {
        std::wstring key = a.NextWide("subkey"), value = a.NextWide("value name"), data = a.RestWide();
        wchar_t buffer[2048] = {};
        DWORD size = sizeof buffer, type = 0;
        LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, buffer, &size);
        if (status != ERROR_SUCCESS) fail("HKCU\\" + utf8(key) + " value " + utf8(value), "error " + std::to_string(status));
        if (type != REG_SZ) fail("a REG_SZ value " + utf8(value), "type " + std::to_string(type));
        std::wstring shown(buffer);
        if (shown != data) fail("HKCU\\" + utf8(key) + " " + utf8(value) + " = " + quoted(data), quoted(shown));
    } else if (command == "check-no-key" || command == "check-key") {
        std::wstring key = a.RestPath();
        HKEY opened = nullptr;
        const bool exists = RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS;
        if (opened) RegCloseKey(opened);
        const bool want = command == "check-key";
        if (exists != want) fail(std::string(want ? "a key" : "no key") + " HKCU\\" + utf8(key), exists ? "it exists" : "it is missing");
    } else if (command == "check-profile") {
        std::wstring file = a.NextWide("file"), section = a.NextWide("section"), key = a.NextWide("key"), value = a.RestWide();
        if (!statusOf(file)) fail("a profile file " + utf8(file), "nothing");
        wchar_t buffer[1024] = {};
        GetPrivateProfileStringW(section.c_str(), key.c_str(), L"\x1(missing)", buffer, 1024, file.c_str());
        std::wstring shown(buffer);
        if (shown == L"\x1(missing)") fail("[" + utf8(section) + "] " + utf8(key) + " in " + utf8(file), "no such key");
        if (shown != value) fail("[" + utf8(section) + "] " + utf8(key) + "=" + utf8(value), utf8(key) + "=" + utf8(shown));
    } else if (command == "check-lnk") {
        std::wstring link = a.NextWide("shortcut"), target = a.NextWide("target"), folder = a.RestPath();
        if (!statusOf(link)) fail("a shortcut " + utf8(link), "nothing");
        IShellLinkW* shell = nullptr;
        IPersistFile* file = nullptr;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, reinterpret_cast<void**>(&shell))))
            fail("a shell-link object", "none");
        std::string problem;
        if (FAILED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) || FAILED(file->Load(link.c_str(), STGM_READ)))
            problem = "it cannot be loaded";
        wchar_t path[MAX_PATH * 2] = {}, dir[MAX_PATH * 2] = {};
        int show = 0;
        if (problem.empty()) {
            shell->GetPath(path, MAX_PATH * 2, nullptr, SLGP_RAWPATH);
            shell->GetWorkingDirectory(dir, MAX_PATH * 2);
            shell->GetShowCmd(&show);
        }
        if (file) file->Release();
        shell->Release();
        if (!problem.empty()) fail("a readable shortcut " + utf8(link), problem);
        if (lower(path) != lower(target)) fail(utf8(link) + " pointing to " + utf8(target), quoted(path));
        if (lower(dir) != lower(folder)) fail(utf8(link) + " working in " + utf8(folder), quoted(dir));
        if (show != SW_SHOWNORMAL) fail(utf8(link) + " opening a normal window", "show command " + std::to_string(show));
    } else if (command == "write-file") {
        // write-file <path> [text]: a file the player made, such as a save file; missing folders
        // are made first.
        std::wstring path = a.NextWide("path");
        std::string text = a.Rest();
        for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
            CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD n = 0;
        bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        if (!ok) fail("to write " + utf8(path), "error " + std::to_string(GetLastError()));
    } else if (command == "check-started") {
        // check-started <log> <program> <working folder> [count]: the stand-in's log holds that
        // many lines (1 unless told) naming this program and working folder.
        std::wstring file = a.NextWide("log"), program = a.NextWide("program"), folder = a.NextWide("working folder");
        long count = a.AtEnd() ? 1 : a.NextNumber("count");
        a.End();
        auto folderKey = [](std::wstring f) {
            if (f.size() > 3 && f.back() == L'\\') f.pop_back();
            return lower(f);
        };
        WaitFor(std::to_string(count) + " starts of " + utf8(program) + " in " + utf8(folder), [&](std::string& found) {
            std::string bytes;
            if (!readBytes(file, bytes)) {
                found = "no log " + utf8(file);
                return false;
            }
            std::wistringstream lines(wide(bytes));
            std::wstring line;
            long matching = 0;
            found = "log:";
            while (std::getline(lines, line)) {
                if (!line.empty() && line.back() == L'\r') line.pop_back();
                found += " [" + utf8(line) + "]";
                std::size_t tab = line.find(L'\t');
                if (tab != std::wstring::npos && lower(line.substr(0, tab)) == lower(program) &&
                    folderKey(line.substr(tab + 1)) == folderKey(folder))
                    ++matching;
            }
            return matching == count;
        });
    } else if (command == "check-log-line") {
        std::wstring file = a.NextWide("file");
        std::string text = a.Rest();
        WaitFor("a line of " + utf8(file) + " holding \"" + text + "\"", [&](std::string& found) {
            std::string bytes;
            if (!readBytes(file, bytes)) {
                found = "no file";
                return false;
            }
            std::istringstream lines(bytes);
            std::string line;
            found = "lines:";
            while (std::getline(lines, line)) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                found += " [" + line + "]";
                if (line.find(text) != std::string::npos) return true;
            }
            return false;
        });
    } else {
        fail("a known command", "\"" + command + "\"");
    }
}

std::string expand(const std::string& line, const std::map<std::string, std::string>& variables) {
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
        if (line.compare(i, 2, "${") == 0) {
            std::size_t close = line.find('}', i + 2);
            if (close == std::string::npos) fail("a closing } in the line", "the end of the line");
            std::string name = line.substr(i + 2, close - i - 2);
            auto v = variables.find(name);
            std::string value;
            if (v != variables.end()) value = v->second;
            else if (name == "DESKTOP") value = utf8(shellFolder(CSIDL_DESKTOPDIRECTORY));
            else if (name == "PROGRAMS") value = utf8(shellFolder(CSIDL_PROGRAMS));
            else {
                wchar_t buffer[4096];
                DWORD n = GetEnvironmentVariableW(wide(name).c_str(), buffer, 4096);
                if (n == 0 || n >= 4096) fail("a variable " + name, "it is not set");
                value = utf8(std::wstring(buffer, n));
            }
            out += value;
            i = close + 1;
        } else {
            out += line[i++];
        }
    }
    return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    double timeout = 10;
    bool verbose = false;
    std::wstring scriptPath;
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i];
        if (arg == L"--timeout" && i + 1 < argc) timeout = _wtof(argv[++i]);
        else if (arg == L"--verbose") verbose = true;
        else scriptPath = arg;
    }
    std::string script;
    if (!scriptPath.empty()) {
        if (!readBytes(scriptPath, script)) {
            std::fprintf(stderr, "setup_driver: cannot read %s\n", utf8(scriptPath).c_str());
            return 2;
        }
    } else {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) script.append(buffer, n);
    }
    if (script.compare(0, 3, "\xEF\xBB\xBF") == 0) script.erase(0, 3);
    CoInitialize(nullptr);
    Driver driver(timeout);
    const std::string name = scriptPath.empty() ? "stdin" : utf8(scriptPath);
    std::istringstream lines(script);
    std::string raw;
    int number = 0;
    while (std::getline(lines, raw)) {
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::size_t first = raw.find_first_not_of(" \t");
        if (first == std::string::npos || raw[first] == '#') continue;
        try {
            Line line(expand(raw.substr(first), driver.variables));
            std::string command = line.Next("command");
            if (verbose) std::fprintf(stderr, "%s:%d: %s\n", name.c_str(), number, raw.c_str() + first);
            driver.Run(command, line);
        } catch (const Failure& f) {
            std::fprintf(stdout, "%s:%d: %s\n  expected: %s\n  found:    %s\n", name.c_str(), number, raw.c_str() + first,
                         f.expected.c_str(), f.found.c_str());
            std::fflush(stdout);
            CoUninitialize();
            return 1;
        }
    }
    CoUninitialize();
    return 0;
}
