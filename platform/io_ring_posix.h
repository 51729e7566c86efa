#pragma once

#include <liburing.h>

#include <cstddef>
#include <functional>
#include <span>

namespace platform {

// The kernel's asynchronous I/O (io_uring) for a batch of like operations:
// one call into the system submits them all and waits for all, and those
// that must wait for the disk wait side by side in the kernel's own workers,
// not in threads of the program.
class IoRing {
public:
    // The most operations one batch holds.
    static constexpr unsigned kDepth = 32;

    IoRing();
    ~IoRing();
    IoRing(const IoRing &) = delete;
    IoRing &operator=(const IoRing &) = delete;

    // False where the system has no io_uring or forbids it (an old kernel, a
    // container's filter, a sysctl): then nothing may be run.
    bool ready() const { return m_ready; }

    // Prepares one operation per element of `results` (at most kDepth) by
    // calling prepare(sqe, i), runs them all and waits until every one has
    // ended: results[i] is what operation i gave (a descriptor, a byte
    // count, 0, or minus an errno). Whatever the operations point at must
    // live until this returns. Gives how many the kernel took, from the
    // first on: the results of the others hold its refusal, and those
    // operations never ran.
    std::size_t run(std::span<int> results, const std::function<void(io_uring_sqe *, std::size_t)> &prepare);

private:
    io_uring m_ring{};
    bool m_ready = false;
};

} // namespace platform
