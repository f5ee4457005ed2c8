#include "os/services.h"

namespace os {

Services& SystemServices() {
    static Services services{SystemFileSystem(), SystemBitmapLoader(), SystemRegistry(), SystemProcesses(),
                             SystemShell()};
    return services;
}

}  // namespace os
