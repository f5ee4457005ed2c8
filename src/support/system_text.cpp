#include "support/system_text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "support/cp932.h"
#include "support/cp932_literal.h"

namespace support {
namespace {

constexpr cp932_detail::Pair kDecode[] = {
#include "cp932_decode.tbl"
};

constexpr char16_t kUserFirst = 0xE000, kUserLast = 0xE757;
constexpr char16_t kCarryHigh = 0xE000, kCarryLow = 0xE100;  // + the carried unit's high / low byte

bool LookUp(const cp932_detail::Pair* first, const cp932_detail::Pair* last, std::uint16_t key, std::uint16_t& value) {
    auto it =
        std::lower_bound(first, last, key, [](const cp932_detail::Pair& p, std::uint16_t k) { return p.from < k; });
    if (it == last || it->from != key) return false;
    value = it->to;
    return true;
}

// The CP932 code of a unit that travels as itself: never a user-defined one, which may be the
// first half of a carried unit.
bool PlainCode(char16_t unit, std::uint16_t& code) {
    if (unit >= kUserFirst && unit <= kUserLast) return false;
    return LookUp(std::begin(cp932_detail::kEncode), std::end(cp932_detail::kEncode), unit, code);
}

bool IsPlain(char16_t unit) {
    std::uint16_t code;
    return PlainCode(unit, code);
}

void AppendCode(std::string& out, std::uint16_t code) {
    if (code > 0xFF) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
}

void AppendUserCharacter(std::string& out, char16_t unit) {
    std::uint16_t code = 0;
    LookUp(std::begin(cp932_detail::kEncode), std::end(cp932_detail::kEncode), unit, code);
    AppendCode(out, code);
}

// One character at `i`, moving past it; false (and `i` past the bad character) when not CP932.
bool ReadCharacter(std::string_view s, std::size_t& i, char16_t& unit) {
    auto b = static_cast<unsigned char>(s[i]);
    std::uint16_t code = b, value = 0;
    if (IsLeadByte(b) && i + 1 < s.size()) {
        code = static_cast<std::uint16_t>((b << 8) | static_cast<unsigned char>(s[i + 1]));
        i += 2;
    } else {
        ++i;
        if (IsLeadByte(b)) return false;
    }
    if (!LookUp(std::begin(kDecode), std::end(kDecode), code, value)) return false;
    unit = static_cast<char16_t>(value);
    return true;
}

bool Decode(std::string_view bytes, std::u16string& out, bool lossy) {
    std::u16string result;
    result.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        char16_t unit = 0;
        if (!ReadCharacter(bytes, i, unit)) {
            if (!lossy) return false;
            result += u'?';
            continue;
        }
        std::size_t next = i;
        char16_t low = 0;
        if (unit >= kCarryHigh && unit < kCarryHigh + 0x100 && next < bytes.size() && ReadCharacter(bytes, next, low) &&
            low >= kCarryLow && low < kCarryLow + 0x100) {
            auto carried = static_cast<char16_t>(((unit - kCarryHigh) << 8) | (low - kCarryLow));
            // Only what the encoder would carry: two user-defined characters that happen to stand
            // side by side in a text otherwise mean themselves.
            if (!IsPlain(carried)) {
                result += carried;
                i = next;
                continue;
            }
        }
        result += unit;
    }
    out = std::move(result);
    return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// False at an unpaired surrogate unless `lossy`, which writes '?' for it.
bool Utf8FromUnits(std::u16string_view units, std::string& out, bool lossy) {
    std::string result;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char16_t u = units[i];
        if (IsHighSurrogate(u) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            AppendUtf8(result, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
            if (!lossy) return false;
            result += '?';
        } else {
            AppendUtf8(result, u);
        }
    }
    out = std::move(result);
    return true;
}

}  // namespace

bool ToUtf16(std::string_view bytes, std::u16string& out) { return Decode(bytes, out, false); }

std::u16string ToUtf16Lossy(std::string_view bytes) {
    std::u16string out;
    Decode(bytes, out, true);
    return out;
}

std::string FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t unit : text) {
        std::uint16_t code;
        if (PlainCode(unit, code)) {
            AppendCode(out, code);
        } else {
            AppendUserCharacter(out, static_cast<char16_t>(kCarryHigh + (unit >> 8)));
            AppendUserCharacter(out, static_cast<char16_t>(kCarryLow + (unit & 0xFF)));
        }
    }
    return out;
}

bool ToUtf8(std::string_view bytes, std::string& out) {
    std::u16string units;
    return Decode(bytes, units, false) && Utf8FromUnits(units, out, false);
}

std::string ToUtf8Lossy(std::string_view bytes) {
    std::string out;
    Utf8FromUnits(ToUtf16Lossy(bytes), out, true);
    return out;
}

bool FromUtf8(std::string_view utf8, std::string& out) {
    std::u16string units;
    for (std::size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80                ? 0
                    : b >= 0xC2 && b < 0xE0 ? 1
                    : b >= 0xE0 && b < 0xF0 ? 2
                    : b >= 0xF0 && b < 0xF5 ? 3
                                            : -1;
        if (extra < 0 || utf8.size() - i <= static_cast<std::size_t>(extra)) return false;
        char32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k) {
            auto c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        i += static_cast<std::size_t>(extra) + 1;
        // Overlong forms, UTF-16 surrogates and code points past U+10FFFF are not UTF-8.
        static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        if (cp >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(cp);
        }
    }
    out = FromUtf16(units);
    return true;
}

bool Cp932FromUnit(char16_t unit, std::string& out) {
    std::uint16_t code;
    if (!LookUp(std::begin(cp932_detail::kEncode), std::end(cp932_detail::kEncode), unit, code)) return false;
    out.clear();
    AppendCode(out, code);
    return true;
}

bool SpellsInCp932(std::string_view bytes) {
    std::u16string units;
    return Decode(bytes, units, false) && std::all_of(units.begin(), units.end(), IsPlain);
}

}  // namespace support
