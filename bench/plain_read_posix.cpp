#include "plain_read.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

namespace bench {

Run readPlainly(const std::string &folder)
{
    std::vector<char> buffer(4096);
    std::string path;
    path.reserve(folder.size() + 256);
    Run run;
    const Clock::time_point start = Clock::now();
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        throw std::runtime_error("cannot read " + folder);
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        path.assign(folder).append("/").append(entry->d_name);
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        std::size_t used = 0;
        for (;;) {
            if (used == buffer.size())
                buffer.resize(buffer.size() * 2);
            const ssize_t got = ::read(fd, buffer.data() + used, buffer.size() - used);
            if (got <= 0)
                break;
            used += static_cast<std::size_t>(got);
        }
        ::close(fd);
        ++run.listed;
    }
    ::closedir(dir);
    run.ms = millisecondsSince(start);
    return run;
}

} // namespace bench
