#include "os/win32/wide.h"

#include "support/system_text.h"

namespace os::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide API speaks UTF-16");

namespace {
std::wstring wideOf(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }
}  // namespace

bool toWide(std::string_view bytes, std::wstring& wide) {
    std::u16string text;
    if (!support::toUtf16(bytes, text)) return false;
    wide = wideOf(text);
    return true;
}

std::wstring toWideLossy(std::string_view bytes) { return wideOf(support::toUtf16Lossy(bytes)); }

std::string fromWide(std::wstring_view wide) { return support::fromUtf16(std::u16string(wide.begin(), wide.end())); }

bool wideFromUtf8(std::string_view utf8, std::wstring& wide) {
    std::string bytes;
    return support::fromUtf8(utf8, bytes) && toWide(bytes, wide);
}

}  // namespace os::win32
