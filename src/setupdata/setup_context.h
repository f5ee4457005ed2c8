#pragma once
// The one application-wide object: where the medium is, the description loaded or built from it,
// the banner, and the names derived from the title.
#include <memory>
#include <string>

#include "os/bitmap.h"
#include "os/services.h"
#include "setupdata/setup_data.h"

namespace setupdata {

// Shows the start-up failure box (no owner, the system's caption, error icon, OK); the window
// system provides it.
class StartupErrorBox {
public:
    virtual ~StartupErrorBox() = default;
    virtual void Show(const std::string& text) = 0;
};

class SetupContext {
public:
    SetupContext(os::Services& services, StartupErrorBox& errorBox);
    virtual ~SetupContext() = default;

    os::Services& services;
    std::string sourceFolder;
    std::unique_ptr<os::Bitmap> banner;
    std::unique_ptr<SetupData> setupData;
    std::string mutexName;
    std::string installRoot;
    std::string registryKeyPath;

    // The install root, and with `includeTitle` a backslash unless present and the title.
    std::string installFolderPath(bool includeTitle) const;
};

}  // namespace setupdata
