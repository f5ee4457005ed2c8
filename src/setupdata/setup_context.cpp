#include "setupdata/setup_context.h"

#include "setupdata/names.h"
#include "support/cp932.h"
#include "support/cp932_literal.h"
#include "support/shown_texts.h"

namespace setupdata {

SetupContext::SetupContext(os::Services& s, StartupErrorBox& errorBox) : services(s) {
    // A current folder that cannot be read leaves the source folder empty, so every medium path
    // stays relative to wherever the process runs instead of to the root of a drive.
    std::string current = services.files.CurrentFolder();
    sourceFolder = current.empty() ? current : support::WithTrailingBackslash(current);
    setupData = std::make_unique<SetupData>();
    if (setupData->registerFromSource(services.files, sourceFolder + "SetupRegist.ini")) {
        setupData->writeSetupFile(services.files, sourceFolder + "Setup.ini");
    } else {
        setupData->files.clear();
        setupData->folders.clear();
        // The title names the install folder, the shortcuts and the profile: one that cannot is
        // no usable description either.
        if (!setupData->readSetupFile(services.files, sourceFolder + "Setup.ini") || !IsSafeFileName(setupData->title))
            errorBox.Show(std::string(support::texts::kLoadFailed));
    }
    banner = services.bitmaps.LoadFromFile(sourceFolder + "Setup.bmp");
    installRoot = "C:\\";
    registryKeyPath = setupData->registryRoot + setupData->title;
    mutexName = setupData->title + "_Running";
}

std::string SetupContext::installFolderPath(bool includeTitle) const {
    if (!includeTitle) return installRoot;
    return support::WithTrailingBackslash(installRoot) + setupData->title;
}

}  // namespace setupdata
