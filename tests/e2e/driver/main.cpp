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
//
// The commands are one function each (commands_*.cpp), found by name in command_table.cpp.
#include "driver.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace driver {

bool Line::AtEnd() {
    SkipBlanks();
    return pos_ >= text_.size();
}

std::string Line::Next(const char* what) {
    SkipBlanks();
    if (pos_ >= text_.size()) Fail(std::string("an argument: ") + what, "the end of the line");
    if (text_[pos_] == '"') {
        std::size_t close = text_.find('"', pos_ + 1);
        if (close == std::string::npos) Fail("a closing quote", "the end of the line");
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

std::pair<int, int> Line::NextControl() {
    std::string word = Next("control id or page:id");
    std::size_t colon = word.find(':');
    char* end = nullptr;
    int page = 0;
    if (colon != std::string::npos) {
        page = static_cast<int>(std::strtol(word.substr(0, colon).c_str(), &end, 10));
        if (*end || colon == 0) Fail("a control as page:id", "\"" + word + "\"");
        word = word.substr(colon + 1);
    }
    long id = std::strtol(word.c_str(), &end, 0);
    if (word.empty() || *end) Fail("a control id", "\"" + word + "\"");
    return {page, static_cast<int>(id)};
}

long Line::NextNumber(const char* what) {
    std::string word = Next(what);
    char* end = nullptr;
    long value = std::strtol(word.c_str(), &end, 0);
    if (word.empty() || *end) Fail(std::string("a number: ") + what, "\"" + word + "\"");
    return value;
}

bool Line::NextFlag(const char* what) {
    long value = NextNumber(what);
    if (value != 0 && value != 1) Fail(std::string("0 or 1: ") + what, std::to_string(value));
    return value == 1;
}

std::string Line::Rest() {
    if (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    std::string rest = pos_ < text_.size() ? text_.substr(pos_) : std::string();
    pos_ = text_.size();
    return rest;
}

std::wstring Line::RestPath() {
    std::string rest = Rest();
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
    return Wide(rest);
}

void Line::End() {
    if (!AtEnd()) Fail("the end of the line", "\"" + text_.substr(pos_) + "\"");
}

void Line::SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
}

// ${NAME}: a variable of "set", a shell folder or an environment variable.
static std::string Expand(const std::string& line, const std::map<std::string, std::string>& variables) {
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
        if (line.compare(i, 2, "${") == 0) {
            std::size_t close = line.find('}', i + 2);
            if (close == std::string::npos) Fail("a closing } in the line", "the end of the line");
            std::string name = line.substr(i + 2, close - i - 2);
            auto v = variables.find(name);
            std::string value;
            if (v != variables.end())
                value = v->second;
            else if (name == "DESKTOP")
                value = Utf8(ShellFolder(CSIDL_DESKTOPDIRECTORY));
            else if (name == "PROGRAMS")
                value = Utf8(ShellFolder(CSIDL_PROGRAMS));
            else {
                wchar_t buffer[4096];
                DWORD n = GetEnvironmentVariableW(Wide(name).c_str(), buffer, 4096);
                if (n == 0 || n >= 4096) Fail("a variable " + name, "it is not set");
                value = Utf8(std::wstring(buffer, n));
            }
            out += value;
            i = close + 1;
        } else {
            out += line[i++];
        }
    }
    return out;
}

}  // namespace driver

int wmain(int argc, wchar_t** argv) {
    double timeout = 10;
    bool verbose = false;
    std::wstring scriptPath;
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i];
        if (arg == L"--timeout" && i + 1 < argc)
            timeout = _wtof(argv[++i]);
        else if (arg == L"--verbose")
            verbose = true;
        else
            scriptPath = arg;
    }
    std::string script;
    if (!scriptPath.empty()) {
        if (!driver::ReadBytes(scriptPath, script)) {
            std::fprintf(stderr, "setup_driver: cannot read %s\n", driver::Utf8(scriptPath).c_str());
            return 2;
        }
    } else {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) script.append(buffer, n);
    }
    if (script.compare(0, 3, "\xEF\xBB\xBF") == 0) script.erase(0, 3);
    CoInitialize(nullptr);
    driver::Driver session(timeout);
    const std::string name = scriptPath.empty() ? "stdin" : driver::Utf8(scriptPath);
    std::istringstream lines(script);
    std::string raw;
    int number = 0;
    while (std::getline(lines, raw)) {
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::size_t first = raw.find_first_not_of(" \t");
        if (first == std::string::npos || raw[first] == '#') continue;
        try {
            driver::Line line(driver::Expand(raw.substr(first), session.variables));
            std::string command = line.Next("command");
            if (verbose) std::fprintf(stderr, "%s:%d: %s\n", name.c_str(), number, raw.c_str() + first);
            driver::RunCommand(session, command, line);
        } catch (const driver::Failure& f) {
            std::fprintf(stdout, "%s:%d: %s\n  expected: %s\n  found:    %s\n", name.c_str(), number,
                         raw.c_str() + first, f.expected.c_str(), f.found.c_str());
            std::fflush(stdout);
            CoUninitialize();
            return 1;
        }
    }
    CoUninitialize();
    return 0;
}
