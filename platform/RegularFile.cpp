// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/RegularFile.h"

#include "platform/FileNames.h"
#include "platform/PosixFile.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString NotRegular = QStringLiteral("not a regular file");

// How much more room a read whole takes at a time when the file is longer than its status
// said (a file that grows, or one of /proc, whose size reads 0).
constexpr qint64 GrowthStep = 64 * 1024;

} // namespace

RegularFile::~RegularFile()
{
    close();
}

void RegularFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool RegularFile::open(const QString &path, qint64 limit, QString &error)
{
    close();
    m_limit = limit;
    m_missing = false;
    const QByteArray name = textToFileName(path);
    // The status by name first, so that a device or a FIFO is not even opened (opening one can
    // have effects of its own) and a huge file is refused before anything is done with it.
    struct stat status;
    if (::stat(name.constData(), &status) != 0) {
        m_missing = errno == ENOENT || errno == ENOTDIR;
        error = systemReason(errno);
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        error = NotRegular;
        return false;
    }
    if (status.st_size > limit) {
        error = tooLarge();
        return false;
    }
    // Non-blocking: if a FIFO took the file's place since, the open does not wait for a writer.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        m_missing = errno == ENOENT || errno == ENOTDIR;
        error = systemReason(errno);
        return false;
    }
    const bool known = ::fstat(fd, &status) == 0;
    if (!known || !S_ISREG(status.st_mode) || status.st_size > limit) {
        error = !known ? systemReason(errno) : !S_ISREG(status.st_mode) ? NotRegular : tooLarge();
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

QString RegularFile::tooLarge() const
{
    return QStringLiteral("larger than %1").arg(byteSizeText(m_limit));
}

qint64 RegularFile::readAt(qint64 offset, char *data, qint64 size) const
{
    for (;;) {
        const ssize_t n = ::pread(m_fd, data, size_t(size), off_t(offset));
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

bool RegularFile::readAll(QByteArray &bytes, QString &error) const
{
    struct stat status;
    if (m_fd < 0 || ::fstat(m_fd, &status) != 0) {
        error = systemReason(m_fd < 0 ? EBADF : errno);
        return false;
    }
    // One byte more than the file holds, so that the end is seen without a second read; never
    // more than one byte past the limit.
    qint64 capacity = std::min<qint64>(status.st_size, m_limit) + 1;
    bytes.resize(qsizetype(capacity));
    qint64 filled = 0;
    for (;;) {
        if (filled == capacity) {
            if (capacity > m_limit) {
                bytes.clear();
                error = tooLarge();
                return false;
            }
            capacity = std::min(capacity + GrowthStep, m_limit + 1);
            bytes.resize(qsizetype(capacity));
        }
        const qint64 n = readAt(filled, bytes.data() + filled, capacity - filled);
        if (n < 0) {
            bytes.clear();
            error = systemReason(errno);
            return false;
        }
        if (n == 0)
            break;
        filled += n;
    }
    bytes.truncate(qsizetype(filled));
    return true;
}

bool RegularFile::readStart(qsizetype count, QByteArray &bytes, QString &error) const
{
    bytes.resize(count);
    qsizetype filled = 0;
    while (filled < count) {
        const qint64 n = readAt(filled, bytes.data() + filled, count - filled);
        if (n < 0) {
            bytes.clear();
            error = systemReason(errno);
            return false;
        }
        if (n == 0)
            break;
        filled += qsizetype(n);
    }
    bytes.truncate(filled);
    return true;
}

bool RegularFile::copyTo(int fd, QString &error) const
{
    constexpr qint64 PieceSize = 64 * 1024;
    const std::unique_ptr<char[]> buffer(new char[PieceSize]);
    qint64 copied = 0;
    for (;;) {
        const qint64 n = readAt(copied, buffer.get(), PieceSize);
        if (n < 0) {
            error = systemReason(errno);
            return false;
        }
        if (n == 0)
            return true;
        copied += n;
        if (copied > m_limit) {
            error = tooLarge();
            return false;
        }
        if (!writeAll(fd, buffer.get(), qsizetype(n))) {
            error = systemReason(errno);
            return false;
        }
    }
}

bool readRegularFile(const QString &path, qint64 limit, QByteArray &bytes, QString &error,
                     bool *missing)
{
    RegularFile file;
    const bool read = file.open(path, limit, error) && file.readAll(bytes, error);
    if (missing)
        *missing = file.isMissing();
    return read;
}

QString byteSizeText(qint64 bytes)
{
    constexpr qint64 KiB = 1024;
    if (bytes >= KiB * KiB && bytes % (KiB * KiB) == 0)
        return QStringLiteral("%1 MiB").arg(bytes / (KiB * KiB));
    if (bytes >= KiB && bytes % KiB == 0)
        return QStringLiteral("%1 KiB").arg(bytes / KiB);
    return QStringLiteral("%1 bytes").arg(bytes);
}
