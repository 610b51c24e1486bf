// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/BookmarkFileWatch.h"

#include "platform/FileNames.h"
#include "sources/BookmarkFile.h"

#include <sys/stat.h>

BookmarkFileWatch::BookmarkFileWatch(const QString &path) : m_path(path)
{
    const QByteArray native = textToFileName(path);
    const qsizetype slash = native.lastIndexOf('/');
    m_folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : native.first(slash);
    m_name = native.sliced(slash + 1);
}

QByteArray BookmarkFileWatch::currentStamp() const
{
    QByteArray stamp;
    for (const QByteArray &suffix : {QByteArray(), QByteArray("-wal")}) {
        struct stat status;
        const QByteArray path = textToFileName(m_path) + suffix;
        if (::stat(path.constData(), &status) == 0) {
            stamp += QByteArray::number(quint64(status.st_ino)) + ' ' +
                     QByteArray::number(qint64(status.st_size)) + ' ' +
                     QByteArray::number(qint64(status.st_mtim.tv_sec)) + '.' +
                     QByteArray::number(qint64(status.st_mtim.tv_nsec)) + ';';
        } else {
            stamp += "-;";
        }
    }
    return stamp;
}

bool BookmarkFileWatch::read(QString &error)
{
    const QByteArray stamp = currentStamp();
    const std::unique_ptr<LinkSource> source = openBookmarkFile(m_path, error);
    if (!source)
        return false;
    m_held = RecordedSource::record(*source);
    m_stamp = stamp;
    return true;
}

bool BookmarkFileWatch::load(FileWatcher &watcher, QString &error)
{
    m_watch = watcher.watchFolder(m_folder);
    return read(error);
}

bool BookmarkFileWatch::take(const FileWatcher::Event &event)
{
    if (event.watch < 0 || event.watch != m_watch)
        return false;
    if (event.change == FileWatcher::Change::Gone) {
        // The folder itself went: from now on the file is looked at from time to time.
        m_watch = -1;
        m_check = true;
        return true;
    }
    if (event.name != m_name && event.name != m_name + "-wal")
        return false;
    m_changed = true;
    return true;
}

bool BookmarkFileWatch::refresh(FileWatcher &watcher, QString &error, bool &changed)
{
    error.clear();
    changed = false;
    if (m_watch < 0) {
        // The folder may be back.
        m_watch = watcher.watchFolder(m_folder);
    }
    const bool told = std::exchange(m_changed, false);
    const bool check = std::exchange(m_check, false);
    if (!told && !(check && currentStamp() != m_stamp))
        return true;
    if (!read(error)) {
        // Looked at again at the next change, and from time to time while it is away.
        m_check = m_watch < 0;
        return false;
    }
    changed = true;
    return true;
}
