#include "local_time.h"

#include <ctime>

namespace platform {

namespace {
constexpr std::uint64_t kTicksPerSecond = 10'000'000;
} // namespace

std::optional<LocalTime> localTimeOf(std::uint64_t fileTime)
{
    if (fileTime < kUnixEpochFileTime)
        return std::nullopt;
    const auto seconds = static_cast<std::time_t>((fileTime - kUnixEpochFileTime) / kTicksPerSecond);
    std::tm tm{};
    // The zone is the one the C library read at its first use (TZ, else
    // /etc/localtime); reading it again for every cell would cost a stat().
    if (!localtime_r(&seconds, &tm) || tm.tm_year > 9999 - 1900)
        return std::nullopt;
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::uint64_t currentFileTime()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return kUnixEpochFileTime + static_cast<std::uint64_t>(now.tv_sec) * kTicksPerSecond +
           static_cast<std::uint64_t>(now.tv_nsec) / 100;
}

} // namespace platform
