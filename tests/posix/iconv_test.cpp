// The compile-time and run-time conversions checked against glibc's iconv, an independent
// converter.
#include <gtest/gtest.h>
#include <iconv.h>

#include "support/cp932.h"
#include "support/cp932_literal.h"
#include "support/system_text.h"

namespace {

std::string IconvConvert(const std::string& in, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return "<no converter>";
    std::string out(in.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) return "<failed>";
    out.resize(out.size() - dstLeft);
    return out;
}

TEST(Cp932AgainstIconv, EveryTextOfTheSetupMatches) {
    const struct {
        std::string_view ours;
        const char* utf8;
    } texts[] = {
        {SJ("初期データのロードor登録に失敗しました！"), "初期データのロードor登録に失敗しました！"},
        {SJ("　『%s』 ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑ"), "　『%s』 ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑ"},
        {SJ("実行時例外（範囲外の数値が指定されている)"), "実行時例外（範囲外の数値が指定されている)"},
        {SJ("配列範囲外へのメモリへのアクセス"), "配列範囲外へのメモリへのアクセス"},
        {SJ("所有権が無いのに解体オブジェクトが指定されている"), "所有権が無いのに解体オブジェクトが指定されている"},
        {SJ("ｲﾝｽﾄｰﾙが正常に終了しました！"), "ｲﾝｽﾄｰﾙが正常に終了しました！"},
        {SJ("ゲームスタート ヘルプの実行 ｺﾋﾟｰのｴﾗｰ ﾊﾞｲﾄ"), "ゲームスタート ヘルプの実行 ｺﾋﾟｰのｴﾗｰ ﾊﾞｲﾄ"},
        {SJ("ＭＳ Ｐゴシック 設定 登録 未登録"), "ＭＳ Ｐゴシック 設定 登録 未登録"},
    };
    for (const auto& t : texts) EXPECT_EQ(std::string(t.ours), IconvConvert(t.utf8, "CP932", "UTF-8")) << t.utf8;
}

TEST(Cp932AgainstIconv, DecodingAgreesOverEveryDoubleByteCode) {
    int compared = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            std::string ref = IconvConvert(code, "UTF-8", "CP932");
            std::string ours;
            if (ref[0] == '<' || !support::ToUtf8(code, ours)) continue;
            // glibc maps a handful of codes to different look-alikes (the wave dash and kin).
            std::string backRef = IconvConvert(ref, "CP932", "UTF-8");
            if (ours != ref && backRef != code) continue;
            EXPECT_EQ(ours, ref) << std::hex << lead << trail;
            ++compared;
        }
    }
    EXPECT_GT(compared, 7000);
}

}  // namespace
