#include "os/services.h"

namespace os {

Services& systemServices() {
    static Services services{systemFileSystem(), systemBitmapLoader(), systemRegistry(), systemProcesses(),
                               systemShell()};
    return services;
}

}  // namespace os
