// The authoring file as a whole: its encoding, its sections and keys, and the settings.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>

#include "os/profile.h"
#include "os/profile_encoding.h"
#include "setupdata/check.h"
#include "setupdata/check_detail.h"
#include "setupdata/names.h"
#include "setupdata/registration.h"
#include "support/cp932.h"
#include "support/cp932_literal.h"
#include "support/system_text.h"

namespace setupdata {
namespace {

const std::string kSettings(SJ("設定"));
const std::string kListing(SJ("登録"));
const std::string kUnregistered(SJ("未登録"));
const char* const kSettingKeys[] = {"Name", "Registry", "DXCurrent", "exec", "folder", "save"};

constexpr const char* kSaveAs = "save it as \"Shift-JIS\" (ANSI on a Japanese Windows) or as \"Unicode\" (UTF-16 LE)";

bool ValidUtf8(std::string_view s, bool& nonAscii) {
    nonAscii = false;
    for (std::size_t i = 0; i < s.size();) {
        auto b = static_cast<unsigned char>(s[i]);
        int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size() + (extra == 0)) return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        nonAscii = nonAscii || extra > 0;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

// Calls f(line number, line) for each line of the text.
template <typename F>
void ForEachLine(const std::string& text, F f) {
    std::size_t pos = 0, number = 1;
    while (pos < text.size()) {
        std::size_t eol = text.find('\n', pos);
        std::size_t end = eol == std::string::npos ? text.size() : eol;
        f(number++, std::string_view(text).substr(pos, end - pos));
        pos = end + 1;
    }
}

std::string KeyOfLine(std::string_view line) {
    return Readable(support::Trim(line.substr(0, line.find('=')), support::kBlanks));
}

// False when the rest is not worth reading: the file is UTF-8, read as Shift-JIS it is noise.
bool CheckEncoding(const std::string& raw, const std::string& text, bool utf16, CheckReport& report) {
    if (utf16) {
        report.encoding = "UTF-16LE";
        ForEachLine(text, [&](std::size_t n, std::string_view line) {
            if (line.find('\0') != std::string_view::npos)
                report.add(
                    Severity::Error, n, KeyOfLine(line),
                    "holds a character that Shift-JIS (CP932) cannot spell: the setup reads the value as missing");
        });
        return true;
    }
    bool nonAscii = false;
    bool bom = raw.compare(0, 3, "\xEF\xBB\xBF") == 0;
    if (bom || (ValidUtf8(raw, nonAscii) && nonAscii)) {
        report.encoding = "UTF-8";
        report.add(Severity::Error, 1, "",
                   std::string("the file is saved as UTF-8") + (bom ? " with a byte-order mark" : "") +
                       ", which the setup reads as Shift-JIS: it finds no [設定] section; " + kSaveAs);
        return false;
    }
    report.encoding = "CP932";
    ForEachLine(text, [&](std::size_t n, std::string_view line) {
        std::string utf8;
        if (!support::ToUtf8(line, utf8))
            report.add(Severity::Error, n, KeyOfLine(line),
                       std::string("holds bytes that are not Shift-JIS (CP932); ") + kSaveAs);
    });
    return true;
}

bool IsNumber(const std::string& text) {
    std::size_t start = 0, end = text.size();
    bool hex = false;
    if (text.size() >= 2 && (text.back() == 'h' || text.back() == 'H'))
        hex = true, --end;
    else if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        hex = true, start = 2;
    if (!hex && start < end && text[start] == '-') ++start;
    if (start == end) return false;
    for (std::size_t i = start; i < end; ++i) {
        char c = text[i];
        bool digit = (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
        if (!digit) return false;
    }
    return true;
}

std::size_t Distance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

std::string DidYouMean(const std::string& name, const std::vector<std::string>& known) {
    const std::string folded = support::FoldAsciiCase(name);
    for (const std::string& k : known)
        if (Distance(folded, support::FoldAsciiCase(k)) <= std::max<std::size_t>(2, k.size() / 4))
            return "; did you mean " + Readable(k) + "?";
    return "";
}

// "regist" and decimal digits: the index; -1 for any other name.
long long RegistIndex(const std::string& folded) {
    if (folded.size() <= 6 || folded.size() > 16 || folded.compare(0, 6, "regist") != 0) return -1;
    if (folded.find_first_not_of("0123456789", 6) != std::string::npos) return -1;
    return std::stoll(folded.substr(6));
}

}  // namespace

std::string RegistKey(std::uint64_t index) {
    char key[32];
    std::snprintf(key, sizeof key, "regist%02llu", static_cast<unsigned long long>(index));
    return key;
}

CheckReport CheckAuthoringFile(os::FileSystem& fs, const std::string& sourceFolder) {
    CheckReport report;
    report.file = "SetupRegist.ini";
    const std::string path = sourceFolder + "SetupRegist.ini";
    std::string raw;
    if (!os::ReadWholeFile(fs, path, raw)) {
        report.add(Severity::Error, 0, "", "not found beside Setup.exe, or it cannot be read");
        return report;
    }
    bool utf16 = false;
    const std::string text = os::DecodeProfileText(raw, utf16);
    if (!CheckEncoding(raw, text, utf16, report)) return report;
    const os::ProfileFile profile(text);
    AuthoringLayout layout = CheckLayout(profile, report);

    // The settings, read as registration reads them.
    SetupData data;
    SettingLines lines{layout.line(kSettings, "Registry"), layout.line(kSettings, "DXCurrent"),
                       layout.line(kSettings, "exec"), layout.line(kSettings, "folder")};
    auto required = [&](const std::string& section, const std::string& key, std::string& out) {
        if (ReadProfileString(profile, section, key, out)) return true;
        std::size_t line = layout.line(section, key);
        if (!profile.HasValue(section, key)) {
            if (line == 0)
                report.add(Severity::Error, 0, key, "missing from [" + Readable(section) + "]: the setup needs it");
        } else if (out.empty()) {
            report.add(Severity::Error, line, key, "empty: the setup needs a value");
        } else {
            report.add(Severity::Error, line, key, "is \"未登録\", which the setup reads as missing");
        }
        return false;
    };
    if (required(kSettings, "Name", data.title) && !IsSafeFileName(data.title))
        report.add(Severity::Error, layout.line(kSettings, "Name"), "Name",
                   "\"" + Readable(data.title) +
                       "\" cannot be a folder name; it names the install folder, the shortcuts "
                       "and the game's profile file (no \\ / : * ? \" < > |, no device name)");
    required(kSettings, "Registry", data.registryRoot);
    lines.directXRead = required(kSettings, "DXCurrent", data.directXFolder);
    lines.execRead = required(kSettings, "exec", data.executable);
    if (!ReadProfileString(profile, kSettings, "folder", data.dataFolder) && !profile.HasValue(kSettings, "folder"))
        report.add(Severity::Warning, 0, "folder",
                   "missing: the setup then reads every file below a folder named \"未登録\"; write folder= for the "
                   "medium's root");
    std::string save;
    if (required(kSettings, "save", save) && !IsNumber(save))
        report.add(Severity::Warning, layout.line(kSettings, "save"), "save",
                   "\"" + Readable(save) + "\" is not a number: the setup reads 0 save slots");
    data.saveSlotCount = ConvertProfileInt(save);

    std::string countText;
    if (required(kListing, "count", countText)) {
        const std::size_t line = layout.line(kListing, "count");
        const std::int32_t count = ConvertProfileInt(countText);
        if (!IsNumber(countText))
            report.add(Severity::Error, line, "count",
                       "\"" + Readable(countText) + "\" is not a number: the setup reads 0 and registers no file");
        else if (count < 0)
            report.add(Severity::Error, line, "count",
                       "is negative: registration reads regist keys until one is missing and then fails");
        CheckEntries(fs, sourceFolder, profile, layout, count < 0 ? -1 : count, line, data, report);
    }
    CheckProgramAndMedium(fs, sourceFolder, data, lines, report);

    // Whatever registration itself refuses is an error here too.
    if (report.count(Severity::Error) == 0) {
        SetupData again;
        RegistrationError error;
        if (!again.registerFromSource(fs, path, &error))
            report.add(Severity::Error,
                       layout.line(error.key.rfind("regist", 0) == 0 ? kListing : kSettings, error.key),
                       Readable(error.key),
                       std::string("registration fails: ") + Describe(error.fault) + ": " + Readable(error.path));
    }
    // In file order; what has no line (a missing key, the medium) last.
    std::stable_sort(report.findings.begin(), report.findings.end(), [](const Finding& a, const Finding& b) {
        return (a.line == 0 ? SIZE_MAX : a.line) < (b.line == 0 ? SIZE_MAX : b.line);
    });
    return report;
}

AuthoringLayout CheckLayout(const os::ProfileFile& profile, CheckReport& report) {
    AuthoringLayout layout;
    const auto headers = profile.Headers();
    std::map<std::string, std::size_t> firstHeader;  // folded name -> section index
    std::vector<bool> read(headers.size(), false);
    for (std::size_t i = 1; i < headers.size(); ++i) {
        const std::string folded = support::FoldAsciiCase(headers[i].name);
        auto [it, fresh] = firstHeader.emplace(folded, i);
        bool known =
            support::EqualsNoCase(headers[i].name, kSettings) || support::EqualsNoCase(headers[i].name, kListing);
        if (!fresh) {
            if (known)
                report.add(Severity::Warning, headers[i].line, "[" + Readable(headers[i].name) + "]",
                           "again: the setup reads the first one only (line " +
                               std::to_string(headers[it->second].line) + "); the keys below this one are ignored");
            continue;
        }
        if (!known) {
            report.add(Severity::Warning, headers[i].line, "[" + Readable(headers[i].name) + "]",
                       "unknown section: the setup reads [設定] and [登録] only" +
                           DidYouMean(headers[i].name, {kSettings, kListing}));
            continue;
        }
        read[i] = true;
    }
    std::map<std::pair<std::size_t, std::string>, std::size_t> seen;
    for (const auto& k : profile.KeyLines()) {
        if (!k.name.empty() && k.name[0] == ';') continue;  // a comment
        if (k.section == 0) {
            report.add(Severity::Warning, k.line, Readable(k.name), "stands above every section: the setup ignores it");
            continue;
        }
        if (!read[k.section]) continue;
        if (!k.hasValue) {
            report.add(Severity::Warning, k.line, Readable(k.name), "has no \"=\": the setup ignores the line");
            continue;
        }
        const bool settings = support::EqualsNoCase(headers[k.section].name, kSettings);
        const std::string folded = support::FoldAsciiCase(k.name);
        auto [it, fresh] = seen.emplace(std::make_pair(k.section, folded), k.line);
        if (!fresh) {
            report.add(Severity::Warning, k.line, Readable(k.name),
                       "again: the setup reads the first one (line " + std::to_string(it->second) + ")");
            continue;
        }
        layout.lines[{settings ? kSettings : kListing, folded}] = k.line;
        if (settings) {
            bool known = std::any_of(std::begin(kSettingKeys), std::end(kSettingKeys),
                                     [&](const char* name) { return support::EqualsNoCase(k.name, name); });
            if (!known)
                report.add(Severity::Warning, k.line, Readable(k.name),
                           "unknown key in [設定]: the setup ignores it" +
                               DidYouMean(k.name, {std::begin(kSettingKeys), std::end(kSettingKeys)}));
            continue;
        }
        if (folded == "count") continue;
        long long index = RegistIndex(folded);
        if (index >= 0 && RegistKey(static_cast<std::uint64_t>(index)) == folded) {
            layout.regist[static_cast<std::uint64_t>(index)] = k.line;
        } else if (index >= 0) {
            std::string proper = RegistKey(static_cast<std::uint64_t>(index));
            report.add(
                Severity::Warning, k.line, Readable(k.name),
                "the setup looks for " + proper + " (two digits at least, no more leading zeros): write " + proper);
        } else {
            report.add(Severity::Warning, k.line, Readable(k.name),
                       "unknown key in [登録]: the setup ignores it" + DidYouMean(k.name, {"count", "regist00"}));
        }
    }
    return layout;
}

std::size_t AuthoringLayout::line(const std::string& section, const std::string& key) const {
    auto it = lines.find({section, support::FoldAsciiCase(key)});
    return it == lines.end() ? 0 : it->second;
}

}  // namespace setupdata
