#include "plain_read.h"

#include <windows.h>

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
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot read " + folder);
    do {
        if (data.cFileName[0] == '.')
            continue;
        path.assign(folder).append("\\").append(data.cFileName);
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        std::size_t used = 0;
        for (;;) {
            if (used == buffer.size())
                buffer.resize(buffer.size() * 2);
            DWORD got = 0;
            if (!ReadFile(file, buffer.data() + used, static_cast<DWORD>(buffer.size() - used), &got, nullptr) ||
                got == 0)
                break;
            used += got;
        }
        CloseHandle(file);
        ++run.listed;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    run.ms = millisecondsSince(start);
    return run;
}

} // namespace bench
