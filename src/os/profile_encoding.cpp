#include "os/profile_encoding.h"

#include <cstdint>

#include "support/cp932.h"

namespace os {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void appendUnit(std::string& out, std::uint16_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The code point of one UTF-8 character of at most three bytes (all CP932 decodes to).
char32_t decodeUtf8(std::string_view s) {
    auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    if (s.size() == 1) return b(0);
    if (s.size() == 2) return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
}

}  // namespace

bool isUtf16Profile(std::string_view raw) {
    return raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF && static_cast<unsigned char>(raw[1]) == 0xFE;
}

std::string cp932FromUtf16Profile(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 2; i + 1 < raw.size(); i += 2) {
        auto unit = static_cast<std::uint16_t>(static_cast<unsigned char>(raw[i]) |
                                               (static_cast<unsigned char>(raw[i + 1]) << 8));
        std::string utf8, bytes;
        if (unit != 0 && (unit < 0xD800 || unit > 0xDFFF)) appendUtf8(utf8, unit);
        if (!utf8.empty() && support::utf8ToCp932(utf8, bytes)) {
            out += bytes;
        } else {
            out += '\0';
            for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
        }
    }
    return out;
}

std::string utf16ProfileFromCp932(std::string_view text) {
    std::string out = "\xFF\xFE";
    out.reserve(2 + text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '\0' && i + 4 < text.size()) {
            int unit = 0;
            bool hex = true;
            for (std::size_t k = 1; k <= 4; ++k) {
                int v = hexValue(text[i + k]);
                hex = hex && v >= 0;
                unit = unit * 16 + (v < 0 ? 0 : v);
            }
            if (hex) {
                appendUnit(out, static_cast<std::uint16_t>(unit));
                i += 5;
                continue;
            }
        }
        std::size_t len = support::isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        std::string utf8;
        // A byte that is no CP932 character is written as the replacement character.
        char32_t cp = support::cp932ToUtf8(text.substr(i, len), utf8) ? decodeUtf8(utf8) : 0xFFFD;
        appendUnit(out, static_cast<std::uint16_t>(cp));
        i += len;
    }
    return out;
}

std::string decodeProfileText(std::string raw, bool& utf16) {
    utf16 = isUtf16Profile(raw);
    return utf16 ? cp932FromUtf16Profile(raw) : std::move(raw);
}

}  // namespace os
