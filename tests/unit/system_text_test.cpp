#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "support/cp932.h"
#include "support/cp932_literal.h"
#include "support/system_text.h"

using namespace support;

namespace {

struct Character {
    std::string bytes;
    char16_t unit;
};

// Every valid CP932 character with the unit it stands for.
const std::vector<Character>& EveryCharacter() {
    static const std::vector<Character> all = [] {
        std::vector<Character> out;
        auto add = [&](std::string bytes) {
            std::u16string text;
            if (!ToUtf16(bytes, text)) return;
            EXPECT_EQ(text.size(), 1u);
            out.push_back({bytes, text[0]});
        };
        for (int b = 0; b < 0x100; ++b)
            if (!IsLeadByte(static_cast<unsigned char>(b))) add(std::string(1, static_cast<char>(b)));
        for (int lead = 0x81; lead <= 0xFC; ++lead)
            if (IsLeadByte(static_cast<unsigned char>(lead)))
                for (int trail = 0; trail < 0x100; ++trail) add({static_cast<char>(lead), static_cast<char>(trail)});
        return out;
    }();
    return all;
}

bool IsUserDefined(char16_t u) { return u >= 0xE000 && u <= 0xE757; }
bool IsCarrier(const Character& c, char16_t base) { return c.unit >= base && c.unit < base + 0x100; }

std::u16string Decoded(const std::string& bytes) {
    std::u16string out;
    EXPECT_TRUE(ToUtf16(bytes, out));
    return out;
}

TEST(SystemText, EveryUnitTravelsAsItselfOrAsTwoUserDefinedCharacters) {
    int plain = 0, carried = 0;
    for (unsigned c = 0; c <= 0xFFFF; ++c) {
        const std::u16string text(1, static_cast<char16_t>(c));
        const std::string bytes = FromUtf16(text);
        ASSERT_EQ(Decoded(bytes), text) << std::hex << c;
        if (SpellsInCp932(bytes)) {
            ++plain;
            EXPECT_FALSE(IsUserDefined(text[0]));
            EXPECT_LE(bytes.size(), 2u);
        } else {
            ++carried;
            // Lead bytes F0-F1 only, the first from U+E000-E0FF, the second from U+E100-E1FF.
            ASSERT_EQ(bytes.size(), 4u) << std::hex << c;
            EXPECT_EQ(Decoded(bytes.substr(0, 2)), std::u16string(1, static_cast<char16_t>(0xE000 + (c >> 8))));
            EXPECT_EQ(Decoded(bytes.substr(2)), std::u16string(1, static_cast<char16_t>(0xE100 + (c & 0xFF))));
        }
        if (c != '\\') {
            EXPECT_EQ(FindChar(bytes, '\\'), npos) << std::hex << c;
        }
    }
    EXPECT_EQ(plain + carried, 0x10000);
    EXPECT_GT(plain, 7000);
}

TEST(SystemText, NoLookAlikeStandsInForACharacter) {
    EXPECT_EQ(FromUtf16(u"\uFF5E"), "\x81\x60");  // "～" is CP932's own
    EXPECT_EQ(FromUtf16(u"\\"), "\\");
    for (std::u16string_view look : {u"\u00A5", u"\u00E9", u"\u00B2", u"\u301C", u"\u2016", u"\u00A0", u"\u0080"}) {
        std::string bytes = FromUtf16(look);
        EXPECT_FALSE(SpellsInCp932(bytes));
        EXPECT_EQ(bytes.size(), 4u);
        EXPECT_EQ(Decoded(bytes), look);
    }
    EXPECT_NE(FromUtf16(u"C:\\Caf\u00E9"), "C:\\Cafe");
    EXPECT_EQ(FromUtf16(u"D:\\\u00A5Games").find("\\\\"), std::string::npos);
}

TEST(SystemText, EveryCharacterAloneAndInPairsComesBack) {
    const auto& all = EveryCharacter();
    std::vector<std::string> canonical;  // what each character becomes after a trip to the system
    std::vector<const Character*> high, low, samples;
    int duplicates = 0, userDefined = 0;
    for (const Character& c : all) {
        std::string back = FromUtf16(std::u16string(1, c.unit));
        EXPECT_EQ(Decoded(back), std::u16string(1, c.unit));
        if (IsUserDefined(c.unit)) {
            ++userDefined;
            EXPECT_EQ(back.size(), 4u);  // carried, like one the system hands over
        } else if (back != c.bytes) {
            // NEC and IBM extensions that repeat a character: the system's choice of code wins.
            ++duplicates;
            auto lead = static_cast<unsigned char>(c.bytes[0]);
            EXPECT_TRUE(lead == 0x87 || lead == 0xED || lead == 0xEE || lead >= 0xFA) << std::hex << int(lead);
        }
        canonical.push_back(back);
        if (IsCarrier(c, 0xE000)) high.push_back(&c);
        if (IsCarrier(c, 0xE100)) low.push_back(&c);
    }
    EXPECT_EQ(userDefined, 1880);
    ASSERT_EQ(high.size(), 256u);
    ASSERT_EQ(low.size(), 256u);
    EXPECT_LT(duplicates, 400);
    // One of each kind: ASCII, backslash, half-width kana, kanji, trail byte 0x5C, a user-defined
    // character that carries nothing, and both carriers.
    for (std::string s : {std::string("A"), std::string("\\"), std::string(SJ("ｱ")), std::string(SJ("漢")),
                          std::string(SJ("ソ")), std::string("\xF9\xFC"), high[0x12]->bytes, low[0x34]->bytes})
        for (const Character& c : all)
            if (c.bytes == s) samples.push_back(&c);
    ASSERT_EQ(samples.size(), 8u);

    auto index = [&](const Character* c) { return static_cast<std::size_t>(c - all.data()); };
    auto check = [&](const Character* a, const Character* b) {
        const std::string bytes = a->bytes + b->bytes;
        std::u16string text;
        ASSERT_TRUE(ToUtf16(bytes, text));
        const auto carriedUnit = static_cast<char16_t>(((a->unit - 0xE000) << 8) | ((b->unit - 0xE100) & 0xFF));
        const bool pair =
            IsCarrier(*a, 0xE000) && IsCarrier(*b, 0xE100) && !SpellsInCp932(FromUtf16(std::u16string(1, carriedUnit)));
        if (pair) {
            ASSERT_EQ(text, std::u16string(1, carriedUnit));
            ASSERT_EQ(FromUtf16(text), bytes);
        } else {
            ASSERT_EQ(text, (std::u16string{a->unit, b->unit})) << a->bytes << b->bytes;
            ASSERT_EQ(FromUtf16(text), canonical[index(a)] + canonical[index(b)]);
        }
        ASSERT_EQ(Decoded(FromUtf16(text)), text);
    };
    // Only a high carrier looks at what follows it; every other character stands for itself, which
    // the samples show on both sides of every character.
    for (const Character* h : high)
        for (const Character& c : all) check(h, &c);
    for (const Character& c : all)
        for (const Character* s : samples) {
            check(&c, s);
            check(s, &c);
        }
}

TEST(SystemText, RandomTextsOfAllPlanesComeBackExactlyAndKeepTheirSeparators) {
    std::mt19937 random(12);
    const std::u16string specials = u"\\\u00A5\u00E9\u00B2\uFF5E\u301C\uE000\uE0FF\uE100\uE1FF\uE757\u30BD\u8868 .:";
    auto unit = [&]() -> char16_t {
        switch (random() % 8) {
            case 0: return static_cast<char16_t>(0x20 + random() % 0x5F);
            case 1: return specials[random() % specials.size()];
            case 2: return static_cast<char16_t>(0xD800 + random() % 0x800);  // surrogates, paired or not
            case 3: return static_cast<char16_t>(0xE000 + random() % 0x758);
            case 4: return static_cast<char16_t>(0x3040 + random() % 0x6000);
            default: return static_cast<char16_t>(random() % 0x10000);
        }
    };
    for (int round = 0; round < 20000; ++round) {
        std::u16string text;
        for (std::size_t n = random() % 24; n > 0; --n) text += unit();
        const std::string bytes = FromUtf16(text);
        ASSERT_EQ(Decoded(bytes), text);
        // The helpers find the same separators in the bytes as in the text.
        std::size_t lastSlash = text.rfind(u'\\');
        EXPECT_EQ(Decoded(FileNameOfPath(bytes)),
                  lastSlash == std::u16string::npos ? text : text.substr(lastSlash + 1));
        const bool ends = !text.empty() && text.back() == u'\\';
        EXPECT_EQ(Decoded(WithTrailingBackslash(bytes)), ends ? text : text + u'\\');
        std::size_t count = 0;
        for (std::size_t at = FindChar(bytes, '\\'); at != npos; at = FindChar(bytes, '\\', at + 1)) ++count;
        EXPECT_EQ(count, static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\\')));
        // A host path in UTF-8 holds every character but a lone surrogate.
        std::string utf8, again;
        if (ToUtf8(bytes, utf8)) {
            ASSERT_TRUE(FromUtf8(utf8, again));
            EXPECT_EQ(again, bytes);
        }
    }
}

TEST(SystemText, HostPathsInUtf8) {
    std::string bytes, utf8;
    ASSERT_TRUE(FromUtf8("C:\\Caf\xC3\xA9 \xC2\xA5 \xED\x95\x9C\xEA\xB5\xAD \xF0\x9F\x98\x80", bytes));
    EXPECT_FALSE(SpellsInCp932(bytes));
    EXPECT_EQ(FileNameOfPath(bytes).size(), bytes.size() - 3);
    ASSERT_TRUE(ToUtf8(bytes, utf8));
    EXPECT_EQ(utf8, "C:\\Caf\xC3\xA9 \xC2\xA5 \xED\x95\x9C\xEA\xB5\xAD \xF0\x9F\x98\x80");
    ASSERT_TRUE(FromUtf8("ｾｯﾄｱｯﾌﾟ 表示『ソ』", bytes));
    EXPECT_EQ(bytes, std::string(SJ("ｾｯﾄｱｯﾌﾟ 表示『ソ』")));
    EXPECT_TRUE(SpellsInCp932(bytes));
    for (const char* broken :
         {"\xE3\x81", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "\xFF"})
        EXPECT_FALSE(FromUtf8(broken, bytes)) << broken;
    EXPECT_FALSE(ToUtf8(FromUtf16(u"a\xD800"), utf8));  // UTF-8 cannot hold a lone surrogate
    EXPECT_EQ(ToUtf8Lossy(FromUtf16(u"a\xD800")), "a?");
}

TEST(SystemText, BrokenCp932IsRefusedOrShownAsQuestionMarks) {
    std::u16string text;
    std::string utf8;
    EXPECT_FALSE(ToUtf16("\x83", text));       // a lead byte without its trail
    EXPECT_FALSE(ToUtf16("a\x85\x40", text));  // an unassigned code
    EXPECT_FALSE(ToUtf8("\x83", utf8));
    EXPECT_FALSE(SpellsInCp932("\x83"));
    EXPECT_EQ(ToUtf16Lossy("a\x83"), u"a?");
    EXPECT_EQ(ToUtf16Lossy("\x85\x40"
                           "b"),
              u"?b");
    EXPECT_EQ(ToUtf8Lossy("a\x83"), "a?");
    EXPECT_TRUE(SpellsInCp932(""));
    EXPECT_EQ(FromUtf16(u""), "");
}

}  // namespace
