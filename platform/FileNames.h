// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

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

// The byte that text[i] stands for when it is an escaped byte of a name, or -1. The second half
// of a surrogate pair (a character such as U+1F4C0) is never one.
inline int escapedFileNameByte(QStringView text, qsizetype i)
{
    const char16_t u = text[i].unicode();
    if (u < 0xDC80 || u > 0xDCFF || (i > 0 && text[i - 1].isHighSurrogate()))
        return -1;
    return int(u - 0xDC00);
}
