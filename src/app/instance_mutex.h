#pragma once
// The single-instance guard: a named mutex owned for the life of the process.
#include <string>

#include "os/named_mutex.h"

namespace app {

class InstanceMutex {
public:
    virtual ~InstanceMutex() { Release(); }
    // Failed when the system made none for another reason: the setup then runs unguarded.
    virtual os::NamedMutex::Result Create(const std::string& name);
    virtual void Wait() { mutex_.Wait(); }
    virtual void Release() { mutex_.Release(); }

private:
    os::NamedMutex mutex_;
};

}  // namespace app
