// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/FileNames.h"

#include <QStringDecoder>

namespace {

// Length of the valid UTF-8 sequence that starts at bytes[i], or 0 when there is none.
qsizetype validSequenceLength(QByteArrayView bytes, qsizetype i)
{
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    if (b0 < 0x80)
        return 1;
    qsizetype length;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0)
            low = 0xA0; // no overlong forms
        else if (b0 == 0xED)
            high = 0x9F; // no surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0)
            low = 0x90;
        else if (b0 == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    if (b1 < low || b1 > high)
        return 0;
    for (qsizetype k = 2; k < length; ++k) {
        if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// QString::fromUtf8 drops a leading U+FEFF as a byte-order mark; in a name it is a character.
QString fromUtf8KeepingMark(QByteArrayView bytes)
{
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

QString fileNameToText(QByteArrayView name)
{
    // Every name of a folder comes through here. The decoder puts U+FFFD for what is not UTF-8,
    // so a result without it came from valid UTF-8 and is the answer; that saves a separate
    // check of the bytes for the usual name.
    QString decoded = fromUtf8KeepingMark(name);
    if (!decoded.contains(QChar::ReplacementCharacter))
        return decoded;
    if (name.isValidUtf8())
        return decoded; // the name holds U+FFFD itself
    QString text;
    text.reserve(name.size());
    qsizetype i = 0;
    while (i < name.size()) {
        const qsizetype length = validSequenceLength(name, i);
        if (length == 0) {
            text += QChar(char16_t(0xDC00 + static_cast<unsigned char>(name[i])));
            ++i;
        } else {
            text += fromUtf8KeepingMark(name.sliced(i, length));
            i += length;
        }
    }
    return text;
}

QByteArray textToFileName(QStringView text)
{
    QByteArray name;
    name.reserve(text.size());
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = escapedFileNameByte(text, i);
        if (byte < 0)
            continue;
        name += text.sliced(from, i - from).toUtf8();
        name += char(byte);
        from = i + 1;
    }
    name += text.sliced(from).toUtf8();
    return name;
}
