#pragma once

#include <cstdint>
#include <optional>

// Times as the user's clock shows them. Times are Windows FILETIMEs (100 ns
// steps since 1601-01-01 UTC), the form cookie files keep them in.
namespace platform {

// A moment in the local time zone, as the wall clock reads it then
// (daylight saving time included when it was in force then).
struct LocalTime {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0; // the fraction is dropped

    friend bool operator==(const LocalTime &, const LocalTime &) = default;
};

// The FILETIME of 1970-01-01 00:00:00 UTC.
inline constexpr std::uint64_t kUnixEpochFileTime = 116'444'736'000'000'000;

// `fileTime` in the local time zone, or nothing when it is a time that the
// program does not show as a date: before 1970-01-01 00:00:00 UTC (where the
// C library's clock starts), or in a local year past 9999 (four digits), or
// past what the system can convert at all.
std::optional<LocalTime> localTimeOf(std::uint64_t fileTime);

// Now, as a FILETIME.
std::uint64_t currentFileTime();

} // namespace platform
