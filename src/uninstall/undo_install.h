#pragma once
// Taking back a failed or abandoned install, and the shortcut removals the uninstall shares.
#include "install/install_job.h"

namespace uninstall {

// Whether a part of `path` below `base` is a link (a symbolic link, a junction): removing through
// it would reach outside the folder, so what lies behind one stays. A link that is itself the
// thing removed goes as a link.
bool ReachesThroughLink(os::FileSystem& fs, const std::string& base, const std::string& path);

void RemoveStartMenuEntries(setupdata::SetupContext& context);
void RemoveDesktopShortcut(setupdata::SetupContext& context);
// Newest record first; every removal's result is ignored. Always 1.
int UndoInstall(setupdata::SetupContext& context, install::InstallJob& job);

}  // namespace uninstall
