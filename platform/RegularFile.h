// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// A file that the program reads whole (the settings file, a browser's bookmark file or its
// profiles.ini, a database it copies). Only a regular file of at most a given size is read: a
// FIFO would block the open or the read for ever, a device such as /dev/zero never ends, and a
// huge or sparse file would take all memory or disk. Each of these is refused with a reason
// instead ("not a regular file", "larger than 512 MiB"), before anything is read. The file is
// opened without blocking and its status checked on the open descriptor, so a file swapped for
// a FIFO or a device between the check and the open is refused too.
class RegularFile final
{
public:
    RegularFile() = default;
    ~RegularFile();
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;

    // Opens the file at path for reading. False, with the reason in error, when nothing is
    // there (isMissing() then tells so), it cannot be opened, is not a regular file or is
    // larger than limit bytes.
    bool open(const QString &path, qint64 limit, QString &error);
    // The last open() failed because there is no file at the path (nor a folder that could
    // hold one).
    bool isMissing() const { return m_missing; }

    // The whole file. False, with the reason, when a read fails or the file has grown past the
    // limit since it was opened.
    bool readAll(QByteArray &bytes, QString &error) const;
    // At most count bytes from the start of the file (all of a shorter one).
    bool readStart(qsizetype count, QByteArray &bytes, QString &error) const;
    // Writes the whole file to the descriptor fd, in pieces: the same failures as readAll(),
    // and a failed write, with the system's reason.
    bool copyTo(int fd, QString &error) const;

    void close();

private:
    // Reads up to size bytes at offset into data; the bytes read, or -1 with errno.
    qint64 readAt(qint64 offset, char *data, qint64 size) const;
    QString tooLarge() const;

    int m_fd = -1;
    qint64 m_limit = 0;
    bool m_missing = false;
};

// The whole regular file at path, of at most limit bytes (RegularFile::open and readAll). With
// missing, it is told whether the file was simply not there.
bool readRegularFile(const QString &path, qint64 limit, QByteArray &bytes, QString &error,
                     bool *missing = nullptr);

// A size as a reason shows it: "512 MiB", "4 MiB", "64 KiB", "100 bytes".
QString byteSizeText(qint64 bytes);
