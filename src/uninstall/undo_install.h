#pragma once
// Taking back a failed or abandoned install, and the shortcut removals the uninstall shares.
#include "install/install_job.h"

namespace uninstall {

void RemoveStartMenuEntries(setupdata::SetupContext& context);
void RemoveDesktopShortcut(setupdata::SetupContext& context);
// Newest record first; every removal's result is ignored. Always 1.
int UndoInstall(setupdata::SetupContext& context, install::InstallJob& job);

}  // namespace uninstall
