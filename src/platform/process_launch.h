#pragma once
// Starts a program with a working folder and no arguments; only whether it started comes back.
#include <string>

#include "os/process.h"

namespace platform {

class ProcessLaunch {
public:
    ProcessLaunch(os::Processes& processes, const std::string& executable, const std::string& workingFolder)
        : started(Launch(processes, executable, workingFolder)) {}
    virtual ~ProcessLaunch() = default;
    bool started;

private:
    // Windows will not start a program that asks for an administrator (every dxsetup.exe, an old
    // game) from a setup that runs as the player; the shell asks the player's consent instead.
    // Any other failure stays one.
    static bool Launch(os::Processes& processes, const std::string& executable, const std::string& workingFolder) {
        switch (processes.Start(executable, workingFolder)) {
            case os::Processes::Outcome::Started: return true;
            case os::Processes::Outcome::NeedsElevation: return processes.StartWithConsent(executable, workingFolder);
            case os::Processes::Outcome::Failed: break;
        }
        return false;
    }
};

}  // namespace platform
