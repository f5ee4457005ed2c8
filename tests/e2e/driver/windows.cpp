// Texts, the setup's windows as another process sees them, and the driver's waits, boxes and keys.
#include "driver.h"

#include <cstdio>
#include <thread>

namespace driver {

// ---------------------------------------------------------------------------------------------
// Texts

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string Quoted(const std::wstring& text) { return "\"" + Utf8(text) + "\""; }

bool Matches(const std::wstring& pattern, const std::wstring& text, std::size_t p, std::size_t t) {
    if (p == pattern.size()) return t == text.size();
    if (pattern[p] == L'*') {
        for (std::size_t k = t; k <= text.size(); ++k)
            if (Matches(pattern, text, p + 1, k)) return true;
        return false;
    }
    if (pattern[p] == L'#') {
        std::size_t k = t;
        while (k < text.size() && text[k] >= L'0' && text[k] <= L'9') {
            ++k;
            if (Matches(pattern, text, p + 1, k)) return true;
        }
        return false;
    }
    return t < text.size() && pattern[p] == text[t] && Matches(pattern, text, p + 1, t + 1);
}

std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return s;
}

void Fail(std::string expected, std::string found) { throw Failure{std::move(expected), std::move(found)}; }

// ---------------------------------------------------------------------------------------------
// Windows of another process

bool SendTimed(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 3000, &answer)) return false;
    result = static_cast<LRESULT>(answer);
    return true;
}

std::wstring TextOf(HWND window) {
    LRESULT length = 0;
    if (!window || !SendTimed(window, WM_GETTEXTLENGTH, 0, 0, length)) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT got = 0;
    if (!SendTimed(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), got)) return {};
    text.resize(static_cast<std::size_t>(got));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

bool IsDialogClass(HWND window) { return ClassOf(window) == L"#32770"; }

static BOOL CALLBACK CollectWindow(HWND w, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> all;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    return all;
}

std::vector<HWND> DirectChildren(HWND parent) {
    std::vector<HWND> out;
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) out.push_back(w);
    return out;
}

bool HasDescendantOfClass(HWND parent, const wchar_t* cls) {
    for (HWND w : DirectChildren(parent))
        if (ClassOf(w) == cls || HasDescendantOfClass(w, cls)) return true;
    return false;
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::wstring ImageNameOf(DWORD pid) {
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

RECT WindowRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

RECT ClientRect(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    return r;
}

std::string RectText(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// ---------------------------------------------------------------------------------------------
// The setup as seen from outside

int PageNumberOf(HWND page) {
    auto has = [page](int id) { return GetDlgItem(page, id) != nullptr; };
    if (has(57665)) return 201;
    if (has(1008)) return 202;
    if (has(1003)) return 203;
    if (has(1007)) return 204;
    if (has(1001)) return 205;
    return 0;
}

std::string PageName(int number) { return number ? "page " + std::to_string(number) : "no known page"; }

void Setup::Attach(HWND window) {
    main = window;
    thread = GetWindowThreadProcessId(window, &pid);
    if (process) CloseHandle(process);
    process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
}

HWND Setup::RequireMain() const {
    if (!main) Fail("a main window found with wait-main", "none yet");
    if (!IsWindow(main)) Fail("the main window", "it has gone");
    return main;
}

bool Setup::Owns(HWND window) const {
    DWORD owner = ProcessOf(window);
    if (main) return owner == pid;
    return owner != GetCurrentProcessId() && Lower(ImageNameOf(owner)) == L"setup.exe";
}

HWND Setup::Host() const {
    for (HWND w : DirectChildren(RequireMain()))
        if (IsDialogClass(w)) return w;
    Fail("a page host dialog inside the main window", "none");
}

std::vector<HWND> Setup::Pages() const { return DirectChildren(Host()); }

HWND Setup::VisiblePage(std::string& found) const {
    HWND visible = nullptr;
    std::vector<int> shown;
    for (HWND w : Pages()) {
        if (!IsDialogClass(w) || !IsWindowVisible(w)) continue;
        visible = w;
        shown.push_back(PageNumberOf(w));
    }
    if (shown.size() == 1) return visible;
    found = shown.empty() ? "no visible page" : "several visible pages:";
    for (int n : shown) found += " " + std::to_string(n);
    return nullptr;
}

HWND Setup::RequirePage() const {
    std::string found;
    HWND page = VisiblePage(found);
    if (!page) Fail("exactly one visible page", found);
    return page;
}

HWND Setup::RequireControl(int id, int pageNumber) const {
    HWND page = nullptr;
    if (pageNumber) {
        for (HWND w : Pages())
            if (IsDialogClass(w) && PageNumberOf(w) == pageNumber) page = w;
        if (!page) Fail(PageName(pageNumber) + " in the page host", "none");
    } else {
        page = RequirePage();
    }
    HWND control = GetDlgItem(page, id);
    if (!control) Fail("control " + std::to_string(id) + " on " + PageName(PageNumberOf(page)), "it has none");
    return control;
}

HWND Setup::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread, &info)) return nullptr;
    return info.hwndFocus;
}

std::vector<HWND> Setup::Dialogs(bool chooser) const {
    std::vector<HWND> out;
    for (HWND w : TopLevelWindows()) {
        if (!IsWindowVisible(w) || !IsDialogClass(w) || !Owns(w)) continue;
        bool isChooser = HasDescendantOfClass(w, WC_TREEVIEWW);
        if (isChooser == chooser && (chooser || GetDlgItem(w, 0xFFFF))) out.push_back(w);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// The driver's waits, boxes and keys

void Driver::WaitFor(const std::string& expected, const std::function<bool(std::string& found)>& check) {
    const auto deadline = Clock::now() + timeout;
    std::string found;
    for (;;) {
        found.clear();
        try {
            if (check(found)) return;
        } catch (const Failure& f) {
            found = f.found.empty() ? f.expected : f.expected + ": " + f.found;
        }
        if (Clock::now() >= deadline)
            Fail(expected, found + " (after " + std::to_string(timeout.count() / 1000.0).substr(0, 4) + " s)");
        std::this_thread::sleep_for(poll);
    }
}

HWND Driver::FindBox(const std::wstring& text, std::string& found) {
    std::vector<HWND> boxes = setup.Dialogs(false);
    if (boxes.empty()) {
        found = "no message box";
        return nullptr;
    }
    for (HWND candidate : boxes) {
        std::wstring shown = TextOf(GetDlgItem(candidate, 0xFFFF));
        if (shown == text) return candidate;
        found = "a box saying " + Quoted(shown) + " (caption " + Quoted(TextOf(candidate)) + ")";
    }
    return nullptr;
}

HWND Driver::RequireBox() {
    if (!box || !IsWindow(box)) Fail("an open message box (after box)", "none");
    return box;
}

void Driver::ClickAndWaitClosed(HWND dialog, int id, const std::string& what) {
    HWND button = GetDlgItem(dialog, id);
    if (!button || !IsWindowVisible(button)) Fail("button " + std::to_string(id) + " on the " + what, "none");
    PostMessageW(button, BM_CLICK, 0, 0);
    WaitFor("the " + what + " to close after pressing " + std::to_string(id), [&](std::string& found) {
        found = "it is still open";
        return !IsWindow(dialog) || !IsWindowVisible(dialog);
    });
}

WORD VirtualKey(const std::string& name) {
    static const std::map<std::string, WORD> keys = {{"tab", VK_TAB},     {"enter", VK_RETURN}, {"esc", VK_ESCAPE},
                                                     {"space", VK_SPACE}, {"left", VK_LEFT},    {"right", VK_RIGHT},
                                                     {"up", VK_UP},       {"down", VK_DOWN}};
    // A letter, for the folder chooser's search by the first letters of a name.
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') return static_cast<WORD>('A' + (name[0] - 'a'));
    auto key = keys.find(name);
    if (key == keys.end()) Fail("a key: tab, enter, esc, space, left, right, up, down or a letter", name);
    return key->second;
}

void Driver::PostKey(const std::string& name) {
    const WORD key = VirtualKey(name);
    setup.RequireMain();
    HWND focus = setup.Focus();
    if (!focus) Fail("a focused window in the setup to type into", "no focus");
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    const LPARAM up = down | (1L << 30) | (1UL << 31);
    // The setup's own loop translates the key into a character when its dialog routing leaves
    // it, as it would for the keyboard.
    PostMessageW(focus, WM_KEYDOWN, key, down);
    PostMessageW(focus, WM_KEYUP, key, up);
}

void Driver::TypeKey(const std::string& name) {
    const WORD key = VirtualKey(name);
    INPUT input[2] = {};
    for (INPUT& i : input) {
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = key;
        i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    }
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (SendInput(2, input, sizeof(INPUT)) != 2) Fail("the key typed", "error " + std::to_string(GetLastError()));
}

std::string Driver::FocusDescription() {
    HWND focus = setup.Focus();
    if (!focus) return "no focus";
    HWND parent = GetParent(focus);
    std::string where = parent && IsDialogClass(parent) ? " on " + PageName(PageNumberOf(parent)) : "";
    return "control " + std::to_string(GetDlgCtrlID(focus)) + " (" + Utf8(ClassOf(focus)) + " " +
           Quoted(TextOf(focus)) + ")" + where;
}

void Driver::Print(const std::string& label, const std::string& figures) {
    std::printf("%s %s\n", label.c_str(), figures.c_str());
    std::fflush(stdout);
}

}  // namespace driver
