#include <gtest/gtest.h>

#include <memory>

#include "os/critical_section.h"
#include "support/cp932.h"
#include "support/cp932_literal.h"
#include "support/exceptions.h"
#include "support/owning_buffer.h"

using namespace support;

namespace {

// "ソ" is 83 5C and "表" is 95 5C: their trail byte is the backslash's code.
const std::string kSo(SJ("ソ"));
const std::string kHyo(SJ("表"));

TEST(Cp932Literal, TextsBecomeShiftJisBytes) {
    EXPECT_EQ(std::string(SJ("ｲﾝｽﾄｰﾙ")), "\xB2\xDD\xBD\xC4\xB0\xD9");
    EXPECT_EQ(std::string(SJ("未登録")), "\x96\xA2\x93\x6F\x98\x5E");
    EXPECT_EQ(kSo, "\x83\x5C");
    EXPECT_EQ(std::string(SJ("　『")), "\x81\x40\x81\x77");  // ideographic space, corner bracket
    EXPECT_EQ(std::string(SJ("a\\b")), "a\\b");
    EXPECT_EQ(SJ("").size(), 0u);
}

TEST(Cp932Search, TrailBytesAreNeverTakenForASeparator) {
    std::string path = "dir\\" + kHyo + "\\" + kSo;
    EXPECT_EQ(FindChar(path, '\\'), 3u);
    EXPECT_EQ(FindChar(path, '\\', 4), 6u);
    EXPECT_EQ(FindLastChar(path, '\\'), 6u);
    EXPECT_EQ(FindLastChar(kSo + kHyo, '\\'), npos);
    EXPECT_EQ(FileNameOfPath(path), kSo);
    EXPECT_EQ(FileNameOfPath("dir\\" + kHyo), kHyo);
    EXPECT_EQ(FileNameOfPath(kHyo), kHyo);
    EXPECT_EQ(FileNameOfPath("a\\"), "");
    EXPECT_FALSE(EndsWithBackslash("C:\\" + kSo));
    EXPECT_EQ(WithTrailingBackslash("C:\\" + kSo), "C:\\" + kSo + "\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(FindText("a " + kSo + "// c", "//"), 4u);
    EXPECT_EQ(FindText("abc", "//"), npos);
    // A lead byte at the very end stands alone.
    EXPECT_EQ(FindChar(std::string("a\x83"), '\x83'), 1u);
}

TEST(Cp932Trim, RemovesWholeCharactersOnly) {
    EXPECT_EQ(Trim(" \t a b \t", kBlanks), "a b");
    EXPECT_EQ(TrimRight(kSo, "\\"), kSo);
    EXPECT_EQ(TrimRight(kSo + "\\\\", "\\"), kSo);
    EXPECT_EQ(Trim("((TYPE0,,a))", "()"), "TYPE0,,a");
    EXPECT_EQ(Trim("   ", kBlanks), "");
    EXPECT_EQ(Left("abcdef", 2), "ab");
    EXPECT_EQ(Rest("abcdef", 4), "ef");
    EXPECT_EQ(Rest("abc", 9), "");
}

TEST(Cp932Case, FoldsAsciiLettersOnly) {
    EXPECT_TRUE(EqualsNoCase("TYPE1", "type1"));
    EXPECT_FALSE(EqualsNoCase("TYPE1", "TYPE1 "));
    EXPECT_FALSE(EqualsNoCase(SJ("ア"), SJ("チ")));  // 83 41 and 83 61
    EXPECT_EQ(FoldAsciiCase(std::string(SJ("アB"))), std::string(SJ("ア")) + "b");
    EXPECT_FALSE(EqualsNoCase(SJ("Ａ"), SJ("ａ")));  // full-width letters stay apart
}

TEST(Exceptions, CarryTheirMessages) {
    EXPECT_EQ(CException().GetMessage(), "");
    EXPECT_EQ(CIndexOutOfBoundsException().GetMessage(), std::string(SJ("配列範囲外へのメモリへのアクセス")));
    EXPECT_EQ(CNullPointerException().GetMessage(), std::string(SJ("Null pointerからのアクセス")));
    EXPECT_EQ(CRuntimeException().GetMessage(), std::string(SJ("実行時例外（範囲外の数値が指定されている)")));
    EXPECT_EQ(CRuntimeException("x").GetMessage(), "x");
    EXPECT_EQ(CSyntaxException("y").GetMessage(), "y");
    std::unique_ptr<CException> e = std::make_unique<CRuntimeException>("z");
    EXPECT_EQ(e->GetMessage(), "z");
}

TEST(OwningBuffer, SharesCountsAndGuardsAccess) {
    COwningBuffer<int> a;
    EXPECT_THROW(*a, CNullPointerException);
    EXPECT_THROW(a[0], CIndexOutOfBoundsException);
    a.Resize(3);
    EXPECT_EQ(a.Count(), 3u);
    a[1] = 7;
    EXPECT_THROW(a[3], CIndexOutOfBoundsException);
    {
        COwningBuffer<int> b = a;
        EXPECT_EQ(a.References(), 2);
        EXPECT_EQ(b[1], 7);
    }
    EXPECT_EQ(a.References(), 1);

    int local[2] = {5, 6};
    COwningBuffer<int> view;
    view.Reset(local, 2, false, true);
    EXPECT_EQ(*view, 5);
    int disposer = 0;
    try {
        view.Reset(local, 2, false, true, &disposer);
        FAIL() << "a disposer without ownership must be refused";
    } catch (const CSyntaxException& e) {
        EXPECT_EQ(e.GetMessage(), std::string(SJ("所有権が無いのに解体オブジェクトが指定されている")));
    }
    EXPECT_EQ(view[1], 6);  // the refused reset left the handle as it was
}

TEST(CriticalSection, CountsNestedEntries) {
    os::CCriticalSection cs;
    try {
        cs.Leave();
        FAIL() << "Leave without Enter must throw";
    } catch (const CRuntimeException& e) {
        EXPECT_EQ(e.GetMessage(), std::string(SJ("CCriticalSectionをEnterしていないのにLeaveしている")));
    }
    EXPECT_EQ(cs.EntryCount(), 0);
    EXPECT_FALSE(cs.IsLockedByThisThread());
    cs.Enter();
    cs.Enter();
    cs.Leave();
    EXPECT_TRUE(cs.IsLockedByThisThread());
    cs.Leave();
    EXPECT_FALSE(cs.IsLockedByThisThread());

    auto* held = new os::CCriticalSection;
    held->Enter();
    try {
        delete held;
        FAIL() << "destroying an entered section must throw";
    } catch (const CRuntimeException& e) {
        EXPECT_EQ(e.GetMessage(), std::string(SJ("CCriticalSectionをEnterした回数だけLeaveしないまま終了している")));
    }
}

}  // namespace
