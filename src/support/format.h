#pragma once
// printf-style "%s" filling for texts whose format comes from a template or a control.
#include <string>
#include <string_view>

namespace support {

// The first "%s" becomes `argument`; "%%" becomes "%"; anything else stays as written. The
// argument itself is never read as a format.
std::string FormatText(std::string_view format, std::string_view argument);

}  // namespace support
