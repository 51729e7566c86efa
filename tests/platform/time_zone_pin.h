#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

// Sets the C library's time zone (a POSIX TZ rule such as "JST-9", which
// needs no zone files) for the life of the object, then puts the old one
// back.
class TimeZonePin {
public:
    explicit TimeZonePin(const char *rule)
    {
        if (const char *old = std::getenv("TZ"))
            m_old = old;
        ::setenv("TZ", rule, 1);
        ::tzset();
    }
    ~TimeZonePin()
    {
        if (m_old)
            ::setenv("TZ", m_old->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    TimeZonePin(const TimeZonePin &) = delete;
    TimeZonePin &operator=(const TimeZonePin &) = delete;

private:
    std::optional<std::string> m_old;
};
