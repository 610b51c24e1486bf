// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <optional>

// The bytes of a text file as they are to be read, given in pieces. A file that starts with a
// byte-order mark is Unicode text: the mark is dropped, and UTF-16 (either order) comes out as
// UTF-8, so a reader needs only two rules, the file's legacy code page and UTF-8. A file without
// a mark comes out as it is. The mark is looked for in the first bytes, which may come in
// separate pieces.
class ByteOrderFilter final
{
public:
    // The text of the next piece of the file: a view into bytes, or into the filter's own
    // memory, valid until the next call. While the first bytes may still be a mark they are held
    // back, so the view may be empty.
    QByteArrayView take(QByteArrayView bytes);
    // The end of the file: whatever was held back.
    QByteArrayView finish();

    // True once a mark has been found: the text is UTF-8.
    bool isUnicode() const { return m_unicode; }

    // Starts afresh for another file, keeping the memory it took.
    void reset();

private:
    bool m_atFileStart = true;
    char m_head[3]; // the first bytes, until they are known to be a mark or not
    int m_headSize = 0;
    bool m_unicode = false;
    std::optional<QStringDecoder> m_utf16;
    QString m_heldSurrogate; // the first half of a pair whose second half comes in the next piece
    QByteArray m_text;       // what comes out when it is not a view of the input
};
