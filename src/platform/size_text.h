#pragma once
// The short size texts of the install settings page.
#include <cstdint>
#include <string>

#include "setupdata/setup_context.h"

namespace platform {

// 999, 0.977K, "  1K", 650M, ...; "????" from 1000 × 1024⁴ bytes on.
std::string FormatSizeText(std::uint64_t bytes);
std::string SizeText(const setupdata::SetupContext& context, setupdata::InstallType installType);

}  // namespace platform
