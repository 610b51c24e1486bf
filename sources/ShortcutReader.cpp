// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/ShortcutReader.h"

#include <optional>

#include "model/Link.h"
#include "platform/PosixFile.h"
#include "platform/ShiftJis.h"

#include <QStringDecoder>
#include <QUrl>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// A value of the file as text. Code-page bytes that are not plain ASCII are kept as they are:
// the text does not always give them back. Plain ASCII, the usual address, goes into the memory
// the text already has.
void setText(QString &text, QByteArray &stored, QByteArrayView bytes, bool utf8)
{
    stored.resize(0);
    if (isAscii(bytes)) {
        text.resize(0);
        text.append(QLatin1StringView(bytes));
    } else if (utf8) {
        text = QString::fromUtf8(bytes);
    } else {
        text = fromShiftJis(bytes);
        stored = bytes.toByteArray();
    }
}

// The local file an IconFile value names, or empty. A value with a scheme is an address: a
// file: one gives its path, any other (http, https, ...) names nothing here. A Windows drive
// path ("C:\\...") has a one-letter scheme as far as a URL goes, and is kept as a path (that no
// folder here holds).
void setIconKey(QString &key, QByteArrayView bytes, bool utf8)
{
    key.resize(0);
    if (bytes.isEmpty())
        return;
    const QString text = utf8 || isAscii(bytes) ? QString::fromUtf8(bytes) : fromShiftJis(bytes);
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const bool hasScheme = colon > 1 && [&] {
        for (qsizetype i = 0; i < colon; ++i) {
            const QChar c = text[i];
            if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != QLatin1Char('+') &&
                c != QLatin1Char('-') && c != QLatin1Char('.'))
                return false;
        }
        return true;
    }();
    if (!hasScheme) {
        key = text;
        return;
    }
    const QUrl url(text);
    if (url.isLocalFile())
        key = url.toLocalFile();
}

} // namespace

void ShortcutReader::feed(QByteArrayView bytes)
{
    const QByteArrayView text = m_filter.take(bytes);
    m_scanner.setUtf8(m_filter.isUnicode());
    m_scanner.scan(text);
}

void ShortcutReader::finish()
{
    m_scanner.scan(m_filter.finish());
    m_scanner.finish();
}

ShortcutReader::ValueViews ShortcutReader::valueViews()
{
    const bool utf8 = m_scanner.isUtf8();
    // UTF-7 is ASCII; a value that is not well-formed UTF-7 (a byte outside ASCII among them, or
    // an encoded run cut off) is no address.
    const QByteArrayView wide = m_scanner.value(WideUrl);
    if (!wide.isEmpty()) {
        QStringDecoder utf7("UTF-7");
        const QString url = utf7.decode(wide);
        if (utf7.isValid() && !utf7.hasError()) {
            m_wideUrl = url.toUtf8();
            return {m_wideUrl, m_scanner.value(Comment), m_scanner.value(IconFile), utf8, true,
                    m_modified};
        }
    }
    return {m_scanner.value(Url),
            m_scanner.value(Comment),
            m_scanner.value(IconFile),
            utf8,
            false,
            m_modified};
}

void ShortcutReader::fillLink(const ValueViews &values, Link &link)
{
    setText(link.url, link.storedUrl, values.url, values.utf8 || values.unicodeUrl);
    setText(link.comment, link.storedComment, values.comment, values.utf8);
    setIconKey(link.iconKey, values.iconFile, values.utf8);
    link.urlIsShortcutText = !values.unicodeUrl;
    link.commentIsMarkup = true;
    link.added = values.modified;
    link.modified = values.modified;
}

void ShortcutReader::reset()
{
    m_filter.reset();
    m_scanner.reset();
    m_modified = 0;
}

bool ShortcutReader::read(const char *nativePath, int folderFd)
{
    const int fd = ::openat(folderFd, nativePath, OpenFlags);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return false;
        finish(); // there, but unreadable: no values, as the profile reader gives
        return true;
    }
    readOpen(fd);
    return true;
}

void ShortcutReader::readOpen(int fd)
{
    readRest(fd, false, {}, 0);
}

void ShortcutReader::readOpen(int fd, QByteArrayView firstBytes, ssize_t firstRead)
{
    Q_ASSERT(firstRead < 0 || firstBytes.size() == firstRead);
    readRest(fd, true, firstBytes, firstRead);
}

void ShortcutReader::readRest(int fd, bool givenFirst, QByteArrayView firstBytes, ssize_t firstRead)
{
    // The file's status gives its date, and tells whether it is a regular file, which ends: a
    // device put in place of the listed file (a link to /dev/zero) would never end, so only a
    // regular file is read past its first buffer. Without dates it is asked only of a file
    // that fills the buffer, so the usual small file costs no call more.
    std::optional<bool> regular;
    const auto isRegular = [&] {
        struct stat status;
        regular = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
        m_modified = *regular ? qint64(status.st_mtim.tv_sec) : 0;
        return *regular;
    };
    if (m_readsDates)
        isRegular();
    char buffer[ReadSize];
    for (;;) {
        ssize_t n;
        const char *bytes = buffer;
        if (givenFirst) {
            n = firstRead;
            bytes = firstBytes.data();
            givenFirst = false;
        } else {
            n = readRetrying(fd, buffer, sizeof buffer);
        }
        if (n <= 0)
            break;
        feed(QByteArrayView(bytes, n));
        // A regular file returns less than asked only at its end; stopping there saves a read
        // per file. Nothing after the values can change them either.
        if (n < ReadSize || isComplete() || !(regular ? *regular : isRegular()))
            break;
    }
    ::close(fd);
    finish();
}
