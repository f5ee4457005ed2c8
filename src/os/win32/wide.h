#pragma once
// CP932 <-> UTF-16 for the wide API, whatever the system's ANSI code page is.
#include <string>

namespace os::win32 {

// False when the bytes are not valid CP932.
bool toWide(const std::string& cp932, std::wstring& wide);
// False when a character has no CP932 form.
bool fromWide(const std::wstring& wide, std::string& cp932);
std::wstring wideFromUtf8(const std::string& utf8);

}  // namespace os::win32
