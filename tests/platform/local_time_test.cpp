#include "platform/local_time.h"

#include <gtest/gtest.h>

#include <cstdint>

// What holds in any time zone (zones are at most 14 hours from UTC). The
// dates of a pinned zone: local_time_posix_test.cpp.

namespace {

constexpr std::uint64_t kTicksPerSecond = 10'000'000;
constexpr std::uint64_t kSecondsPerDay = 86'400;

// From 1970-01-01 to 10000-01-01, in days.
constexpr std::uint64_t kDaysTo10000 = 2'932'897;

constexpr std::uint64_t fileTimeOfUnixSeconds(std::uint64_t seconds)
{
    return platform::kUnixEpochFileTime + seconds * kTicksPerSecond;
}

} // namespace

TEST(LocalTime, StartsAtTheUnixEpochAndEndsWithTheYear9999)
{
    using platform::localTimeOf;
    // 1601 to 1969: not shown, however near 1970 (1969-12-31 23:59:59.9999999 UTC).
    EXPECT_FALSE(localTimeOf(0));
    EXPECT_FALSE(localTimeOf(platform::kUnixEpochFileTime - 1));
    const auto epoch = localTimeOf(platform::kUnixEpochFileTime);
    ASSERT_TRUE(epoch);
    EXPECT_TRUE((epoch->year == 1970 && epoch->month == 1 && epoch->day == 1) ||
                (epoch->year == 1969 && epoch->month == 12 && epoch->day == 31));

    // Mid-9999 shows; a day into 10000 UTC is 10000 in every zone; the
    // largest FILETIME of a cookie file (year 58000 or so) is past anything
    // a system converts.
    const auto late = localTimeOf(fileTimeOfUnixSeconds((kDaysTo10000 - 180) * kSecondsPerDay));
    ASSERT_TRUE(late);
    EXPECT_EQ(late->year, 9999);
    EXPECT_FALSE(localTimeOf(fileTimeOfUnixSeconds((kDaysTo10000 + 1) * kSecondsPerDay)));
    EXPECT_FALSE(localTimeOf(UINT64_MAX));
}

TEST(LocalTime, DropsTheFractionAndKeepsTheSeconds)
{
    // 2026-12-07 09:50:42.9999999 UTC: the seconds are those of UTC in any
    // zone (every zone is whole minutes from UTC), the fraction is dropped.
    const std::uint64_t t = fileTimeOfUnixSeconds(1'796'637'042) + 9'999'999;
    const auto local = platform::localTimeOf(t);
    ASSERT_TRUE(local);
    EXPECT_EQ(local->second, 42);
    EXPECT_EQ(local->year, 2026);
    EXPECT_EQ(local->month, 12);
    EXPECT_TRUE(local->day == 7 || local->day == 6) << local->day;
}

TEST(LocalTime, NowIsTheClocksTime)
{
    // Between 2026 (when this was written) and 2100.
    const std::uint64_t now = platform::currentFileTime();
    EXPECT_GT(now, fileTimeOfUnixSeconds(1'767'225'600));
    EXPECT_LT(now, fileTimeOfUnixSeconds(4'102'444'800));
    EXPECT_GE(platform::currentFileTime(), now);
}
