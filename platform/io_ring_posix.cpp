#include "io_ring_posix.h"

#include <cerrno>
#include <stdexcept>

namespace platform {

IoRing::IoRing()
{
    m_ready = io_uring_queue_init(kDepth, &m_ring, 0) == 0;
}

IoRing::~IoRing()
{
    if (m_ready)
        io_uring_queue_exit(&m_ring);
}

std::size_t IoRing::run(std::span<int> results, const std::function<void(io_uring_sqe *, std::size_t)> &prepare)
{
    if (!m_ready || results.size() > kDepth)
        throw std::logic_error("io ring: no room for the batch");
    for (std::size_t i = 0; i < results.size(); ++i) {
        // The queue is empty at the start of every batch and holds kDepth.
        io_uring_sqe *sqe = io_uring_get_sqe(&m_ring);
        prepare(sqe, i);
        io_uring_sqe_set_data64(sqe, i);
    }
    // What the kernel took, in order; what it did not take fails alike. The
    // first call also waits for them all, so that the reaping below mostly
    // finds them ended without entering the system again.
    std::size_t submitted = 0;
    int refused = 0;
    while (submitted < results.size()) {
        const auto waitFor = static_cast<unsigned>(results.size() - submitted);
        const int taken = io_uring_submit_and_wait(&m_ring, waitFor);
        if (taken == -EINTR)
            continue;
        if (taken <= 0) {
            refused = taken < 0 ? taken : -EIO;
            break;
        }
        submitted += static_cast<std::size_t>(taken);
    }
    for (std::size_t i = submitted; i < results.size(); ++i)
        results[i] = refused;
    // Waits until the last one has ended: the operations write into memory
    // that the caller gets back when this returns.
    for (std::size_t ended = 0; ended < submitted;) {
        io_uring_cqe *cqe = nullptr;
        const int waited = io_uring_wait_cqe(&m_ring, &cqe);
        if (waited == -EINTR || waited == -EAGAIN)
            continue;
        if (waited < 0)
            throw std::runtime_error("io ring: waiting failed");
        results[io_uring_cqe_get_data64(cqe)] = cqe->res;
        io_uring_cqe_seen(&m_ring, cqe);
        ++ended;
    }
    if (refused != 0) {
        // A fresh ring: the old one may still hold what it did not take.
        io_uring_queue_exit(&m_ring);
        m_ready = io_uring_queue_init(kDepth, &m_ring, 0) == 0;
    }
    return submitted;
}

} // namespace platform
