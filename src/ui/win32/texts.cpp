#include "ui/win32/texts.h"

#include "os/win32/wide.h"

namespace ui::win32 {

std::wstring DisplayText(std::string_view cp932) { return os::win32::ToWideLossy(cp932); }

std::string TextFromDisplay(const std::wstring& wide) { return os::win32::FromWide(wide); }

}  // namespace ui::win32
