#include "heap_count.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {

// Heap bytes live now, and the most live since the last resetHeapPeak(). The
// benchmark runs on one thread.
std::size_t g_liveBytes = 0;
std::size_t g_peakBytes = 0;

#ifdef _WIN32
// Each block's size is kept in front of it: asking the heap (_msize) takes
// its lock on every call, which under Wine cost more than the scan itself.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void *allocate(std::size_t size)
{
    auto *p = static_cast<char *>(std::malloc(size + kHeader));
    if (!p)
        throw std::bad_alloc();
    *reinterpret_cast<std::size_t *>(p) = size;
    g_liveBytes += size;
    g_peakBytes = std::max(g_peakBytes, g_liveBytes);
    return p + kHeader;
}

void release(void *p) noexcept
{
    if (!p)
        return;
    char *block = static_cast<char *>(p) - kHeader;
    g_liveBytes -= *reinterpret_cast<std::size_t *>(block);
    std::free(block);
}
#else
void *allocate(std::size_t size)
{
    void *p = std::malloc(size == 0 ? 1 : size);
    if (!p)
        throw std::bad_alloc();
    g_liveBytes += malloc_usable_size(p);
    g_peakBytes = std::max(g_peakBytes, g_liveBytes);
    return p;
}

void release(void *p) noexcept
{
    if (!p)
        return;
    g_liveBytes -= malloc_usable_size(p);
    std::free(p);
}
#endif

} // namespace

namespace bench {

std::size_t resetHeapPeak()
{
    g_peakBytes = g_liveBytes;
    return g_liveBytes;
}

std::size_t heapPeakBytes()
{
    return g_peakBytes;
}

} // namespace bench

void *operator new(std::size_t size)
{
    return allocate(size);
}
void *operator new[](std::size_t size)
{
    return allocate(size);
}
void operator delete(void *p) noexcept
{
    release(p);
}
void operator delete[](void *p) noexcept
{
    release(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    release(p);
}
void operator delete[](void *p, std::size_t) noexcept
{
    release(p);
}
