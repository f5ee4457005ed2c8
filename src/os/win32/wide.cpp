#include "os/win32/wide.h"

#include "support/system_text.h"

namespace os::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide API speaks UTF-16");

namespace {
std::wstring WideOf(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }
}  // namespace

bool ToWide(std::string_view bytes, std::wstring& wide) {
    std::u16string text;
    if (!support::ToUtf16(bytes, text)) return false;
    wide = WideOf(text);
    return true;
}

std::wstring ToWideLossy(std::string_view bytes) { return WideOf(support::ToUtf16Lossy(bytes)); }

std::string FromWide(std::wstring_view wide) { return support::FromUtf16(std::u16string(wide.begin(), wide.end())); }

bool WideFromUtf8(std::string_view utf8, std::wstring& wide) {
    std::string bytes;
    return support::FromUtf8(utf8, bytes) && ToWide(bytes, wide);
}

}  // namespace os::win32
