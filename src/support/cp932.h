#pragma once
// CP932 (Shift-JIS) byte strings: multibyte-aware search, trims, parts, case folding that
// touches ASCII letters only. Conversions live in support/system_text.h.
#include <cstddef>
#include <string>
#include <string_view>

namespace support {

constexpr std::size_t npos = std::string::npos;

inline bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// First position at or after `from` where `ch` (single-byte) stands as a character of its own.
std::size_t findChar(std::string_view s, char ch, std::size_t from = 0);
// Last such position, or npos.
std::size_t findLastChar(std::string_view s, char ch);
// First position of `needle` (single-byte characters only, such as "//") at a character start.
std::size_t findText(std::string_view s, std::string_view needle, std::size_t from = 0);

std::string trimLeft(std::string_view s, std::string_view set);
std::string trimRight(std::string_view s, std::string_view set);
std::string trim(std::string_view s, std::string_view set);
inline constexpr std::string_view kBlanks = " \t";

std::string left(std::string_view s, std::size_t count);
std::string rest(std::string_view s, std::size_t pos);

// The text after the last backslash, or the whole text when there is none.
std::string fileNameOfPath(std::string_view path);
// Appends a backslash unless the text already ends in one (a trail byte 0x5C does not count).
std::string withTrailingBackslash(std::string_view path);
bool endsWithBackslash(std::string_view path);

// Folds A-Z only; a trail byte is never folded.
std::string foldAsciiCase(std::string_view s);
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace support
