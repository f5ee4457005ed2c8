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

[[noreturn]] void Fail(const std::string& key, RegistrationFault fault, const std::string& path) {
    throw Failed{{key, fault, path}};
}

// Reads a required key; the out string is assigned even when the read fails.
void Require(const os::ProfileFile& profile, const std::string& profilePath, const std::string& section,
             const std::string& key, std::string& out) {
    if (ReadProfileString(profile, section, key, out)) return;
    if (!profile.HasValue(section, key)) Fail(key, RegistrationFault::Missing, profilePath);
    Fail(key, out.empty() ? RegistrationFault::Empty : RegistrationFault::Unregistered, profilePath);
}

}  // namespace

namespace {
bool IsWhitespace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
}  // namespace

std::string SkipWhitespace(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && IsWhitespace(s[i])) ++i;
    return s.substr(i);
}

std::string SplitToken(std::string& remaining) {
    remaining = SkipWhitespace(remaining);
    std::size_t comma = support::FindChar(remaining, ',');
    if (remaining.empty() || comma == support::npos) return {};
    std::string token = remaining.substr(0, comma);
    remaining = remaining.substr(comma + 1);
    return token;
}

const char* Describe(RegistrationFault fault) {
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

bool ReadProfileString(const os::ProfileFile& profile, const std::string& section, const std::string& key,
                       std::string& out) {
    std::string text = profile.GetString(section, key, kUnregistered, kValueBuffer);
    std::size_t comment = support::FindText(text, "//");
    if (comment != support::npos) text = text.substr(0, comment);
    out = support::Trim(text, support::kBlanks);
    return !out.empty() && !support::EqualsNoCase(out, kUnregistered);
}

bool ReadProfileString(os::FileSystem& fs, const std::string& profilePath, const std::string& section,
                       const std::string& key, std::string& out) {
    if (profilePath.empty()) return false;
    return ReadProfileString(os::ProfileFile::Load(fs, profilePath), section, key, out);
}

std::int32_t ConvertProfileInt(const std::string& text) {
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
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return 0;
        value = value * static_cast<std::uint32_t>(base) + digit;
    }
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

bool ReadProfileInt(const os::ProfileFile& profile, const std::string& section, const std::string& key,
                    std::int32_t& out) {
    std::string text;
    if (!ReadProfileString(profile, section, key, text)) return false;
    out = ConvertProfileInt(text);
    return true;
}

bool ReadProfileInt(os::FileSystem& fs, const std::string& profilePath, const std::string& section,
                    const std::string& key, std::int32_t& out) {
    if (profilePath.empty()) return false;
    return ReadProfileInt(os::ProfileFile::Load(fs, profilePath), section, key, out);
}

bool SetupData::registerFromSource(os::FileSystem& fs, const std::string& path, RegistrationError* error) {
    const std::string settings(SJ("設定"));
    const std::string listing(SJ("登録"));
    try {
        folders.clear();
        if (path.empty()) Fail("Name", RegistrationFault::Missing, path);
        const os::ProfileFile profile = os::ProfileFile::Load(fs, path);  // parsed once for every key
        Require(profile, path, settings, "Name", title);
        // The title names the install folder, the shortcuts and the profile file.
        if (!IsSafeFileName(title)) Fail("Name", RegistrationFault::UnsafeName, title);
        Require(profile, path, settings, "Registry", registryRoot);
        Require(profile, path, settings, "DXCurrent", directXFolder);
        Require(profile, path, settings, "exec", executable);
        ReadProfileString(profile, settings, "folder", dataFolder);
        std::string text;
        Require(profile, path, settings, "save", text);
        saveSlotCount = ConvertProfileInt(text);
        Require(profile, path, listing, "count", text);
        const auto count = static_cast<std::uint32_t>(ConvertProfileInt(text));
        for (std::uint32_t i = 0; i < count; ++i) {
            char key[32];
            std::snprintf(key, sizeof key, "regist%02u", i);
            std::string value;
            Require(profile, path, listing, key, value);
            value = support::Trim(value, "()");
            if (value.empty()) Fail(key, RegistrationFault::Empty, path);
            auto entry = std::make_shared<FileEntry>();
            std::string type = SplitToken(value);
            if (type.empty()) Fail(key, RegistrationFault::NoTypeToken, path);
            if (support::EqualsNoCase(type, "TYPE0"))
                entry->typeMask = -1;
            else if (support::EqualsNoCase(type, "TYPE1"))
                entry->typeMask = 2;
            else
                Fail(key, RegistrationFault::UnknownTypeToken, path);
            std::string folder = SplitToken(value);
            if (folder.empty()) {
                entry->folderIndex = -1;
            } else {
                if (!IsSafeFolderName(folder)) Fail(key, RegistrationFault::UnsafeName, folder);
                std::size_t at = 0;
                while (at < folders.size() && folders[at] != folder) ++at;
                if (at == folders.size()) folders.push_back(folder);
                entry->folderIndex = static_cast<std::int32_t>(at);
            }
            std::string filePath = SkipWhitespace(value);
            entry->name = support::FileNameOfPath(filePath);
            if (entry->name.empty()) entry->name = filePath;
            FileHandle file(fs);
            if (!file.OpenWithFlags(filePath, kModeRead) || !file.Size(entry->size))
                Fail(key, RegistrationFault::CannotOpen, filePath);
            file.Close();
            if (!IsSafeFileName(entry->name)) Fail(key, RegistrationFault::UnsafeName, filePath);
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
