#include "os/services.h"

namespace os {

Services& systemServices() {
    static Services services{systemFileSystem(), systemBitmapLoader()};
    return services;
}

}  // namespace os
