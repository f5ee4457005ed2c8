#pragma once
// The installed-state record: the install folder as the "Install" value of the game's key under
// the current user.
#include <string>

#include "setupdata/setup_context.h"

namespace install {

bool RecordInstallFolder(setupdata::SetupContext& context, const std::string& installFolder);
// "" when there is no usable record.
std::string InstalledFolder(setupdata::SetupContext& context);

}  // namespace install
