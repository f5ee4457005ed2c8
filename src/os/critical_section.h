#pragma once
// A critical section that counts nested entries by its owning thread. It sits on the system's own
// section, so it lives with the services the system gives.
#include <cstdint>

#include "os/sync.h"

namespace os {

class CCriticalSection {
public:
    CCriticalSection() = default;
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    virtual void Enter();
    virtual void Leave();
    virtual bool IsLockedByThisThread() const;
    // Throws when still entered: leaving a section held is a programming fault worth hearing of.
    virtual ~CCriticalSection() noexcept(false);

    long EntryCount() const { return count_; }

private:
    SystemCriticalSection section_;
    std::int64_t owner_ = -1;
    long count_ = 0;
};

}  // namespace os
