// Commands that check files, the registry, shortcuts and fonts, or write a player's file.
#include "commands.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <sstream>
#include <thread>

namespace driver {

// check-face
void CheckFace(Driver& d, Line& a) {
    // The host and the visible page were laid out in the face's dialog units: the host's
    // window is its template of 275 x 214 units, every page's Cancel button 50 x 14.
    std::wstring face = a.RestWide();
    if (!FaceInstalled(face)) Fail("the face " + Quoted(face) + " installed", "the system has no such face");
    const SIZE units = DialogBaseUnits(face);
    const RECT host = WindowRect(d.setup.Host()), cancel = WindowRect(d.setup.RequireControl(2));
    const long want[4] = {MulDiv(275, units.cx, 4), MulDiv(214, units.cy, 8), MulDiv(50, units.cx, 4),
                          MulDiv(14, units.cy, 8)};
    const long got[4] = {host.right - host.left, host.bottom - host.top, cancel.right - cancel.left,
                         cancel.bottom - cancel.top};
    if (!std::equal(std::begin(want), std::end(want), std::begin(got)))
        Fail("the host " + std::to_string(want[0]) + "x" + std::to_string(want[1]) + " and Cancel " +
                 std::to_string(want[2]) + "x" + std::to_string(want[3]) + " pixels (" + Quoted(face) + " at 9 points)",
             "host " + std::to_string(got[0]) + "x" + std::to_string(got[1]) + ", Cancel " + std::to_string(got[2]) +
                 "x" + std::to_string(got[3]));
}

// check-glyphs
void CheckGlyphs(Driver& d, Line& a) {
    // Every character of every control of the visible page has a glyph of its own in the face.
    std::wstring face = a.RestWide();
    std::wstring texts;
    for (HWND control : DirectChildren(d.setup.RequirePage())) texts += TextOf(control);
    if (texts.empty()) Fail("texts on the visible page", "none");
    const std::wstring boxes = CharactersDrawnAsBoxes(face, texts);
    if (!boxes.empty()) Fail("every character of the page drawn by " + Quoted(face), "boxes for " + Quoted(boxes));
}

// check-boxes
void CheckBoxes(Driver&, Line& a) {
    // The face has no glyph for any character of the text but ASCII: it would draw boxes.
    std::wstring face = a.NextWide("face");
    std::wstring text = a.RestWide();
    std::wstring nonAscii;
    for (wchar_t c : text)
        if (c > 0x7E && nonAscii.find(c) == std::wstring::npos) nonAscii.push_back(c);
    const std::wstring boxes = CharactersDrawnAsBoxes(face, nonAscii);
    if (boxes != nonAscii)
        Fail("boxes for every character of " + Quoted(text) + " in " + Quoted(face), "boxes only for " + Quoted(boxes));
}

// shot
void Shot(Driver& d, Line& a) {
    std::wstring path = a.RestPath();
    // Let the last change paint before the picture is taken.
    if (d.setup.main && IsWindow(d.setup.main)) {
        LRESULT ignored = 0;
        SendTimed(d.setup.main, WM_NULL, 0, 0, ignored);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    WriteScreenshot(path);
}

// check-file
void CheckFile(Driver&, Line& a) {
    std::wstring path = a.NextWide("path");
    std::optional<long long> size;
    if (!a.AtEnd()) size = a.NextNumber("size");
    a.End();
    auto status = StatusOf(path);
    if (!status || (status->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        Fail("a file " + Utf8(path), status ? "a folder" : "nothing");
    if (size && SizeOf(*status) != static_cast<unsigned long long>(*size))
        Fail(Utf8(path) + " of " + std::to_string(*size) + " bytes", std::to_string(SizeOf(*status)) + " bytes");
}

// check-folder
void CheckFolder(Driver&, Line& a) {
    std::wstring path = a.RestPath();
    auto status = StatusOf(path);
    if (!status || !(status->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        Fail("a folder " + Utf8(path), status ? "a file" : "nothing");
}

// check-no-file
void CheckNoFile(Driver&, Line& a) {
    std::wstring path = a.RestPath();
    auto status = StatusOf(path);
    if (status)
        Fail("nothing at " + Utf8(path), status->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? "a folder" : "a file");
}

// check-file-same
void CheckFileSame(Driver&, Line& a) {
    std::wstring first = a.NextWide("path"), second = a.RestPath();
    auto s1 = StatusOf(first), s2 = StatusOf(second);
    if (!s1) Fail("a file " + Utf8(first), "nothing");
    if (!s2) Fail("a file " + Utf8(second), "nothing");
    std::string b1, b2;
    if (!ReadBytes(first, b1) || !ReadBytes(second, b2)) Fail("both files readable", "a read failed");
    if (b1 != b2)
        Fail(Utf8(second) + " holding the bytes of " + Utf8(first),
             std::to_string(b2.size()) + " bytes against " + std::to_string(b1.size()) + ", not the same");
    if (TimeOf(s1->ftLastWriteTime) != TimeOf(s2->ftLastWriteTime))
        Fail(Utf8(second) + " written at " + TimeText(s1->ftLastWriteTime), TimeText(s2->ftLastWriteTime));
}

namespace {

void CheckAttribute(Line& a, bool want) {
    std::wstring path = a.NextWide("path");
    std::string name = a.Next("attribute");
    a.End();
    static const std::map<std::string, DWORD> names = {
        {"readonly", FILE_ATTRIBUTE_READONLY}, {"hidden", FILE_ATTRIBUTE_HIDDEN}, {"system", FILE_ATTRIBUTE_SYSTEM}};
    auto bit = names.find(name);
    if (bit == names.end()) Fail("an attribute: readonly, hidden or system", name);
    auto status = StatusOf(path);
    if (!status) Fail("a file " + Utf8(path), "nothing");
    const bool set = (status->dwFileAttributes & bit->second) != 0;
    if (set != want) Fail(Utf8(path) + (want ? " with " : " without ") + name, set ? "it is set" : "it is clear");
}

void CheckKeyExists(Line& a, bool want) {
    std::wstring key = a.RestPath();
    HKEY opened = nullptr;
    const bool exists = RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS;
    if (opened) RegCloseKey(opened);
    if (exists != want)
        Fail(std::string(want ? "a key" : "no key") + " HKCU\\" + Utf8(key), exists ? "it exists" : "it is missing");
}

}  // namespace

void CheckAttrClear(Driver&, Line& a) { CheckAttribute(a, false); }
void CheckAttrSet(Driver&, Line& a) { CheckAttribute(a, true); }
void CheckKey(Driver&, Line& a) { CheckKeyExists(a, true); }
void CheckNoKey(Driver&, Line& a) { CheckKeyExists(a, false); }

// check-reg
void CheckReg(Driver&, Line& a) {
    std::wstring key = a.NextWide("subkey"), value = a.NextWide("value name"), data = a.RestWide();
    wchar_t buffer[2048] = {};
    DWORD size = sizeof buffer, type = 0;
    LSTATUS status =
        RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, buffer, &size);
    if (status != ERROR_SUCCESS)
        Fail("HKCU\\" + Utf8(key) + " value " + Utf8(value), "error " + std::to_string(status));
    if (type != REG_SZ) Fail("a REG_SZ value " + Utf8(value), "type " + std::to_string(type));
    std::wstring shown(buffer);
    if (shown != data) Fail("HKCU\\" + Utf8(key) + " " + Utf8(value) + " = " + Quoted(data), Quoted(shown));
}

// check-profile
void CheckProfile(Driver&, Line& a) {
    std::wstring file = a.NextWide("file"), section = a.NextWide("section"), key = a.NextWide("key"),
                 value = a.RestWide();
    if (!StatusOf(file)) Fail("a profile file " + Utf8(file), "nothing");
    wchar_t buffer[1024] = {};
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"\x1(missing)", buffer, 1024, file.c_str());
    std::wstring shown(buffer);
    if (shown == L"\x1(missing)") Fail("[" + Utf8(section) + "] " + Utf8(key) + " in " + Utf8(file), "no such key");
    if (shown != value) Fail("[" + Utf8(section) + "] " + Utf8(key) + "=" + Utf8(value), Utf8(key) + "=" + Utf8(shown));
}

// check-lnk
void CheckLnk(Driver&, Line& a) {
    std::wstring link = a.NextWide("shortcut"), target = a.NextWide("target"), folder = a.RestPath();
    if (!StatusOf(link)) Fail("a shortcut " + Utf8(link), "nothing");
    IShellLinkW* shell = nullptr;
    IPersistFile* file = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shell))))
        Fail("a shell-link object", "none");
    std::string problem;
    if (FAILED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) ||
        FAILED(file->Load(link.c_str(), STGM_READ)))
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
    if (!problem.empty()) Fail("a readable shortcut " + Utf8(link), problem);
    if (Lower(path) != Lower(target)) Fail(Utf8(link) + " pointing to " + Utf8(target), Quoted(path));
    if (Lower(dir) != Lower(folder)) Fail(Utf8(link) + " working in " + Utf8(folder), Quoted(dir));
    if (show != SW_SHOWNORMAL) Fail(Utf8(link) + " opening a normal window", "show command " + std::to_string(show));
}

// write-file
void WritePlayerFile(Driver&, Line& a) {
    // write-file <path> [text]: a file the player made, such as a save file; missing folders
    // are made first.
    std::wstring path = a.NextWide("path");
    std::string text = a.Rest();
    for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD n = 0;
    bool ok =
        file != INVALID_HANDLE_VALUE && WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!ok) Fail("to write " + Utf8(path), "error " + std::to_string(GetLastError()));
}

// check-started
void CheckStarted(Driver& d, Line& a) {
    // check-started <log> <program> <working folder> [count]: the stand-in's log holds that
    // many lines (1 unless told) naming this program and working folder.
    std::wstring file = a.NextWide("log"), program = a.NextWide("program"), folder = a.NextWide("working folder");
    long count = a.AtEnd() ? 1 : a.NextNumber("count");
    a.End();
    auto folderKey = [](std::wstring f) {
        if (f.size() > 3 && f.back() == L'\\') f.pop_back();
        return Lower(f);
    };
    d.WaitFor(std::to_string(count) + " starts of " + Utf8(program) + " in " + Utf8(folder), [&](std::string& found) {
        std::string bytes;
        if (!ReadBytes(file, bytes)) {
            found = "no log " + Utf8(file);
            return false;
        }
        std::wistringstream lines(Wide(bytes));
        std::wstring line;
        long matching = 0;
        found = "log:";
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == L'\r') line.pop_back();
            found += " [" + Utf8(line) + "]";
            std::size_t tab = line.find(L'\t');
            if (tab != std::wstring::npos && Lower(line.substr(0, tab)) == Lower(program) &&
                folderKey(line.substr(tab + 1)) == folderKey(folder))
                ++matching;
        }
        return matching == count;
    });
}

// check-log-line
void CheckLogLine(Driver& d, Line& a) {
    std::wstring file = a.NextWide("file");
    std::string text = a.Rest();
    d.WaitFor("a line of " + Utf8(file) + " holding \"" + text + "\"", [&](std::string& found) {
        std::string bytes;
        if (!ReadBytes(file, bytes)) {
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
}
}  // namespace driver
