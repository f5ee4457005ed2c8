#include "os/profile_encoding.h"

#include <cstdint>

#include "support/cp932.h"
#include "support/system_text.h"

namespace os {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendUnit(std::string& out, std::uint16_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool IsUtf16Profile(std::string_view raw) {
    return raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF && static_cast<unsigned char>(raw[1]) == 0xFE;
}

std::string Cp932FromUtf16Profile(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 2; i + 1 < raw.size(); i += 2) {
        auto unit = static_cast<std::uint16_t>(static_cast<unsigned char>(raw[i]) |
                                               (static_cast<unsigned char>(raw[i + 1]) << 8));
        std::string bytes;
        if (unit != 0 && support::Cp932FromUnit(static_cast<char16_t>(unit), bytes)) {
            out += bytes;
        } else {
            out += '\0';
            for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
        }
    }
    return out;
}

std::string Utf16ProfileFromCp932(std::string_view text) {
    std::string out = "\xFF\xFE";
    out.reserve(2 + text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '\0' && i + 4 < text.size()) {
            int unit = 0;
            bool hex = true;
            for (std::size_t k = 1; k <= 4; ++k) {
                int v = HexValue(text[i + k]);
                hex = hex && v >= 0;
                unit = unit * 16 + (v < 0 ? 0 : v);
            }
            if (hex) {
                AppendUnit(out, static_cast<std::uint16_t>(unit));
                i += 5;
                continue;
            }
        }
        std::size_t len = support::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        // A byte that is no CP932 character is written as the replacement character.
        std::u16string unit;
        if (!support::ToUtf16(text.substr(i, len), unit) || unit.size() != 1) unit = u"\uFFFD";
        AppendUnit(out, unit[0]);
        i += len;
    }
    return out;
}

std::string DecodeProfileText(std::string raw, bool& utf16) {
    utf16 = IsUtf16Profile(raw);
    return utf16 ? Cp932FromUtf16Profile(raw) : std::move(raw);
}

}  // namespace os
