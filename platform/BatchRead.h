// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QtGlobal>

#include <memory>
#include <span>
#include <vector>

#include <sys/types.h>

struct io_uring;

// Reads from several open files with one request to the system (Linux's io_uring), as read()
// would read from each in turn. The disk is then asked for all their blocks together: it takes
// neighbouring blocks as one request, and the system wakes it once for all of them, where a
// read a file costs a request and a wake each. On a cold cache that halves the time a tree of
// small files takes to read.
//
// Where the system refuses (an old kernel, a sandbox, io_uring switched off) each file is read
// in turn, and isBatched() says so, as a caller may then rather read with more threads. What is
// not a regular file (a pipe, a device) is read in turn too, so it never waits where read()
// would not.
//
// An object serves one thread at a time.
class BatchRead final
{
public:
    // Reads of at most maxFiles files at once.
    explicit BatchRead(int maxFiles);
    ~BatchRead();
    BatchRead(const BatchRead &) = delete;
    BatchRead &operator=(const BatchRead &) = delete;

    bool isBatched() const { return m_ring != nullptr; }
    // Whether this system reads files at once: asked of the system once.
    static bool isAvailable();

    // Reads up to size bytes from each file fds[i], from its position, into buffers[i]
    // (size bytes each) and puts what read() would have returned in results[i]: the bytes
    // read, 0 at the end, or -errno. At most maxFiles files; the spans are of one length.
    void read(std::span<const int> fds, std::span<char *const> buffers, size_t size,
              std::span<ssize_t> results);

private:
    int m_maxFiles;
    std::unique_ptr<io_uring> m_ring;
    std::vector<size_t> m_inRing; // the files of a read() that went to the ring
};
