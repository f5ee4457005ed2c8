#include "support/format.h"

#include "support/cp932.h"

namespace support {

std::string FormatText(std::string_view format, std::string_view argument) {
    std::string out;
    bool filled = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(format[i])) && i + 1 < format.size()) {
            out += format.substr(i, 2);
            ++i;
        } else if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            ++i;
        } else if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's' && !filled) {
            out += argument;
            filled = true;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

}  // namespace support
