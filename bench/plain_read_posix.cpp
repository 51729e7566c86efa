#include "plain_read.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <vector>

namespace bench {

CpuTime processCpuTime()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    return {ms(usage.ru_utime), ms(usage.ru_stime)};
}

std::string loadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string oneMinute;
    in >> oneMinute;
    return oneMinute.empty() ? "?" : oneMinute;
}

Run readPlainly(const std::string &folder)
{
    // Large enough that a cookie file is read by one call: a read that fills
    // the buffer is the only one followed by another.
    std::vector<char> buffer(64 * 1024);
    Run run;
    const CpuTime cpuStart = processCpuTime();
    const Clock::time_point start = Clock::now();
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        throw std::runtime_error("cannot read " + folder);
    // The stream gets a descriptor of its own; files open relative to the
    // folder's, so the kernel never walks the folder's path again.
    DIR *dir = ::fdopendir(::dup(folderFd));
    if (!dir) {
        ::close(folderFd);
        throw std::runtime_error("cannot read " + folder);
    }
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const int fd = ::openat(folderFd, entry->d_name, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        std::size_t used = 0;
        for (;;) {
            const ssize_t got = ::read(fd, buffer.data() + used, buffer.size() - used);
            if (got <= 0)
                break;
            used += static_cast<std::size_t>(got);
            if (used < buffer.size())
                break; // a short read of a regular file: its end
            buffer.resize(buffer.size() * 2);
        }
        ::close(fd);
        ++run.listed;
    }
    ::closedir(dir);
    ::close(folderFd);
    run.ms = millisecondsSince(start);
    run.cpu = processCpuTime() - cpuStart;
    return run;
}

} // namespace bench
