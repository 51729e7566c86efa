#include "platform/local_time.h"
#include "time_zone_pin.h"

#include <gtest/gtest.h>

// Dates in pinned zones. Under Wine each zone's tests run in a process of
// their own, started with TZ set (tests/CMakeLists.txt).

namespace {

constexpr std::uint64_t fileTimeOfUnixSeconds(std::int64_t seconds)
{
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(platform::kUnixEpochFileTime) + seconds * 10'000'000);
}

platform::LocalTime at(int year, int month, int day, int hour, int minute, int second)
{
    return {year, month, day, hour, minute, second};
}

// 2026-12-07 09:50:42 UTC, and 2026-07-01 12:00:00 UTC.
constexpr std::uint64_t kDecember = fileTimeOfUnixSeconds(1'796'637'042);
constexpr std::uint64_t kJuly = fileTimeOfUnixSeconds(1'782'907'200);

} // namespace

TEST(LocalTimeInZone, TokyoAcrossMidnightAndTheYear9999)
{
    PIN_TIME_ZONE("JST-9");
    EXPECT_EQ(platform::localTimeOf(kDecember), at(2026, 12, 7, 18, 50, 42));
    // 1999-12-31 15:00:00 UTC is already 2000 in Tokyo.
    EXPECT_EQ(platform::localTimeOf(fileTimeOfUnixSeconds(946'652'400)), at(2000, 1, 1, 0, 0, 0));
    // 9999-12-31 23:59:59 in Tokyo is 14:59:59 UTC; a second later Tokyo is
    // in 10000, though UTC is not.
    const std::uint64_t last = fileTimeOfUnixSeconds(253'402'300'799 - 9 * 3600);
    EXPECT_EQ(platform::localTimeOf(last), at(9999, 12, 31, 23, 59, 59));
    EXPECT_FALSE(platform::localTimeOf(last + 10'000'000));
}

TEST(LocalTimeInZone, BerlinSummerTimeByTheRuleOfThatDate)
{
    PIN_TIME_ZONE("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(platform::localTimeOf(kDecember), at(2026, 12, 7, 10, 50, 42));
    EXPECT_EQ(platform::localTimeOf(kJuly), at(2026, 7, 1, 14, 0, 0));
}

TEST(LocalTimeInZone, NewYorkShowsTheFirstMomentIn1969)
{
    // West of UTC the first moment shown is still 1969 on the wall clock.
    PIN_TIME_ZONE("EST5");
    EXPECT_EQ(platform::localTimeOf(platform::kUnixEpochFileTime), at(1969, 12, 31, 19, 0, 0));
    EXPECT_FALSE(platform::localTimeOf(platform::kUnixEpochFileTime - 1));
}
