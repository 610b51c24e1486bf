// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// A file replaced as a whole. What is written goes to a new, hidden file beside it (in the
// same folder, so that the rename cannot cross file systems), which takes the file's place only
// at commit(), once every byte has been written and flushed to the disk. Until then, and when
// anything fails, the file keeps what it held, and the temporary file is removed: a full disk,
// a quota or a crash never leaves half a file or an empty one.
//
// The new file keeps the permission bits (and, where the system allows it, the owner and group)
// of the file it replaces; a new file gets 0666 less the umask. A path that is a symbolic link
// replaces the file it points to, so the link stays.
//
// A writer may stream into descriptor() itself; after a failed write of its own it abandons
// the file (or simply lets the object go) instead of committing.
class AtomicFile final
{
public:
    explicit AtomicFile(const QString &path);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Whether commit() waits for the new file to be on the disk before it takes the old one's
    // place (the default): after a crash of the system the name then holds the old file or the
    // whole new one. A file that can be made again at any time (a page) may skip the wait; the
    // replacement is atomic for every reader all the same.
    void setDurable(bool durable) { m_durable = durable; }

    // Creates the temporary file. False, with errorString(), when it cannot be made.
    bool open();
    int descriptor() const { return m_fd; }
    // Writes all of bytes. False when a write fails; commit() then refuses.
    bool write(QByteArrayView bytes);
    // Flushes the temporary file to the disk and renames it over the file. False when any of
    // it fails (or a write failed before): the file is then as it was.
    bool commit();
    // Removes the temporary file; the file stays as it was.
    void abandon();

    const QString &errorString() const { return m_error; }

private:
    bool fail(int error);

    QByteArray m_target;    // the file replaced, as a native path
    QByteArray m_temporary; // the file written, beside it
    int m_fd = -1;
    bool m_failed = false;
    bool m_durable = true;
    QString m_error;
};
