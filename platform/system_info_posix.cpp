#include "system_info.h"

#include "wine_prefix.h"

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// A registry file far beyond any real prefix's is not read: it is no
// registry of Wine's.
constexpr std::size_t kMostRegistryBytes = std::size_t(256) << 20;

// The text of registry file `path`; empty when it is not a regular file
// that may be read. Opened without blocking, so that a pipe in its place
// cannot hang the start.
std::string registryFile(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return {};
    std::string text;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        static_cast<std::uint64_t>(status.st_size) <= kMostRegistryBytes) {
        text.resize(static_cast<std::size_t>(status.st_size));
        std::size_t got = 0;
        while (got < text.size()) {
            const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        text.resize(got);
    }
    ::close(fd);
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

} // namespace platform
