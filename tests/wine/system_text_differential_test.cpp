// The setup's own conversion against the system's code page 932, asked never to best-fit.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include "support/cp932.h"
#include "support/system_text.h"

namespace {

// The system's exact CP932 form of a unit, or "" when it has none.
std::string SystemBytes(wchar_t unit) {
    char buffer[4] = {};
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &unit, 1, buffer, sizeof buffer, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return {};
    wchar_t back = 0;
    if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, buffer, n, &back, 1) != 1 || back != unit) return {};
    return std::string(buffer, static_cast<std::size_t>(n));
}

TEST(SystemTextAgainstWindows, EveryUnitIsWrittenAsCp932ReadsItOrCarried) {
    int same = 0, otherCode = 0;
    for (unsigned c = 0; c <= 0xFFFF; ++c) {
        const auto unit = static_cast<wchar_t>(c);
        const std::string ours = support::FromUtf16(std::u16string(1, static_cast<char16_t>(c)));
        const std::string system = SystemBytes(unit);
        if (c >= 0xE000 && c <= 0xE757) {
            // The user-defined area is where carried units live: the system maps it onto lead
            // bytes F0-F9 and back, so the two halves reach it as two such characters.
            ASSERT_EQ(system.size(), 2u) << std::hex << c;
            EXPECT_GE(static_cast<unsigned char>(system[0]), 0xF0);
            EXPECT_LE(static_cast<unsigned char>(system[0]), 0xF9);
            EXPECT_EQ(ours.size(), 4u);
            continue;
        }
        if (system.empty()) {
            EXPECT_FALSE(support::SpellsInCp932(ours)) << std::hex << c;  // never a look-alike
        } else if (ours == system) {
            ++same;
        } else if (support::SpellsInCp932(ours)) {
            // A character CP932 holds twice (NEC-selected and IBM extensions): either code reads
            // back as the same unit.
            std::u16string back;
            ASSERT_TRUE(support::ToUtf16(system, back));
            EXPECT_EQ(back, std::u16string(1, static_cast<char16_t>(c)));
            ++otherCode;
        } else {
            // The system also writes U+0080 as the byte 0x80, which the setup's table leaves out.
            EXPECT_EQ(c, 0x80u);
        }
    }
    EXPECT_GT(same, 7000);
    EXPECT_LT(otherCode, 400);
}

TEST(SystemTextAgainstWindows, EveryCp932CharacterReadsAsTheSystemReadsIt) {
    int compared = 0;
    for (int lead = 0; lead < 0x100; ++lead) {
        const bool isLead = support::IsLeadByte(static_cast<unsigned char>(lead));
        for (int trail = isLead ? 0 : -1; trail < (isLead ? 0x100 : 0); ++trail) {
            std::string bytes(1, static_cast<char>(lead));
            if (isLead) bytes += static_cast<char>(trail);
            std::u16string ours;
            if (!support::ToUtf16(bytes, ours)) continue;
            wchar_t system[2] = {};
            int n =
                MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), system, 2);
            ASSERT_EQ(n, 1) << std::hex << lead << ' ' << trail;
            EXPECT_EQ(static_cast<unsigned>(ours[0]), static_cast<unsigned>(system[0]))
                << std::hex << lead << ' ' << trail;
            ++compared;
        }
    }
    EXPECT_GT(compared, 9000);
}

}  // namespace
