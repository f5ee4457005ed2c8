#include "ui/win32/texts.h"

#include "os/win32/wide.h"

namespace ui::win32 {

std::wstring displayText(std::string_view cp932) { return os::win32::toWideLossy(cp932); }

std::string textFromDisplay(const std::wstring& wide) { return os::win32::fromWide(wide); }

}  // namespace ui::win32
