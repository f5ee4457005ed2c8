#include "os/posix/drive_table.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "support/system_text.h"

namespace os::posix {
namespace {

std::optional<DriveType> ParseType(const std::string& name) {
    if (name == "fixed") return DriveType::Fixed;
    if (name == "cdrom") return DriveType::CdRom;
    if (name == "removable") return DriveType::Removable;
    if (name == "remote") return DriveType::Remote;
    return std::nullopt;
}

std::string NormalFolder(const std::string& folder) {
    std::string out = std::filesystem::absolute(folder).lexically_normal().string();
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

std::vector<Drive> DefaultTable() {
    std::vector<Drive> drives;
    if (const char* setting = std::getenv("SETUP_DRIVES")) {
        std::string text = setting;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find(';', start);
            std::string item = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
            start = end == std::string::npos ? text.size() : end + 1;
            std::size_t colon = item.rfind(':');
            if (item.size() < 3 || item[1] != '=' || colon == std::string::npos || colon < 2) continue;
            auto type = ParseType(item.substr(colon + 1));
            char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(item[0])));
            if (type && letter >= 'A' && letter <= 'Z')
                drives.push_back({letter, NormalFolder(item.substr(2, colon - 2)), *type});
        }
        return drives;
    }
    const char* home = std::getenv("HOME");
    drives.push_back(
        {'C', NormalFolder(std::string(home ? home : "/tmp") + "/.local/share/setup/drive_c"), DriveType::Fixed});
    drives.push_back({'Z', "/", DriveType::Fixed});
    return drives;
}

std::vector<Drive>& Table() {
    static std::vector<Drive> drives = DefaultTable();
    return drives;
}

const Drive* FindDrive(char letter) {
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const Drive& d : Table())
        if (d.letter == letter) return &d;
    return nullptr;
}

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The drive letter of the host's current folder, for paths that start at a root ("\x").
std::optional<char> CurrentDrive() {
    char buffer[4096];
    if (!getcwd(buffer, sizeof buffer)) return std::nullopt;
    std::string windows;
    if (!ToWindowsPath(buffer, windows)) return std::nullopt;
    return windows[0];
}

}  // namespace

void SetDriveTable(std::vector<Drive> drives) {
    for (Drive& d : drives) d.hostFolder = NormalFolder(d.hostFolder);
    Table() = std::move(drives);
}

const std::vector<Drive>& DriveTable() { return Table(); }

bool ToHostPath(const std::string& windowsPath, std::string& hostPath) {
    std::string text;
    // Decode first: a trail byte 0x5C is part of its character, never a separator.
    if (!support::ToUtf8(windowsPath, text)) return false;
    std::string base;
    std::string rest;
    if (text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == ':') {
        const Drive* drive = FindDrive(text[0]);
        if (!drive) return false;
        base = drive->hostFolder;
        rest = text.substr(2);
    } else if (text.size() >= 2 && (text[0] == '\\' || text[0] == '/') && (text[1] == '\\' || text[1] == '/')) {
        return false;  // network paths have no host form
    } else if (!text.empty() && (text[0] == '\\' || text[0] == '/')) {
        auto letter = CurrentDrive();
        const Drive* drive = letter ? FindDrive(*letter) : nullptr;
        if (!drive) return false;
        base = drive->hostFolder;
        rest = text;
    } else {
        rest = text;
    }
    for (char& c : rest)
        if (c == '\\') c = '/';
    if (base.empty()) {
        hostPath = rest;
        return true;
    }
    // Windows resolves "." and ".." by the text, never above the drive's root; the host kernel
    // would follow a link first and could leave the drive.
    std::vector<std::string> parts;
    for (std::size_t start = 0; start <= rest.size();) {
        std::size_t end = rest.find('/', start);
        if (end == std::string::npos) end = rest.size();
        std::string part = rest.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    hostPath = base;
    for (const std::string& part : parts) hostPath += (hostPath == "/" ? "" : "/") + part;
    if (!parts.empty() && rest.back() == '/') hostPath += '/';  // "a\" names a folder only, as on Windows
    return true;
}

bool ToWindowsPath(const std::string& hostPath, std::string& windowsPath) {
    std::string path = NormalFolder(hostPath);
    const Drive* best = nullptr;
    for (const Drive& d : Table()) {
        bool inside = d.hostFolder == "/" || path == d.hostFolder ||
                      (path.compare(0, d.hostFolder.size(), d.hostFolder) == 0 && path[d.hostFolder.size()] == '/');
        if (inside && (!best || d.hostFolder.size() > best->hostFolder.size())) best = &d;
    }
    if (!best) return false;
    std::string rest =
        best->hostFolder == "/" ? path.substr(1) : path.substr(std::min(path.size(), best->hostFolder.size() + 1));
    for (char& c : rest)
        if (c == '/') c = '\\';
    std::string encoded;
    if (!support::FromUtf8(rest, encoded)) return false;
    windowsPath = std::string(1, best->letter) + ":\\" + encoded;
    return true;
}

}  // namespace os::posix
