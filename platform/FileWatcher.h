// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QString>

#include <unordered_map>
#include <vector>

// Tells of changes to the entries of folders: a file or folder created, written, its status
// changed, removed or renamed in or out, and the watched folder itself going away. A watch
// covers one folder, not the folders below it. On Linux it is inotify; the rest of the program
// sees only this.
//
// It also ends a wait when the program is asked to stop (SIGINT, SIGTERM), once stopOnSignals()
// has been called.
class FileWatcher final
{
public:
    enum class Change
    {
        Changed,  // written, or its status (permissions, owner) changed
        Created,  // made, or renamed or moved into the folder
        Removed,  // removed, or renamed or moved out of the folder
        Gone,     // the watched folder itself was removed or moved; the watch has ended
        Overflow, // changes were lost (too many at once): every watched folder may have changed
    };
    struct Event
    {
        int watch = -1; // -1 for Overflow
        Change change = Change::Changed;
        QByteArray name;     // the entry's name in the folder; empty for Gone and Overflow
        bool folder = false; // the entry is a folder
    };

    FileWatcher();
    ~FileWatcher();
    FileWatcher(const FileWatcher &) = delete;
    FileWatcher &operator=(const FileWatcher &) = delete;

    // False, with errorString(), when the system gives no watches at all.
    bool isOpen() const { return m_fd >= 0; }
    const QString &errorString() const { return m_error; }

    // Watches the entries of the folder at nativePath (a symbolic link to a folder watches that
    // folder). The watch's number, or -1 with errorString(); limitReached then says whether it
    // failed because the system's limit on watches was reached. The same folder watched twice
    // gives the same number, and the watch then ends only once unwatch() has been called as
    // often (several holders may watch one folder: a bookmark file's and the settings').
    int watchFolder(const QByteArray &nativePath, bool *limitReached = nullptr);
    void unwatch(int watch);

    // Waits at most timeoutMs milliseconds (-1: without end) for changes, and appends them to
    // events. False when a stop was asked for (then events may be incomplete).
    bool wait(int timeoutMs, std::vector<Event> &events);

    // From now on SIGINT and SIGTERM do not end the program: they set stopRequested() and end
    // any wait().
    static void stopOnSignals();
    static bool stopRequested();

private:
    int m_fd = -1;
    std::unordered_map<int, int> m_holders; // watch, times watched
    QString m_error;
};
