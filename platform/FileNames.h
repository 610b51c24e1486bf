#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// File names are bytes on this platform, and nothing makes them UTF-8. Talvensa holds names and
// paths as QString, so the conversion must not lose a byte: QFile::decodeName turns every byte
// that is not UTF-8 into U+FFFD, after which the file can no longer be found by its name.
//
// Here each byte of a name that is not part of a valid UTF-8 sequence becomes one of the code
// points U+DC80..U+DCFF (a lone low surrogate, which valid UTF-8 can never give), and turns back
// into that byte on the way out, so a name survives the round trip byte for byte. The page
// writes such a byte as it is (a name made on a Shift-JIS system then reads right in the page).
QString fileNameToText(QByteArrayView name);
QByteArray textToFileName(QStringView text);

// The byte a character stands for when it is an escaped byte of a name, or -1.
inline int escapedFileNameByte(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0xDC80 && u <= 0xDCFF) ? int(u - 0xDC00) : -1;
}
