// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/BatchRead.h"

#include "platform/PosixFile.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include <liburing.h>
#include <sys/stat.h>

namespace {

// read() as the ring answers it: the bytes read, 0 at the end, or -errno.
ssize_t readOnce(int fd, char *buffer, size_t size)
{
    const ssize_t n = readRetrying(fd, buffer, size);
    return n < 0 ? -errno : n;
}

} // namespace

BatchRead::BatchRead(int maxFiles) : m_maxFiles(std::max(1, maxFiles))
{
    m_inRing.reserve(size_t(m_maxFiles));
    auto ring = std::make_unique<io_uring>();
    // A read of the file's position (offset -1) needs a kernel that says it has one.
    io_uring_params params{};
    if (io_uring_queue_init_params(unsigned(m_maxFiles), ring.get(), &params) != 0)
        return;
    if (!(params.features & IORING_FEAT_RW_CUR_POS)) {
        io_uring_queue_exit(ring.get());
        return;
    }
    m_ring = std::move(ring);
}

bool BatchRead::isAvailable()
{
    static const bool available = BatchRead(1).isBatched();
    return available;
}

BatchRead::~BatchRead()
{
    if (m_ring)
        io_uring_queue_exit(m_ring.get());
}

void BatchRead::read(std::span<const int> fds, std::span<char *const> buffers, size_t size,
                     std::span<ssize_t> results)
{
    Q_ASSERT(fds.size() <= size_t(m_maxFiles) && buffers.size() == fds.size() &&
             results.size() == fds.size());
    m_inRing.clear();
    for (size_t i = 0; i < fds.size(); ++i) {
        // Only regular files go to the ring: it would wait for a pipe or a device with nothing
        // to give, where read() of a descriptor opened with O_NONBLOCK answers at once.
        struct stat status;
        if (m_ring && ::fstat(fds[i], &status) == 0 && S_ISREG(status.st_mode)) {
            io_uring_sqe *sqe = io_uring_get_sqe(m_ring.get()); // the ring holds maxFiles
            io_uring_prep_read(sqe, fds[i], buffers[i], unsigned(size), quint64(-1));
            io_uring_sqe_set_data64(sqe, i);
            results[i] = -EIO;
            m_inRing.push_back(i);
        } else {
            results[i] = readOnce(fds[i], buffers[i], size);
        }
    }
    size_t asked = 0;
    bool failed = false;
    while (asked < m_inRing.size() && !failed) {
        const int submitted = io_uring_submit(m_ring.get());
        if (submitted > 0)
            asked += size_t(submitted);
        else
            failed = submitted != -EINTR;
    }
    for (size_t answered = 0; answered < asked && !failed;) {
        io_uring_cqe *cqe = nullptr;
        const int error = io_uring_wait_cqe(m_ring.get(), &cqe);
        if (error == 0) {
            results[size_t(io_uring_cqe_get_data64(cqe))] = cqe->res;
            io_uring_cqe_seen(m_ring.get(), cqe);
            ++answered;
        } else {
            failed = error != -EINTR;
        }
    }
    if (failed) {
        // The ring is given up: the reads it did not take are never taken now, as nothing asks
        // it again, and the files are read in turn from here on.
        io_uring_queue_exit(m_ring.get());
        m_ring.reset();
        for (size_t k = asked; k < m_inRing.size(); ++k)
            results[m_inRing[k]] = readOnce(fds[m_inRing[k]], buffers[m_inRing[k]], size);
    }
}
