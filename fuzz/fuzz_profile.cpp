// Profile files from arbitrary bytes. Input: the file, then optionally (each after the marker
// FF FF) the section, the key and the value to write, and one more name to read.
// After writing a key, the key reads back as written and every other key reads as before; a
// value cut to a buffer is a prefix of the whole one that never ends in half a character.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "memory_file_system.h"
#include "os/profile.h"
#include "os/profile_encoding.h"
#include "setup_data_compare.h"
#include "support/cp932.h"
#include "support/cp932_literal.h"

namespace {

const std::string kPath = "C:\\Games\\Title\\Game.ini";

// Text as a caller passes it: whole CP932 characters (ASCII, half-width katakana, double-byte
// pairs), no control bytes, none of `forbidden`, blanks trimmed.
std::string WellFormed(std::string_view in, std::string_view forbidden) {
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        auto b = static_cast<unsigned char>(in[i]);
        if (support::IsLeadByte(b)) {
            if (i + 1 < in.size()) {
                auto t = static_cast<unsigned char>(in[i + 1]);
                if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) out.append(in.substr(i, 2));
                ++i;
            }
        } else if ((b >= 0x20 && b <= 0x7E && forbidden.find(static_cast<char>(b)) == std::string_view::npos) ||
                   (b >= 0xA1 && b <= 0xDF)) {
            out.push_back(static_cast<char>(b));
        }
    }
    return support::Trim(out, " ");
}

std::string Folded(std::string_view name) { return support::FoldAsciiCase(support::Trim(name, support::kBlanks)); }

// Names worth reading: the usual ones and what the file's own lines put before "]" or "=".
std::vector<std::string> NamesToRead(const std::string& file, const std::vector<std::string>& extra) {
    std::vector<std::string> names = {"", std::string(SJ("設定")), std::string(SJ("登録")), "Name", "count", "save"};
    for (const std::string& e : extra) names.push_back(e);
    std::size_t pos = 0;
    while (pos < file.size() && names.size() < 14) {
        std::size_t eol = file.find('\n', pos);
        std::string line = file.substr(pos, eol == std::string::npos ? std::string::npos : eol - pos);
        pos = eol == std::string::npos ? file.size() : eol + 1;
        std::string t = support::Trim(line, " \t\r");
        std::size_t cut = t.empty() ? std::string::npos : t[0] == '[' ? t.rfind(']') : t.find('=');
        if (cut == std::string::npos) continue;
        names.push_back(t[0] == '[' ? t.substr(1, cut - 1) : t.substr(0, cut));
    }
    return names;
}

// Whether `cut` ends where a character of `whole` ends.
bool EndsOnCharacter(const std::string& whole, std::size_t cut) {
    std::size_t i = 0;
    while (i < cut) i += support::IsLeadByte(static_cast<unsigned char>(whole[i])) && i + 1 < whole.size() ? 2 : 1;
    return i == cut;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> parts = fuzzing::SplitInput(data, size, 5);
    parts.resize(5);
    const std::string section = parts[1].empty() ? std::string(SJ("設定")) : WellFormed(parts[1], "");
    const std::string key = parts[2].empty() ? std::string("Name") : WellFormed(parts[2], "=");
    const std::string value = WellFormed(parts[3], "");
    // A key line that starts with "[" would read as a header; no caller names a key so.
    if (section.empty() || key.empty() || key[0] == '[') return 0;
    // A file saved as Unicode keeps what CP932 and UTF-16 both spell; a name or value with a byte
    // pair that CP932 leaves unassigned has no UTF-16 form, for the system's functions either.
    bool utf16 = false;
    const std::string text = os::DecodeProfileText(parts[0], utf16);
    auto survives = [](const std::string& s) { return os::Cp932FromUtf16Profile(os::Utf16ProfileFromCp932(s)) == s; };
    if (utf16 && !(survives(section) && survives(key) && survives(value))) return 0;

    fuzzing::MemoryFileSystem fs;
    fs.files[kPath] = parts[0];
    const std::size_t whole = text.size() + value.size() + 2;  // room for any value in the file
    const std::vector<std::string> names = NamesToRead(text, {section, key, parts[4]});
    const std::string absent = "\x01";

    const os::ProfileFile before = os::ProfileFile::Load(fs, kPath);
    std::vector<std::string> seen;
    int cutsChecked = 0;
    for (const std::string& s : names)
        for (const std::string& k : names) {
            std::string full = before.GetString(s, k, absent, whole);
            // Cuts of the first few values found, at the sizes around a character's edge.
            if (full != absent && cutsChecked++ < 6) {
                for (std::size_t buffer :
                     {std::size_t{1}, std::size_t{2}, std::size_t{3}, full.size(), full.size() + 1}) {
                    if (buffer == 0) continue;
                    std::string cut = before.GetString(s, k, absent, buffer);
                    if (cut.size() > buffer - 1 || full.compare(0, cut.size(), cut) != 0)
                        fuzzing::Fail("a cut value is not a prefix within the buffer");
                    if (!EndsOnCharacter(full, cut.size())) fuzzing::Fail("a cut value ends in half a character");
                    if (full.size() > buffer - 1 && cut.size() + 2 <= buffer - 1)
                        fuzzing::Fail("a cut value is shorter than the buffer needs");
                }
            }
            seen.push_back(std::move(full));
        }

    if (!os::WriteProfileText(fs, kPath, section, key, value)) fuzzing::Fail("the write failed");

    const os::ProfileFile after = os::ProfileFile::Load(fs, kPath);
    // One pair of matching quotes goes when the value is read.
    std::string expected = value;
    if (expected.size() >= 2 && (expected[0] == '"' || expected[0] == '\'') && expected.back() == expected[0])
        expected = expected.substr(1, expected.size() - 2);
    if (after.GetString(section, key, absent, whole) != expected) fuzzing::Fail("the written value does not read back");
    if (!after.HasValue(section, key)) fuzzing::Fail("the written key has no value");

    const std::string writtenSection = Folded(section), writtenKey = Folded(key);
    std::size_t at = 0;
    for (const std::string& s : names)
        for (const std::string& k : names) {
            const std::string& was = seen[at++];
            if (Folded(s) == writtenSection && Folded(k) == writtenKey) continue;
            if (after.GetString(s, k, absent, whole) != was) fuzzing::Fail("another key changed with the write");
        }
    return 0;
}
