#pragma once
// A profile file saved as "Unicode" (UTF-16LE with a byte-order mark) is read and written back in
// UTF-16, as the system's profile functions do; its text is handled as CP932 bytes in between.
// Anything else is bytes as they stand.
#include <string>
#include <string_view>

namespace os {

bool IsUtf16Profile(std::string_view raw);

// The file's text as CP932. A character that CP932 cannot hold becomes a NUL byte and its code
// unit in four hex digits: no name or value the setup asks for can match it, and writing the
// file back restores it.
std::string Cp932FromUtf16Profile(std::string_view raw);
// The mark and the text in UTF-16LE; the inverse of the above.
std::string Utf16ProfileFromCp932(std::string_view text);

// The file's text as CP932, saying whether it was UTF-16.
std::string DecodeProfileText(std::string raw, bool& utf16);

}  // namespace os
