#include "platform/size_text.h"

#include <cstdio>

namespace platform {

std::string FormatSizeText(std::uint64_t v) {
    char text[64];
    if (v < 1000) {
        std::snprintf(text, sizeof text, "%d", static_cast<int>(v));
        return text;
    }
    static const char* const kFormats[] = {"%3.3gK", "%3.3gM", "%3.3gG", "%3.3gT"};
    std::uint64_t unit = 1024;
    for (const char* format : kFormats) {
        if (v < unit * 1000) {
            std::snprintf(text, sizeof text, format, static_cast<double>(v) / static_cast<double>(unit));
            return text;
        }
        unit *= 1024;
    }
    return "????";
}

std::string SizeText(const setupdata::SetupContext& context, setupdata::InstallType installType) {
    return FormatSizeText(context.setupData->totalSizeOfType(installType));
}

}  // namespace platform
