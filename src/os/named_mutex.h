#pragma once
// A named, system-wide mutex owned from its creation; the system frees it when the process ends.
#include <memory>
#include <string>

namespace os {

class NamedMutex {
public:
    enum class Result { Created, AlreadyExists, NameTakenByOtherKind, Failed };

    NamedMutex();
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // Releases what it holds first.
    Result Create(const std::string& name);
    void Wait();
    void Release();
    bool Held() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace os
