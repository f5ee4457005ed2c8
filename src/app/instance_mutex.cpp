#include "app/instance_mutex.h"

namespace app {

int InstanceMutex::Create(const std::string& name) {
    Release();
    switch (mutex_.Create(name)) {
        case os::NamedMutex::Result::Created: return 0;
        case os::NamedMutex::Result::AlreadyExists: return 1;
        case os::NamedMutex::Result::NameTakenByOtherKind: return 2;
        case os::NamedMutex::Result::Failed: break;
    }
    return -1;
}

}  // namespace app
