#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

// The local time zone for one test, as a POSIX TZ rule such as "JST-9" (which
// needs no zone files). On Linux the pin sets TZ for the life of the object,
// then puts the old one back. A Windows program takes its zone once, when it
// starts (Wine from TZ): there the pin only tells whether the process was
// started in that zone, as ctest starts the runs meant for it
// (tests/CMakeLists.txt), and every other run skips the test.
class TimeZonePin {
public:
    explicit TimeZonePin(const char *rule)
    {
        const char *old = std::getenv("TZ");
#ifdef _WIN32
        m_pinned = old && std::string(old) == rule;
#else
        if (old)
            m_old = old;
        ::setenv("TZ", rule, 1);
        ::tzset();
        m_pinned = true;
#endif
    }
    ~TimeZonePin()
    {
#ifndef _WIN32
        if (m_old)
            ::setenv("TZ", m_old->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
#endif
    }
    TimeZonePin(const TimeZonePin &) = delete;
    TimeZonePin &operator=(const TimeZonePin &) = delete;

    bool pinned() const
    {
        return m_pinned;
    }

private:
    std::optional<std::string> m_old;
    bool m_pinned = false;
};

// Pins the zone for the rest of the test, or skips it where it cannot.
#define PIN_TIME_ZONE(rule)                                                                                            \
    TimeZonePin timeZonePin(rule);                                                                                     \
    if (!timeZonePin.pinned())                                                                                         \
    GTEST_SKIP() << "runs only in a process started with TZ=" << (rule)
