#include <ctime>

#include "os/file_system.h"
#include "os/file_time.h"
#include "os/win32/windows_api.h"

namespace os {

bool FileTimeToLocalSeconds(std::uint64_t fileTime, std::int64_t& seconds) {
    FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)}, local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return false;
    if (st.wYear < 1900) {
        seconds = 0;
        return true;
    }
    if (IsFileTimeBefore1970(fileTime)) {
        seconds = SecondsOfFileTimeBefore1970(fileTime);
        return true;
    }
    std::tm broken{};
    broken.tm_year = st.wYear - 1900;
    broken.tm_mon = st.wMonth - 1;
    broken.tm_mday = st.wDay;
    broken.tm_hour = st.wHour;
    broken.tm_min = st.wMinute;
    broken.tm_sec = st.wSecond;
    broken.tm_isdst = -1;
    // A local time the library cannot give in seconds (from 1970 in UTC, before it in local time)
    // counts as absent, like one before 1900, rather than making the file look missing.
    __time64_t result = _mktime64(&broken);
    seconds = result < 0 ? 0 : result;
    return true;
}

std::uint64_t LocalSecondsToFileTime(std::int64_t seconds) {
    if (seconds < 0) return FileTimeOfSecondsBefore1970(seconds);
    __time64_t t = seconds;
    std::tm* broken = _localtime64(&t);
    SYSTEMTIME st{};
    if (broken) {
        st.wYear = static_cast<WORD>(broken->tm_year + 1900);
        st.wMonth = static_cast<WORD>(broken->tm_mon + 1);
        st.wDay = static_cast<WORD>(broken->tm_mday);
        st.wHour = static_cast<WORD>(broken->tm_hour);
        st.wMinute = static_cast<WORD>(broken->tm_min);
        st.wSecond = static_cast<WORD>(broken->tm_sec);
    } else {  // as the setup always had it: fields 0, 0, 0, -1, -1, -1
        st.wHour = st.wMinute = st.wSecond = static_cast<WORD>(-1);
    }
    FILETIME local{}, utc{};
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    return static_cast<std::uint64_t>(utc.dwHighDateTime) << 32 | utc.dwLowDateTime;
}

}  // namespace os
