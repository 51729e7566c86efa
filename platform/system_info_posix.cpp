#include "system_info.h"

#include "cp932.h"
#include "wine_prefix.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
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

std::string fitIdentity(std::string_view name)
{
    return std::string(cp932::truncated(cp932::fromUtf8(name), kIdentityBufferSize - 1));
}

// A registry file far beyond any real prefix's is not read: it is no
// registry of Wine's.
constexpr std::streamoff kMostRegistryBytes = std::streamoff(256) << 20;

std::string registryFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size <= 0 || size > kMostRegistryBytes)
        return {};
    file.seekg(0);
    std::string text(static_cast<std::size_t>(size), '\0');
    file.read(text.data(), size);
    text.resize(static_cast<std::size_t>(file.gcount()));
    return text;
}

} // namespace

std::string windowsDirectory()
{
    return wine::prefixFolder() + "/drive_c/windows";
}

std::string systemCookieFolder()
{
    // Where the prefix's Windows keeps the user's cookies, as it tells its
    // programs; never a path made up here.
    const std::string prefix = wine::prefixFolder();
    const std::optional<std::string> folder =
        wine::registryString(registryFile(prefix + "/user.reg"),
                             "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Cookies");
    if (!folder)
        return {};
    return wine::linuxPathOf(prefix, *folder).value_or(std::string());
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
