#pragma once
// Starting another program: no arguments, the given working folder, nothing waited for.
#include <string>

namespace os {

class Processes {
public:
    virtual ~Processes() = default;
    // True when the process was created.
    virtual bool Start(const std::string& executable, const std::string& workingFolder) = 0;
};

Processes& SystemProcesses();

}  // namespace os
