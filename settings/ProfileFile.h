// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// A private-profile (INI) file, read and written by the Windows rules (platform/ProfileRules.h):
// - section and key names match without regard to ASCII case; blanks (spaces, tabs) around names
//   and values are trimmed; a value enclosed in one pair of matching quotes ("..." or '...') is
//   read without them, and a value written that would lose its own quotes gets one more pair;
// - a value is cut to its first 2047 bytes (never inside a character);
// - a write replaces an existing value in place, appends a missing key at the end of its section
//   and a missing section at the end of the file; every other line stays byte for byte;
// - each write replaces the file atomically (a temporary file, flushed to the disk, renamed over
//   it), so a failed write (a full disk) leaves the file as it was;
// - only a regular file of at most MaxFileBytes is read: a FIFO, a device or a huge file at the
//   path is a file that cannot be read.
// The file is Shift-JIS. A file that starts with a UTF-8 byte-order mark is read as UTF-8, and
// when a value cannot be held in Shift-JIS the whole file is written as UTF-8 with that mark.
class ProfileFile final
{
public:
    // Far more than the program's keys and any notes of the user's take.
    static constexpr qint64 MaxFileBytes = 4 << 20;

    explicit ProfileFile(QString path);

    // Reads the file. A missing file is an empty profile; false only when an existing file
    // cannot be read (errorString() says why).
    bool load();

    // The value of a key, or nothing when the section or key is absent.
    std::optional<QString> value(QStringView section, QStringView key) const;

    // Sets a value in memory and writes the file. False when the file cannot be written
    // (errorString() says why); the file then keeps what it held before this call. An existing
    // file that is read-only (to its owner too) or not a regular file is never replaced.
    bool write(QStringView section, QStringView key, const QString &value);

    // Why the last load() or write() failed.
    const QString &errorString() const { return m_error; }

    const QString &path() const { return m_path; }
    bool isUtf8() const { return m_utf8; }
    // The whole file as it would be written now.
    QByteArray contents() const;

private:
    struct Line
    {
        QByteArray text;     // the line without its line end
        QByteArray ending;   // "\r\n", "\n", "\r" or empty for a last line without one
        QString sectionName; // set on a section header line
        bool isSection = false;
        bool isKey = false;
        QString keyName; // set on a key line
    };

    void parse(const QByteArray &data);
    Line makeLine(QByteArray text, QByteArray ending) const;
    QString decode(QByteArrayView bytes) const;
    QByteArray encode(const QString &text) const;
    void switchToUtf8();
    // Index range [first, last) of the lines of a section, or -1 when absent.
    qsizetype findSection(QStringView section) const;
    qsizetype sectionEnd(qsizetype header) const;
    bool save();

    QString m_path;
    QList<Line> m_lines;
    bool m_utf8 = false;
    QString m_error;
};
