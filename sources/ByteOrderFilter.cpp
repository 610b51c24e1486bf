// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/ByteOrderFilter.h"

namespace {

const QByteArrayView Utf8Mark("\xEF\xBB\xBF", 3);

} // namespace

QByteArrayView ByteOrderFilter::take(QByteArrayView bytes)
{
    // The usual start: a first piece long enough to tell, looked at where it lies.
    if (m_atFileStart && m_headSize == 0 && bytes.size() >= 3) {
        m_atFileStart = false;
        if (bytes.startsWith(Utf8Mark)) {
            m_unicode = true;
            return bytes.sliced(3);
        }
        if (!bytes.startsWith("\xFF\xFE") && !bytes.startsWith("\xFE\xFF"))
            return bytes;
        m_utf16.emplace(bytes[0] == '\xFF' ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        m_unicode = true;
        bytes = bytes.sliced(2);
    }
    if (m_atFileStart) {
        // UTF-8's three bytes, or UTF-16's two in either order.
        while (m_atFileStart && !bytes.isEmpty()) {
            m_head[m_headSize++] = bytes.front();
            bytes = bytes.sliced(1);
            const QByteArrayView head(m_head, m_headSize);
            if (head == Utf8Mark) {
                m_unicode = true;
                m_atFileStart = false;
            } else if (head == "\xFF\xFE" || head == "\xFE\xFF") {
                m_utf16.emplace(head[0] == '\xFF' ? QStringConverter::Utf16LE
                                                  : QStringConverter::Utf16BE);
                m_unicode = true;
                m_atFileStart = false;
            } else if (!Utf8Mark.startsWith(head) && head != "\xFF" && head != "\xFE") {
                // No mark: the bytes held back are text.
                m_atFileStart = false;
                m_text.resize(0);
                m_text.append(head);
                m_text.append(bytes);
                return m_text;
            }
        }
        if (m_atFileStart)
            return {};
    }
    if (!m_utf16)
        return bytes;
    // A piece may end between the two halves of a surrogate pair: the first half waits for the
    // second.
    QString text = m_heldSurrogate + QString(m_utf16->decode(bytes));
    m_heldSurrogate.clear();
    if (!text.isEmpty() && text.back().isHighSurrogate()) {
        m_heldSurrogate = text.back();
        text.chop(1);
    }
    m_text = text.toUtf8();
    return m_text;
}

QByteArrayView ByteOrderFilter::finish()
{
    if (m_atFileStart) {
        m_atFileStart = false;
        m_text = QByteArray(m_head, m_headSize);
        return m_text;
    }
    if (!m_heldSurrogate.isEmpty()) {
        m_text = m_heldSurrogate.toUtf8();
        m_heldSurrogate.clear();
        return m_text;
    }
    return {};
}

void ByteOrderFilter::reset()
{
    m_atFileStart = true;
    m_headSize = 0;
    m_unicode = false;
    m_utf16.reset();
    m_heldSurrogate.clear();
}
