// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/AtomicFile.h"

#include "platform/FileNames.h"
#include "platform/PosixFile.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The folder part of a native path ("." for a bare name) and its name part.
QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.first(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.sliced(path.lastIndexOf('/') + 1);
}

// Six letters or digits that no other writer is likely to pick at the same time.
QByteArray randomSuffix()
{
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(6, '\0');
    for (char &c : suffix)
        c = Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))];
    return suffix;
}

} // namespace

AtomicFile::AtomicFile(const QString &path) : m_target(textToFileName(path))
{
    // A symbolic link is kept and the file it points to replaced. A link that points nowhere
    // is replaced by the new file.
    struct stat status;
    if (::lstat(m_target.constData(), &status) == 0 && S_ISLNK(status.st_mode)) {
        if (char *resolved = ::realpath(m_target.constData(), nullptr)) {
            m_target = resolved;
            std::free(resolved);
        }
    }
}

AtomicFile::~AtomicFile()
{
    abandon();
}

bool AtomicFile::fail(int error)
{
    m_error = systemReason(error);
    m_failed = true;
    abandon();
    return false;
}

bool AtomicFile::open()
{
    abandon();
    m_failed = false;
    m_error.clear();
    struct stat old;
    const bool replacing = ::stat(m_target.constData(), &old) == 0;
    const QByteArray prefix = folderOf(m_target) + "/." + nameOf(m_target) + '.';
    // A new file is made with 0666 for the umask to trim; one that replaces another starts
    // closed to others and gets the old file's bits below.
    const mode_t mode = replacing ? 0600 : 0666;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        m_temporary = prefix + randomSuffix();
        fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                    mode);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        const int error = errno;
        m_temporary.clear();
        return fail(error);
    }
    m_fd = fd;
    if (replacing) {
        // The owner first: a change of owner clears the set-user and set-group bits. Only root
        // may give a file away; anyone else keeps the file as their own.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
        }
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            return fail(errno);
    }
    return true;
}

bool AtomicFile::write(QByteArrayView bytes)
{
    if (m_fd < 0 || m_failed)
        return false;
    if (!writeAll(m_fd, bytes.data(), bytes.size()))
        return fail(errno);
    return true;
}

bool AtomicFile::commit()
{
    if (m_fd < 0 || m_failed) {
        abandon();
        return false;
    }
    // On the disk before it takes the old file's place: after a crash the name holds either
    // the old file or the whole new one. A file system may report a failed write only here.
    if (m_durable && ::fsync(m_fd) != 0)
        return fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return fail(errno);
    if (::rename(m_temporary.constData(), m_target.constData()) != 0)
        return fail(errno);
    m_temporary.clear();
    // The rename itself reaches the disk with the folder. The file is in place already, so a
    // failure here is no failure of the write.
    if (!m_durable)
        return true;
    const int folder =
        ::open(folderOf(m_target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

void AtomicFile::abandon()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
}
