// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/RecordedSource.h"
#include "sources/WatchedSource.h"

#include <QByteArray>
#include <QString>

// A browser's bookmark file kept in memory, read again whole when it changes. Its folder is
// watched, not the file: browsers replace "Bookmarks" by renaming a new file over it, and
// Firefox writes places.sqlite's changes to its "-wal" file for hours before they reach the
// database, so a change to either name counts.
class BookmarkFileWatch final : public WatchedSource
{
public:
    explicit BookmarkFileWatch(const QString &path);

    bool load(FileWatcher &watcher, QString &error) override;
    bool take(const FileWatcher::Event &event) override;
    void checkAll() override { m_check = true; }
    bool refresh(FileWatcher &watcher, QString &error, bool &changed) override;
    bool needsPolling() const override { return m_watch < 0; }
    std::unique_ptr<LinkSource> snapshot() const override { return m_held.replay(); }
    void release(FileWatcher &watcher) override
    {
        watcher.unwatch(m_watch);
        m_watch = -1;
    }

private:
    // The file's and its log's sizes and times, which tell a look from time to time whether
    // the file changed.
    QByteArray currentStamp() const;
    bool read(QString &error);

    QString m_path;
    QByteArray m_folder; // native
    QByteArray m_name;   // native
    int m_watch = -1;
    bool m_changed = false; // told of a change
    bool m_check = false;   // asked to look
    QByteArray m_stamp;     // at the last read
    RecordedSource m_held;
};
