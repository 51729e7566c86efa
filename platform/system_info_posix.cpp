#include "system_info.h"

#include "cp932.h"

#include <cstdlib>
#include <pwd.h>
#include <string_view>
#include <unistd.h>

namespace platform {
namespace {

std::string environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeFolder()
{
    std::string home = environment("HOME");
    if (home.empty())
        if (const passwd *entry = ::getpwuid(::geteuid()))
            home = entry->pw_dir;
    return home;
}

// "/x/" becomes "/x", and "/" becomes empty, so that appending "/name" gives
// one separator.
std::string withoutTrailingSeparators(std::string path)
{
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    return path;
}

std::string fitIdentity(std::string_view name)
{
    return std::string(cp932::truncated(cp932::fromUtf8(name), kIdentityBufferSize - 1));
}

} // namespace

std::string windowsDirectory()
{
    std::string prefix = environment("WINEPREFIX");
    if (prefix.empty())
        prefix = withoutTrailingSeparators(homeFolder()) + "/.wine";
    prefix = withoutTrailingSeparators(prefix);
    return prefix + "/drive_c/windows";
}

std::string userName()
{
    if (const passwd *entry = ::getpwuid(::geteuid()))
        return fitIdentity(entry->pw_name);
    std::string name = environment("USER");
    return fitIdentity(name.empty() ? environment("LOGNAME") : name);
}

std::string computerName()
{
    char buffer[256] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0)
        return {};
    return fitIdentity(buffer);
}

} // namespace platform
