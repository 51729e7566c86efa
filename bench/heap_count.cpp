#include "heap_count.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <new>

namespace {

#if defined(_WIN32) || defined(__SANITIZE_ADDRESS__)
// Heap bytes live now, and the most live since the last resetHeapPeak(), of
// operator new's blocks, which the benchmark's thread alone makes.
std::size_t g_liveBytes = 0;
std::size_t g_peakBytes = 0;
#endif

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
#elif defined(__SANITIZE_ADDRESS__)
// The sanitizer owns the C library's heap: operator new's blocks only.
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
#else
// Every block of the C library's heap is counted (malloc() below), not only
// operator new's: Qt keeps its own data, a text document's text and blocks
// among them, in malloc()'s blocks, and a counter blind to them would find a
// view that holds the text again as light as one that does not.
void *allocate(std::size_t size)
{
    void *p = std::malloc(size == 0 ? 1 : size);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void release(void *p) noexcept
{
    std::free(p);
}
#endif

} // namespace

#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__)
// The C library's own heap under the names it exports for this, each block
// counted by the size it really takes. Any thread may allocate (Qt's do):
// the counts are atomic.
extern "C" {
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t count, std::size_t size);
void *__libc_realloc(void *p, std::size_t size);
void *__libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void *p);
}

namespace {

std::atomic<long long> g_mallocLive{0};
std::atomic<long long> g_mallocPeak{0};

void *counted(void *p)
{
    if (p) {
        const long long live = g_mallocLive += static_cast<long long>(malloc_usable_size(p));
        long long peak = g_mallocPeak.load();
        while (live > peak && !g_mallocPeak.compare_exchange_weak(peak, live)) {
        }
    }
    return p;
}

void uncount(void *p)
{
    if (p)
        g_mallocLive -= static_cast<long long>(malloc_usable_size(p));
}

} // namespace

extern "C" {
void *malloc(std::size_t size)
{
    return counted(__libc_malloc(size));
}
void *calloc(std::size_t count, std::size_t size)
{
    return counted(__libc_calloc(count, size));
}
void *realloc(void *p, std::size_t size)
{
    const long long before = p ? static_cast<long long>(malloc_usable_size(p)) : 0;
    void *moved = __libc_realloc(p, size);
    // A failed realloc() keeps the block; one to no size frees it.
    if (!moved && size != 0)
        return nullptr;
    g_mallocLive -= before;
    return counted(moved);
}
void free(void *p)
{
    uncount(p);
    __libc_free(p);
}
void *memalign(std::size_t alignment, std::size_t size)
{
    return counted(__libc_memalign(alignment, size));
}
void *aligned_alloc(std::size_t alignment, std::size_t size)
{
    return counted(__libc_memalign(alignment, size));
}
int posix_memalign(void **out, std::size_t alignment, std::size_t size)
{
    if (alignment < sizeof(void *) || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void *p = counted(__libc_memalign(alignment, size));
    if (!p)
        return ENOMEM;
    *out = p;
    return 0;
}
void *valloc(std::size_t size)
{
    return counted(__libc_memalign(static_cast<std::size_t>(sysconf(_SC_PAGESIZE)), size));
}
}
#endif

namespace bench {

std::size_t resetHeapPeak()
{
#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__)
    const long long live = g_mallocLive.load();
    g_mallocPeak = live;
    return static_cast<std::size_t>(std::max(live, 0LL));
#else
    g_peakBytes = g_liveBytes;
    return g_liveBytes;
#endif
}

std::size_t heapPeakBytes()
{
#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__)
    return static_cast<std::size_t>(std::max(g_mallocPeak.load(), 0LL));
#else
    return g_peakBytes;
#endif
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
