// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/BookmarkFile.h"

#include "model/TreeSource.h"
#include "model/LinkTree.h"
#include "sources/ChromiumBookmarks.h"
#include "sources/FirefoxPlaces.h"
#include "sources/NetscapeBookmarks.h"
#include "platform/FileNames.h"
#include "platform/PosixFile.h"

#include <QByteArray>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The whole file, or its first bytes up to limit. Only a regular file is read: a FIFO or a
// device could block or never end.
bool readBytes(const QString &path, qint64 limit, QByteArray &bytes, QString &error)
{
    const int fd =
        ::open(textToFileName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = systemReason(errno);
        return false;
    }
    struct stat status;
    bool read = ::fstat(fd, &status) == 0;
    if (read && !S_ISREG(status.st_mode)) {
        error = QStringLiteral("not a regular file");
        read = false;
    } else if (!read) {
        error = systemReason(errno);
    }
    if (read) {
        bytes.resize(qsizetype(std::min<qint64>(limit, status.st_size)));
        qsizetype filled = 0;
        while (filled < bytes.size()) {
            const ssize_t n =
                readRetrying(fd, bytes.data() + filled, size_t(bytes.size() - filled));
            if (n < 0) {
                error = systemReason(errno);
                read = false;
                break;
            }
            if (n == 0)
                break; // shorter than it was a moment ago
            filled += n;
        }
        bytes.truncate(filled);
    }
    ::close(fd);
    return read;
}

} // namespace

std::unique_ptr<LinkSource> openBookmarkFile(const QString &path, QString &error)
{
    // The kind is told from the first bytes, so that a large file of another kind is not read.
    QByteArray bytes;
    if (!readBytes(path, 4096, bytes, error))
        return nullptr;
    LinkTree tree;
    bool read = false;
    if (isSqliteDatabase(bytes)) {
        read = readFirefoxPlaces(path, tree, error);
    } else if (isNetscapeBookmarks(bytes)) {
        read = readBytes(path, std::numeric_limits<qint64>::max(), bytes, error) &&
               readNetscapeBookmarks(bytes, tree, error);
    } else if (looksLikeJsonObject(bytes)) {
        read = readBytes(path, std::numeric_limits<qint64>::max(), bytes, error) &&
               readChromiumBookmarks(bytes, tree, error);
    } else {
        error = QStringLiteral("neither a Netscape bookmark file, a Chromium Bookmarks file nor "
                               "a Firefox places.sqlite");
    }
    if (!read)
        return nullptr;
    return std::make_unique<TreeSource>(std::move(tree));
}
