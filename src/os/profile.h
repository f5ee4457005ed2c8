#pragma once
// Profile files (sections in brackets, key=value lines) read and written the way the Windows
// profile API does, in CP932 bytes whatever the system's code page. One implementation serves
// every platform.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "os/file_system.h"

namespace os {

class ProfileFile {
public:
    ProfileFile() = default;
    explicit ProfileFile(std::string bytes);
    // A missing or unreadable file reads as an empty one.
    static ProfileFile Load(FileSystem& fs, const std::string& path);

    // The value of the first matching key of the first matching section, trimmed, with one pair
    // of matching quotes removed; `defaultText` when there is none. Cut to bufferSize - 1 bytes.
    std::string GetString(std::string_view section, std::string_view key, std::string_view defaultText,
                          std::size_t bufferSize) const;

    // Whether the section holds the key with a value (a line with "=") that CP932 can hold.
    bool HasValue(std::string_view section, std::string_view key) const;

    // Replaces the key's value in place, appends the key to its section, or appends the section;
    // every other byte stays.
    void SetString(std::string_view section, std::string_view key, std::string_view value);

    const std::string& Bytes() const { return bytes_; }

    // The file's layout for a reader that reports by line (numbers count from 1). Section 0 holds
    // the lines above every header; its header line is 0.
    struct HeaderLine {
        std::size_t line;
        std::string name;
    };
    struct KeyLine {
        std::size_t line;
        std::size_t section;  // index into Headers()
        std::string name;
        bool hasValue;
        std::string value;  // trimmed, quotes kept
    };
    std::vector<HeaderLine> Headers() const;
    std::vector<KeyLine> KeyLines() const;

private:
    struct Key {
        std::size_t lineStart;  // where the key's line begins
        std::size_t lineEnd;    // before its line end
        std::string name;       // as written, trimmed
        bool hasValue;
        std::string value;
    };
    struct Section {
        std::string name;
        std::size_t contentEnd;  // after the line end of the section's last non-blank line
        std::vector<Key> keys;
        std::unordered_map<std::string, std::size_t> firstKey;  // folded name -> index in keys
        std::size_t headerStart = 0;
    };

    void parse();
    std::string lineEndAt(std::size_t at) const;
    const Section* findSection(std::string_view name) const;
    const Key* findKey(std::string_view section, std::string_view key) const;
    static bool holdsValue(const Key* k);

    std::string bytes_;
    std::vector<Section> sections_;  // sections_[0] holds the keys above every header
    std::unordered_map<std::string, std::size_t> firstSection;
};

// GetPrivateProfileString and WritePrivateProfileString over the file at `path`.
std::string ReadProfileText(FileSystem& fs, const std::string& path, std::string_view section, std::string_view key,
                            std::string_view defaultText, std::size_t bufferSize);
bool WriteProfileText(FileSystem& fs, const std::string& path, std::string_view section, std::string_view key,
                      std::string_view value);

}  // namespace os
