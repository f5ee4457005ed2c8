#pragma once
// The setup's byte strings to and from the wide API, through support/system_text.h.
#include <string>
#include <string_view>

namespace os::win32 {

// False when the bytes are not valid CP932.
bool ToWide(std::string_view bytes, std::wstring& wide);
// Never fails: '?' for what is not valid CP932; for texts on the screen.
std::wstring ToWideLossy(std::string_view bytes);
// Exact for every text the system hands over.
std::string FromWide(std::wstring_view wide);
// False when the text is not UTF-8.
bool WideFromUtf8(std::string_view utf8, std::wstring& wide);

}  // namespace os::win32
