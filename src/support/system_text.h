#pragma once
// The one conversion between the setup's byte strings and the system's texts: UTF-16 on Windows,
// UTF-8 host paths elsewhere.
//
// The bytes are CP932. What the system hands over may hold characters CP932 cannot spell (a user
// named José, a Hangul folder); such a UTF-16 code unit, and a character of CP932's user-defined
// area U+E000-U+E757 as well, travels as two user-defined characters: U+E000 + its high byte, then
// U+E100 + its low byte. They are ordinary double-byte characters (lead bytes F0-F1), so the
// multibyte-aware helpers work on them, and every UTF-16 text comes back exactly, unpaired
// surrogates included. Nothing is ever replaced by a look-alike ("¥" never becomes a backslash).
#include <string>
#include <string_view>

namespace support {

// False when the bytes are not valid CP932.
bool ToUtf16(std::string_view bytes, std::u16string& out);
// Never fails: a character that is not valid CP932 becomes '?'; for texts on the screen.
std::u16string ToUtf16Lossy(std::string_view bytes);
// Exact for every UTF-16 text.
std::string FromUtf16(std::u16string_view text);

// False when the bytes are not valid CP932 or carry an unpaired surrogate, which UTF-8 cannot hold.
bool ToUtf8(std::string_view bytes, std::string& out);
// For messages: never fails, '?' for what cannot be converted.
std::string ToUtf8Lossy(std::string_view bytes);
// False when the text is not UTF-8.
bool FromUtf8(std::string_view utf8, std::string& out);

// One unit as code page 932 itself spells it, user-defined characters included (no carrying);
// false where it has no form, as for the system's profile functions.
bool Cp932FromUnit(char16_t unit, std::string& out);

// Whether an 8-bit CP932 program reads the same characters: valid, and nothing carried.
bool SpellsInCp932(std::string_view bytes);

}  // namespace support
