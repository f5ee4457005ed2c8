#pragma once
// The pieces of setup_driver: texts, the setup's windows seen from another process, files and
// the registry as Windows reports them, a script line, and the driver's state that every command
// works on. The command language itself is described in main.cpp.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace driver {

// ---------------------------------------------------------------------------------------------
// Texts

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& text);
std::string Quoted(const std::wstring& text);
// A pattern where "*" stands for any run of characters and "#" for one or more digits.
bool Matches(const std::wstring& pattern, const std::wstring& text, std::size_t p = 0, std::size_t t = 0);
std::wstring Lower(std::wstring s);

// A failed expectation; main reports it with the line it came from.
struct Failure {
    std::string expected, found;
};

[[noreturn]] void Fail(std::string expected, std::string found);

// ---------------------------------------------------------------------------------------------
// Windows of another process

// Messages to the setup go with a time limit, so a setup that hangs fails the check instead of
// hanging the driver.
bool SendTimed(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
bool IsDialogClass(HWND window);
std::vector<HWND> TopLevelWindows();
std::vector<HWND> DirectChildren(HWND parent);
bool HasDescendantOfClass(HWND parent, const wchar_t* cls);
DWORD ProcessOf(HWND window);
std::wstring ImageNameOf(DWORD pid);
RECT WindowRect(HWND w);
RECT ClientRect(HWND w);
std::string RectText(const RECT& r);

// Each page is known by controls that only it has.
int PageNumberOf(HWND page);
std::string PageName(int number);

// The setup as seen from outside.
class Setup {
public:
    HWND main = nullptr;
    DWORD pid = 0, thread = 0;
    HANDLE process = nullptr;

    void Attach(HWND window);
    HWND RequireMain() const;
    // Windows of the setup's process: that of the main window once known; before that, every
    // process running Setup.exe (a box can come before the main window).
    bool Owns(HWND window) const;
    HWND Host() const;
    std::vector<HWND> Pages() const;
    // The one visible page; zero or several visible pages are reported as found.
    HWND VisiblePage(std::string& found) const;
    HWND RequirePage() const;
    // A control of the visible page, or with `pageNumber` of that page whether shown or not.
    HWND RequireControl(int id, int pageNumber = 0) const;
    HWND Focus() const;
    // Top-level dialogs of the setup: message boxes (text in static 0xFFFF) and the folder
    // chooser (a tree view).
    std::vector<HWND> Dialogs(bool chooser) const;
};

// ---------------------------------------------------------------------------------------------
// Files, shell folders, screenshots and fonts

std::optional<WIN32_FILE_ATTRIBUTE_DATA> StatusOf(const std::wstring& path);
bool ReadBytes(const std::wstring& path, std::string& bytes);
unsigned long long SizeOf(const WIN32_FILE_ATTRIBUTE_DATA& d);
unsigned long long TimeOf(const FILETIME& t);
std::string TimeText(const FILETIME& t);
std::wstring ShellFolder(int csidl);
void WriteScreenshot(const std::wstring& path);

bool FaceInstalled(const std::wstring& face);
// The dialog base units of a face at 9 points, as the dialog manager measures them.
SIZE DialogBaseUnits(const std::wstring& face);
// The characters of `text` the face draws as the missing-glyph box.
std::wstring CharactersDrawnAsBoxes(const std::wstring& face, const std::wstring& text);

// ---------------------------------------------------------------------------------------------
// Script lines

class Line {
public:
    explicit Line(std::string text) : text_(std::move(text)) {}

    bool AtEnd();
    // The next argument: a word, or "..." holding spaces.
    std::string Next(const char* what);
    std::wstring NextWide(const char* what) { return Wide(Next(what)); }
    // A control: "id" on the visible page, or "page:id" on that page, shown or hidden. The
    // first of the pair is the page, 0 for the visible one.
    std::pair<int, int> NextControl();
    long NextNumber(const char* what);
    bool NextFlag(const char* what);
    // The rest of the line after one separator, as it stands.
    std::string Rest();
    std::wstring RestWide() { return Wide(Rest()); }
    // A quoted rest loses its quotes, so a text may begin or end with a blank.
    std::wstring RestPath();
    void End();

private:
    void SkipBlanks();
    std::string text_;
    std::size_t pos_ = 0;
};

// ---------------------------------------------------------------------------------------------
// The driver's state, shared by the commands

using Clock = std::chrono::steady_clock;

class Driver {
public:
    explicit Driver(double timeoutSeconds)
        : timeout(std::chrono::milliseconds(static_cast<long>(timeoutSeconds * 1000))) {}

    // Polls until `check` answers true; otherwise fails with what it last described as found.
    void WaitFor(const std::string& expected, const std::function<bool(std::string& found)>& check);
    HWND FindBox(const std::wstring& text, std::string& found);
    HWND RequireBox();
    void ClickAndWaitClosed(HWND dialog, int id, const std::string& what);
    void PostKey(const std::string& name);
    void TypeKey(const std::string& name);
    std::string FocusDescription();
    // The figures a benchmark reads from this program's output.
    void Print(const std::string& label, const std::string& figures);

    std::map<std::string, std::string> variables;
    std::chrono::milliseconds timeout;
    std::chrono::milliseconds poll{20};
    Clock::time_point mark = Clock::now();
    Setup setup;
    HWND box = nullptr;  // the box the last "box" found
};

WORD VirtualKey(const std::string& name);

// ---------------------------------------------------------------------------------------------
// Commands

using Command = void (*)(Driver&, Line&);

// Runs one command of the table; an unknown name fails.
void RunCommand(Driver& d, const std::string& name, Line& args);

}  // namespace driver
