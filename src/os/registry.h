#pragma once
// The current user's registry. Key paths are CP932 and compare without regard to ASCII case.
#include <string>

namespace os {

class Registry {
public:
    virtual ~Registry() = default;
    // Whether the key exists and opens for reading.
    virtual bool KeyExists(const std::string& keyPath) = 0;
    // Creates the key and its parents; true when it exists afterwards.
    virtual bool CreateKey(const std::string& keyPath) = 0;
};

Registry& systemRegistry();

}  // namespace os
