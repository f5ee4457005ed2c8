#pragma once
// The system's critical section, and the calling thread's id.
#include <cstdint>
#include <memory>

namespace os {

class SystemCriticalSection {
public:
    SystemCriticalSection();
    ~SystemCriticalSection();
    SystemCriticalSection(const SystemCriticalSection&) = delete;
    SystemCriticalSection& operator=(const SystemCriticalSection&) = delete;

    void Enter();
    void Leave();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

std::uint64_t CurrentThreadId();

}  // namespace os
