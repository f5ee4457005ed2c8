#include "app/instance_mutex.h"

namespace app {

os::NamedMutex::Result InstanceMutex::Create(const std::string& name) {
    Release();
    return mutex_.Create(name);
}

}  // namespace app
