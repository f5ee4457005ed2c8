#pragma once
// Starts a program with a working folder and no arguments; only whether it started comes back.
#include <string>

#include "os/process.h"

namespace platform {

class ProcessLaunch {
public:
    ProcessLaunch(os::Processes& processes, const std::string& executable, const std::string& workingFolder)
        : started(processes.Start(executable, workingFolder)) {}
    virtual ~ProcessLaunch() = default;
    bool started;
};

}  // namespace platform
