#pragma once
// Starting another program: no arguments, the given working folder, nothing waited for.
#include <string>

namespace os {

class Processes {
public:
    enum class Outcome {
        Started,
        Failed,
        // The system starts it only with an administrator's consent, which this call cannot ask.
        NeedsElevation,
    };
    virtual ~Processes() = default;
    virtual Outcome Start(const std::string& executable, const std::string& workingFolder) = 0;
    // Starts it through the shell, which asks the player's consent where the program needs it;
    // true when it started (a consent refused is no start).
    virtual bool StartWithConsent(const std::string& executable, const std::string& workingFolder) = 0;
};

Processes& SystemProcesses();

}  // namespace os
