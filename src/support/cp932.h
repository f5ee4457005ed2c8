#pragma once
// CP932 (Shift-JIS) byte strings: multibyte-aware search, trims, parts, case folding that
// touches ASCII letters only. Conversions live in support/system_text.h.
#include <cstddef>
#include <string>
#include <string_view>

namespace support {

constexpr std::size_t npos = std::string::npos;

inline bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// First position at or after `from` where `ch` (single-byte) stands as a character of its own.
std::size_t FindChar(std::string_view s, char ch, std::size_t from = 0);
// Last such position, or npos.
std::size_t FindLastChar(std::string_view s, char ch);
// First position of `needle` (single-byte characters only, such as "//") at a character start.
std::size_t FindText(std::string_view s, std::string_view needle, std::size_t from = 0);

std::string TrimLeft(std::string_view s, std::string_view set);
std::string TrimRight(std::string_view s, std::string_view set);
std::string Trim(std::string_view s, std::string_view set);
inline constexpr std::string_view kBlanks = " \t";

std::string Left(std::string_view s, std::size_t count);
std::string Rest(std::string_view s, std::size_t pos);

// The text after the last backslash, or the whole text when there is none.
std::string FileNameOfPath(std::string_view path);
// Appends a backslash unless the text already ends in one (a trail byte 0x5C does not count).
std::string WithTrailingBackslash(std::string_view path);
bool EndsWithBackslash(std::string_view path);

// Folds A-Z only; a trail byte is never folded.
std::string FoldAsciiCase(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace support
