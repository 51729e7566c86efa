#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Sets an environment variable for the life of the object, then puts the
// old value back.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const char *value) : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(WindowsDirectory, IsTheWinePrefixsWindowsFolder)
{
    {
        ScopedEnv prefix("WINEPREFIX", "/opt/wine-user/");
        EXPECT_EQ(platform::windowsDirectory(), "/opt/wine-user/drive_c/windows");
    }
    {
        ScopedEnv prefix("WINEPREFIX", nullptr);
        ScopedEnv home("HOME", "/home/taro");
        EXPECT_EQ(platform::windowsDirectory(), "/home/taro/.wine/drive_c/windows");
    }
    {
        ScopedEnv prefix("WINEPREFIX", "");
        ScopedEnv home("HOME", "/");
        EXPECT_EQ(platform::windowsDirectory(), "/.wine/drive_c/windows");
    }
}
