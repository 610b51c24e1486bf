// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "sources/ByteOrderFilter.h"
#include "sources/ProfileScanner.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <fcntl.h>

struct Link;

// Reads the values a link takes from an Internet shortcut file: "URL" and "IconFile" of the
// section "InternetShortcut" and "Comment" of the section "Comment", by the profile rules
// (ProfileScanner). The file is in the system's legacy code page (Shift-JIS), or Unicode when it
// starts with a UTF-8 or UTF-16 byte-order mark (ByteOrderFilter). Windows keeps an address with
// characters outside its code page also as "URL" of the section "InternetShortcut.W", in UTF-7:
// when that value is well-formed it is the link's address; otherwise "InternetShortcut" gives it.
//
// The file is fed in pieces, so memory stays small whatever the size of the file or of its
// lines, and one reader serves file after file.
class ShortcutReader final
{
public:
    void feed(QByteArrayView bytes);
    // Ends the last line; the values are final after this.
    void finish();
    // True once the values are known: nothing later in the file can change them.
    bool isComplete() const { return m_scanner.isComplete(); }

    // The values as read: views into the reader, valid until it is reset or fed again, as a
    // page reads many files with one reader.
    struct ValueViews
    {
        QByteArrayView url;
        QByteArrayView comment;
        QByteArrayView iconFile;
        bool utf8 = false;       // the values are UTF-8 (a Unicode file), else code-page bytes
        bool unicodeUrl = false; // url is the Unicode address of "InternetShortcut.W", in UTF-8
        qint64 modified = 0;     // the file's modification time, seconds since 1970; 0 unknown
    };
    ValueViews valueViews();

    // The link that values give: its address and comment as text, with their stored bytes
    // where the file is in the code page and they are not plain ASCII; its dates are the
    // file's modification time. Its icon key is the local file that IconFile names (a path, or
    // a file: address turned into one), as written, so a relative path is still relative to the
    // shortcut's folder; empty where IconFile is missing or names an address on the network,
    // which is never fetched.
    static void fillLink(const ValueViews &values, Link &link);

    // Starts afresh for another file, keeping the memory the values took.
    void reset();

    // Opens and reads a shortcut file without blocking (a FIFO gives no values rather than a
    // wait); the caller makes sure the path names a regular file first. A relative path is
    // taken from the folder open as folderFd (AT_FDCWD: the working folder). The reader must be
    // fresh (or reset). False when there is no such file; no values when it cannot be read. The
    // values are then those of valueViews().
    bool read(const char *nativePath, int folderFd = AT_FDCWD);
    // How read() opens a file: non-blocking, so that a FIFO put in place of the file after it
    // was listed gives an empty read instead of a wait. A device there is read no further than
    // one buffer.
    static constexpr int OpenFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    // The rest of read() for a file already opened with OpenFlags, which it closes.
    void readOpen(int fd);
    // The bytes read() asks for at once.
    static constexpr qsizetype ReadSize = 16384;
    // readOpen() for a file whose first read(), of ReadSize bytes, was done elsewhere (a read
    // of many files at once) and returned firstRead: the bytes, or -errno.
    void readOpen(int fd, QByteArrayView firstBytes, ssize_t firstRead);
    // Whether the files' dates are read (the default): they cost a call to the system a file,
    // which a page that shows no date is spared.
    void setReadsDates(bool readsDates) { m_readsDates = readsDates; }

private:
    // readOpen(), with the first read's result where it was done elsewhere.
    void readRest(int fd, bool givenFirst, QByteArrayView firstBytes, ssize_t firstRead);

    enum Key
    {
        Url,
        WideUrl,
        Comment,
        IconFile,
    };

    ByteOrderFilter m_filter;
    ProfileScanner m_scanner{{"InternetShortcut", "URL"},
                             {"InternetShortcut.W", "URL"},
                             {"Comment", "Comment"},
                             {"InternetShortcut", "IconFile"}};
    QByteArray m_wideUrl; // the Unicode address in UTF-8, for valueViews()
    qint64 m_modified = 0;
    bool m_readsDates = true;
};
