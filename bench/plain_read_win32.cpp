#include "plain_read.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

namespace bench {

CpuTime processCpuTime()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return {};
    const auto ms = [](const FILETIME &t) {
        return static_cast<double>(static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e4;
    };
    return {ms(user), ms(kernel)};
}

std::string loadAverage()
{
    // Windows keeps none; under Wine the Linux machine's shows through Z:.
    const HANDLE file = CreateFileW(L"Z:\\proc\\loadavg", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "?";
    char text[64] = {};
    DWORD got = 0;
    const bool read = ReadFile(file, text, sizeof text - 1, &got, nullptr);
    CloseHandle(file);
    const std::string load = read ? std::string(text, got) : std::string();
    const std::size_t end = load.find(' ');
    return end == std::string::npos || end == 0 ? "?" : load.substr(0, end);
}

namespace {

// The folder's path as the wide calls take it; the benchmarks name folders
// in the ANSI code page (the command line's).
std::wstring widePath(const std::string &path)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
    return wide;
}

} // namespace

Run readPlainly(const std::string &folder)
{
    // Large enough that a cookie file is read by one call: a read that fills
    // the buffer is the only one followed by another.
    std::vector<char> buffer(64 * 1024);
    const std::wstring wideFolder = widePath(folder);
    std::wstring path;
    path.reserve(wideFolder.size() + MAX_PATH);
    Run run;
    const CpuTime cpuStart = processCpuTime();
    const Clock::time_point start = Clock::now();
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((wideFolder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot read " + folder);
    do {
        if (data.cFileName[0] == L'.')
            continue;
        path.assign(wideFolder).append(L"\\").append(data.cFileName);
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        std::size_t used = 0;
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(file, buffer.data() + used, static_cast<DWORD>(buffer.size() - used), &got, nullptr) ||
                got == 0)
                break;
            used += got;
            if (used < buffer.size())
                break; // a short read of a file: its end
            buffer.resize(buffer.size() * 2);
        }
        CloseHandle(file);
        ++run.listed;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    run.ms = millisecondsSince(start);
    run.cpu = processCpuTime() - cpuStart;
    return run;
}

} // namespace bench
