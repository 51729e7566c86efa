#include "cookie_folder.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace bench {

TempFolder::TempFolder(std::string_view prefix)
{
    std::string name = "/tmp/" + std::string(prefix) + "-XXXXXX";
    if (!::mkdtemp(name.data()))
        throw std::runtime_error("cannot make a folder under /tmp");
    m_path = std::move(name);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void writeFile(const std::string &path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool ok = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    if (fd >= 0)
        ::close(fd);
    if (!ok)
        throw std::runtime_error("cannot write " + path);
}

} // namespace bench
