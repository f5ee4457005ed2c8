#pragma once
// Texts are written in UTF-8 in the source and become CP932 bytes at compile time, the same on
// every compiler: SJ("ｲﾝｽﾄｰﾙ") is a std::string_view of CP932 bytes. A character that CP932
// cannot hold stops the build.
//
// The bytes live in a static of a lambda rather than in a variable template keyed by the text:
// clang 14 crashes when it has to name such a template in a diagnostic.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace support::cp932_detail {

struct Pair {
    std::uint16_t from, to;
};

inline constexpr Pair kEncode[] = {
#include "cp932_encode.tbl"
};

constexpr std::uint16_t EncodeCodePoint(char32_t cp) {
    std::size_t lo = 0, hi = sizeof(kEncode) / sizeof(kEncode[0]);
    while (lo < hi) {
        std::size_t mid = (lo + hi) / 2;
        if (kEncode[mid].from < cp)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (cp > 0xFFFF || lo == sizeof(kEncode) / sizeof(kEncode[0]) || kEncode[lo].from != cp)
        throw "a text literal holds a character that CP932 cannot represent";
    return kEncode[lo].to;
}

// CP932 never takes more bytes than UTF-8, so N bytes of room always suffice.
template <std::size_t N>
struct Encoded {
    char data[N]{};
    std::size_t size = 0;
};

template <std::size_t N>
constexpr Encoded<N> Encode(const char8_t (&text)[N]) {
    Encoded<N> out;
    for (std::size_t i = 0; i + 1 < N;) {
        auto b = static_cast<std::uint8_t>(text[i]);
        int extra = b < 0x80 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
        if (extra < 0 || i + extra + 1 >= N) throw "malformed UTF-8 in a text literal";
        char32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<std::uint8_t>(text[i + k]) & 0x3F);
        i += extra + 1;
        std::uint16_t code = EncodeCodePoint(cp);
        if (code > 0xFF) out.data[out.size++] = static_cast<char>(code >> 8);
        out.data[out.size++] = static_cast<char>(code & 0xFF);
    }
    return out;
}

}  // namespace support::cp932_detail

#define SJ(text)                                                                   \
    ([]() -> std::string_view {                                                    \
        static constexpr auto kBytes = ::support::cp932_detail::Encode(u8"" text); \
        return {kBytes.data, kBytes.size};                                         \
    }())
