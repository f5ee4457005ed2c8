#include "setupdata/registration.h"

#include <cstdio>

#include "setupdata/file_handle.h"
#include "setupdata/names.h"
#include "setupdata/setup_data.h"
#include "support/cp932.h"
#include "support/cp932_literal.h"


namespace setupdata {
namespace {

constexpr std::size_t kValueBuffer = 512;
const std::string kUnregistered(SJ("未登録"));

struct Failed {
    RegistrationError error;
};

[[noreturn]] void fail(const std::string& key, RegistrationFault fault, const std::string& path) {
    throw Failed{{key, fault, path}};
}

// Reads a required key; the out string is assigned even when the read fails.
void require(const os::ProfileFile& profile, const std::string& profilePath, const std::string& section,
             const std::string& key, std::string& out) {
    if (readProfileString(profile, section, key, out)) return;
    if (!profile.HasValue(section, key)) fail(key, RegistrationFault::Missing, profilePath);
    fail(key, out.empty() ? RegistrationFault::Empty : RegistrationFault::Unregistered, profilePath);
}

}  // namespace

namespace {
bool isWhitespace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
}  // namespace

std::string skipWhitespace(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && isWhitespace(s[i])) ++i;
    return s.substr(i);
}

std::string splitToken(std::string& remaining) {
    remaining = skipWhitespace(remaining);
    std::size_t comma = support::findChar(remaining, ',');
    if (remaining.empty() || comma == support::npos) return {};
    std::string token = remaining.substr(0, comma);
    remaining = remaining.substr(comma + 1);
    return token;
}

const char* describe(RegistrationFault fault) {
    switch (fault) {
        case RegistrationFault::Missing: return "missing";
        case RegistrationFault::Empty: return "empty";
        case RegistrationFault::Unregistered: return "\"未登録\"";
        case RegistrationFault::NoTypeToken: return "no install-type token";
        case RegistrationFault::UnknownTypeToken: return "unknown install-type token";
        case RegistrationFault::CannotOpen: return "file cannot be opened";
        case RegistrationFault::UnsafeName: return "unsafe name";
    }
    return "unknown";
}

bool readProfileString(const os::ProfileFile& profile, const std::string& section, const std::string& key,
                       std::string& out) {
    std::string text = profile.GetString(section, key, kUnregistered, kValueBuffer);
    std::size_t comment = support::findText(text, "//");
    if (comment != support::npos) text = text.substr(0, comment);
    out = support::trim(text, support::kBlanks);
    return !out.empty() && !support::equalsNoCase(out, kUnregistered);
}

bool readProfileString(os::FileSystem& fs, const std::string& profilePath, const std::string& section,
                       const std::string& key, std::string& out) {
    if (profilePath.empty()) return false;
    return readProfileString(os::ProfileFile::Load(fs, profilePath), section, key, out);
}

std::int32_t convertProfileInt(const std::string& text) {
    int base = 10;
    std::size_t start = 0, end = text.size();
    if (text.size() >= 2 && (text.back() == 'h' || text.back() == 'H')) {
        base = 16;
        --end;
    } else if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        start = 2;
    }
    bool negative = false;
    if (base == 10 && start < end && text[start] == '-') {
        negative = true;
        ++start;
    }
    std::uint32_t value = 0;
    for (std::size_t i = start; i < end; ++i) {
        char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else return 0;
        value = value * static_cast<std::uint32_t>(base) + digit;
    }
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

bool readProfileInt(const os::ProfileFile& profile, const std::string& section, const std::string& key,
                    std::int32_t& out) {
    std::string text;
    if (!readProfileString(profile, section, key, text)) return false;
    out = convertProfileInt(text);
    return true;
}

bool readProfileInt(os::FileSystem& fs, const std::string& profilePath, const std::string& section,
                    const std::string& key, std::int32_t& out) {
    if (profilePath.empty()) return false;
    return readProfileInt(os::ProfileFile::Load(fs, profilePath), section, key, out);
}

bool SetupData::registerFromSource(os::FileSystem& fs, const std::string& path, RegistrationError* error) {
    const std::string settings(SJ("設定"));
    const std::string listing(SJ("登録"));
    try {
        folders.clear();
        if (path.empty()) fail("Name", RegistrationFault::Missing, path);
        const os::ProfileFile profile = os::ProfileFile::Load(fs, path);  // parsed once for every key
        require(profile, path, settings, "Name", title);
        // The title names the install folder, the shortcuts and the profile file.
        if (!isSafeFileName(title)) fail("Name", RegistrationFault::UnsafeName, title);
        require(profile, path, settings, "Registry", registryRoot);
        require(profile, path, settings, "DXCurrent", directXFolder);
        require(profile, path, settings, "exec", executable);
        readProfileString(profile, settings, "folder", dataFolder);
        std::string text;
        require(profile, path, settings, "save", text);
        saveSlotCount = convertProfileInt(text);
        require(profile, path, listing, "count", text);
        const auto count = static_cast<std::uint32_t>(convertProfileInt(text));
        for (std::uint32_t i = 0; i < count; ++i) {
            char key[32];
            std::snprintf(key, sizeof key, "regist%02u", i);
            std::string value;
            require(profile, path, listing, key, value);
            value = support::trim(value, "()");
            if (value.empty()) fail(key, RegistrationFault::Empty, path);
            auto entry = std::make_shared<FileEntry>();
            std::string type = splitToken(value);
            if (type.empty()) fail(key, RegistrationFault::NoTypeToken, path);
            if (support::equalsNoCase(type, "TYPE0")) entry->typeMask = -1;
            else if (support::equalsNoCase(type, "TYPE1")) entry->typeMask = 2;
            else fail(key, RegistrationFault::UnknownTypeToken, path);
            std::string folder = splitToken(value);
            if (folder.empty()) {
                entry->folderIndex = -1;
            } else {
                if (!isSafeFolderName(folder)) fail(key, RegistrationFault::UnsafeName, folder);
                std::size_t at = 0;
                while (at < folders.size() && folders[at] != folder) ++at;
                if (at == folders.size()) folders.push_back(folder);
                entry->folderIndex = static_cast<std::int32_t>(at);
            }
            std::string filePath = skipWhitespace(value);
            entry->name = support::fileNameOfPath(filePath);
            if (entry->name.empty()) entry->name = filePath;
            FileHandle file(fs);
            if (!file.OpenWithFlags(filePath, kModeRead) || !file.Size(entry->size))
                fail(key, RegistrationFault::CannotOpen, filePath);
            file.Close();
            if (!isSafeFileName(entry->name)) fail(key, RegistrationFault::UnsafeName, filePath);
            files.push_back(std::move(entry));
        }
        return true;
    } catch (const Failed& f) {
        if (error) *error = f.error;
    } catch (...) {
        if (error) *error = {"", RegistrationFault::CannotOpen, path};
    }
    return false;
}

}  // namespace setupdata
