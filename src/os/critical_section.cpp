#include "os/critical_section.h"

#include <string>

#include "support/cp932_literal.h"
#include "support/exceptions.h"

namespace os {

void CCriticalSection::Enter() {
    section_.Enter();
    owner_ = static_cast<std::int64_t>(CurrentThreadId());
    ++count_;
}

void CCriticalSection::Leave() {
    if (count_ == 0)
        throw support::CRuntimeException(std::string(SJ("CCriticalSectionをEnterしていないのにLeaveしている")));
    if (--count_ == 0) owner_ = -1;
    section_.Leave();
}

bool CCriticalSection::IsLockedByThisThread() const { return owner_ == static_cast<std::int64_t>(CurrentThreadId()); }

CCriticalSection::~CCriticalSection() noexcept(false) {
    if (count_ == 0) return;
    // Give the system section back before it is deleted, so that only the report remains.
    if (IsLockedByThisThread())
        for (long i = 0; i < count_; ++i) section_.Leave();
    throw support::CRuntimeException(std::string(SJ("CCriticalSectionをEnterした回数だけLeaveしないまま終了している")));
}

}  // namespace os
