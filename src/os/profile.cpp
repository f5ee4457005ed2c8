#include "os/profile.h"

#include <algorithm>

#include "os/profile_encoding.h"
#include "support/cp932.h"

namespace os {
namespace {

using support::kBlanks;

std::string Folded(std::string_view name) { return support::FoldAsciiCase(support::Trim(name, kBlanks)); }

// Cuts to at most `limit` bytes without leaving half a double-byte character.
std::string Cut(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return std::string(text);
    std::size_t end = 0;
    while (end < limit) {
        std::size_t len = support::IsLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + len > limit) break;
        end += len;
    }
    return std::string(text.substr(0, end));
}

std::string Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return std::string(value.substr(1, value.size() - 2));
    return std::string(value);
}

}  // namespace

ProfileFile::ProfileFile(std::string bytes) : bytes_(std::move(bytes)) { parse(); }

ProfileFile ProfileFile::Load(FileSystem& fs, const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(fs, path, bytes)) bytes.clear();
    bool utf16 = false;
    return ProfileFile(DecodeProfileText(std::move(bytes), utf16));
}

void ProfileFile::parse() {
    sections_.clear();
    firstSection.clear();
    sections_.push_back(Section{});
    firstSection.emplace("", 0);  // keys above every header answer to the empty section name
    std::size_t pos = 0;
    while (pos < bytes_.size()) {
        std::size_t eol = bytes_.find('\n', pos);
        std::size_t next = eol == std::string::npos ? bytes_.size() : eol + 1;
        std::size_t end = eol == std::string::npos ? bytes_.size() : eol;
        if (end > pos && bytes_[end - 1] == '\r') --end;
        std::string line = support::Trim(std::string_view(bytes_).substr(pos, end - pos), kBlanks);
        std::size_t close = line.empty() || line[0] != '[' ? support::npos : support::FindLastChar(line, ']');
        if (close != support::npos) {  // a "[" line without "]" is no header; the system reads it as a key
            std::string name = support::Trim(line.substr(1, close - 1), kBlanks);
            sections_.push_back(Section{name, next, {}, {}});
            sections_.back().headerStart = pos;
            firstSection.emplace(support::FoldAsciiCase(name), sections_.size() - 1);
        } else if (!line.empty()) {
            // A ";" line is a key like any other, as the system reads it; no real key starts with
            // ";", so it acts as a comment.
            Section& section = sections_.back();
            std::size_t eq = line.find('=');  // '=' is never a trail byte
            Key key{pos, end, support::Trim(line.substr(0, eq), kBlanks), eq != std::string::npos,
                    eq == std::string::npos ? std::string() : support::Trim(line.substr(eq + 1), kBlanks)};
            section.firstKey.emplace(support::FoldAsciiCase(key.name), section.keys.size());
            section.keys.push_back(std::move(key));
            section.contentEnd = next;
        }
        pos = next;
    }
}

const ProfileFile::Section* ProfileFile::findSection(std::string_view name) const {
    auto it = firstSection.find(Folded(name));
    return it == firstSection.end() ? nullptr : &sections_[it->second];
}

const ProfileFile::Key* ProfileFile::findKey(std::string_view section, std::string_view key) const {
    const Section* s = findSection(section);
    if (!s) return nullptr;
    auto it = s->firstKey.find(Folded(key));
    return it == s->firstKey.end() ? nullptr : &s->keys[it->second];
}

// A value holding a character CP932 cannot spell reads as missing rather than as a lookalike.
bool ProfileFile::holdsValue(const Key* k) { return k && k->hasValue && k->value.find('\0') == std::string::npos; }

bool ProfileFile::HasValue(std::string_view section, std::string_view key) const {
    return holdsValue(findKey(section, key));
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key, std::string_view defaultText,
                                   std::size_t bufferSize) const {
    if (bufferSize == 0) return {};
    const Key* k = findKey(section, key);
    std::string result = holdsValue(k) ? k->value : support::TrimRight(defaultText, " ");
    return Cut(Unquoted(result), bufferSize - 1);
}

// What ends the line before `at` when text is put there: nothing after a line end, LF after a
// lone CR (the file's last line then ends in CR LF, as the system completes it, instead of keeping a
// CR in its value), CR LF otherwise.
std::string ProfileFile::lineEndAt(std::size_t at) const {
    if (at == 0 || bytes_[at - 1] == '\n') return {};
    return bytes_[at - 1] == '\r' ? "\n" : "\r\n";
}

void ProfileFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
    std::string keyName = support::Trim(key, kBlanks);
    const Section* s = findSection(section);
    if (!s) {
        std::string add = lineEndAt(bytes_.size());
        add.append("[").append(support::Trim(section, kBlanks)).append("]\r\n");
        add.append(keyName).append("=").append(value).append("\r\n");
        bytes_ += add;
    } else if (auto it = s->firstKey.find(Folded(key)); it != s->firstKey.end()) {
        const Key& k = s->keys[it->second];
        std::size_t indent = bytes_.find_first_not_of(kBlanks, k.lineStart);
        bytes_.replace(indent, k.lineEnd - indent, k.name + "=" + std::string(value));
    } else {
        std::size_t at = s->contentEnd;
        std::string add = lineEndAt(at);
        add += keyName + "=" + std::string(value) + "\r\n";
        bytes_.insert(at, add);
    }
    parse();
}

namespace {
// Line numbers by binary search over the line ends, so a long file costs one pass.
class LineNumbers {
public:
    explicit LineNumbers(const std::string& bytes) {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == '\n') ends_.push_back(i);
    }
    std::size_t at(std::size_t offset) const {
        return 1 + static_cast<std::size_t>(std::lower_bound(ends_.begin(), ends_.end(), offset) - ends_.begin());
    }

private:
    std::vector<std::size_t> ends_;
};
}  // namespace

std::vector<ProfileFile::HeaderLine> ProfileFile::Headers() const {
    const LineNumbers lines(bytes_);
    std::vector<HeaderLine> out;
    for (std::size_t i = 0; i < sections_.size(); ++i)
        out.push_back({i == 0 ? 0 : lines.at(sections_[i].headerStart), sections_[i].name});
    return out;
}

std::vector<ProfileFile::KeyLine> ProfileFile::KeyLines() const {
    const LineNumbers lines(bytes_);
    std::vector<KeyLine> out;
    for (std::size_t i = 0; i < sections_.size(); ++i)
        for (const Key& k : sections_[i].keys) out.push_back({lines.at(k.lineStart), i, k.name, k.hasValue, k.value});
    std::sort(out.begin(), out.end(), [](const KeyLine& a, const KeyLine& b) { return a.line < b.line; });
    return out;
}

std::string ReadProfileText(FileSystem& fs, const std::string& path, std::string_view section, std::string_view key,
                            std::string_view defaultText, std::size_t bufferSize) {
    return ProfileFile::Load(fs, path).GetString(section, key, defaultText, bufferSize);
}

bool WriteProfileText(FileSystem& fs, const std::string& path, std::string_view section, std::string_view key,
                      std::string_view value) {
    std::string bytes;
    // A file that is there but cannot be read (locked, no access) is left alone: it is not empty.
    if (!ReadWholeFile(fs, path, bytes)) {
        if (PathExists(fs, path)) return false;
        bytes.clear();
    }
    bool utf16 = false;
    ProfileFile profile(DecodeProfileText(std::move(bytes), utf16));
    profile.SetString(section, key, value);
    return RewriteWholeFile(fs, path, utf16 ? Utf16ProfileFromCp932(profile.Bytes()) : profile.Bytes());
}

}  // namespace os
