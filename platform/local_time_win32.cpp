#include "local_time.h"

#include <windows.h>

namespace platform {

std::optional<LocalTime> localTimeOf(std::uint64_t fileTime)
{
    if (fileTime < kUnixEpochFileTime)
        return std::nullopt;
    FILETIME utcFile;
    utcFile.dwLowDateTime = static_cast<DWORD>(fileTime);
    utcFile.dwHighDateTime = static_cast<DWORD>(fileTime >> 32);
    SYSTEMTIME utc, local;
    // SystemTimeToTzSpecificLocalTime applies the daylight saving rules of
    // that date, where FileTimeToLocalFileTime would apply today's bias. Both
    // calls fail past the year 30827.
    if (!FileTimeToSystemTime(&utcFile, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) ||
        local.wYear > 9999)
        return std::nullopt;
    return LocalTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

std::uint64_t currentFileTime()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return static_cast<std::uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

} // namespace platform
