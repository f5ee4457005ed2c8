#pragma once
// Texts between the setup's CP932 bytes and the wide API.
#include <string>
#include <string_view>

namespace ui::win32 {

// Bytes that are not valid CP932 show '?' in their place: a text on the screen is better shown
// mangled than not at all.
std::wstring DisplayText(std::string_view cp932);
// Exact: what the player typed or the system wrote comes back whole.
std::string TextFromDisplay(const std::wstring& wide);

}  // namespace ui::win32
