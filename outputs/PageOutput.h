// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/ShiftJis.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <cstring>
#include <memory>

// The page file: lines are gathered in a buffer and written in large pieces, at line ends. The
// first failed write is remembered and every later one is skipped.
class PageOutput final
{
public:
    explicit PageOutput(int fd) : m_fd(fd), m_data(new char[InitialCapacity]) {}

    // Appends bytes to the line being built. Copied inline: a page is built of many short
    // pieces.
    void put(QByteArrayView bytes)
    {
        // An empty view may carry no pointer at all, which memcpy must not be given.
        if (bytes.isEmpty())
            return;
        if (bytes.size() > m_capacity - m_used)
            grow(bytes.size());
        std::memcpy(m_data.get() + m_used, bytes.data(), size_t(bytes.size()));
        m_used += bytes.size();
    }
    template <size_t N> void put(const char (&literal)[N]) { put(QByteArrayView(literal, N - 1)); }

    // Text in the page's encoding (Shift-JIS, numeric references for what it cannot hold).
    void text(QStringView text);

    // A name (appendNameText). A name of characters that the code page holds, without "<" or
    // ">", is encoded straight into the buffer; any other goes through appendNameText.
    void name(QStringView name)
    {
        const quint32 *const table = shiftJisTable();
        if (2 * name.size() > m_capacity - m_used)
            grow(2 * name.size());
        char *out = m_data.get() + m_used;
        for (const QChar character : name) {
            const char16_t c = character.unicode();
            if (c < 0x80 && c != u'<' && c != u'>') {
                *out++ = char(c);
                continue;
            }
            const quint32 code = c < 0x80 ? 0 : table[c];
            if (code == 0) {
                slowName(name);
                return;
            }
            if (code & 0x10000) {
                *out++ = char(code & 0xFF);
            } else {
                *out++ = char(code >> 8);
                *out++ = char(code & 0xFF);
            }
        }
        m_used = out - m_data.get();
    }

    // Ends the line built; writes the buffer out once it is large.
    void endLine()
    {
        put("\r\n");
        if (m_used >= FlushSize)
            flush();
    }
    void line(QByteArrayView text)
    {
        put(text);
        endLine();
    }
    template <size_t N> void line(const char (&literal)[N])
    {
        put(literal);
        endLine();
    }

    // Writes out what has been gathered; false once a write has failed.
    bool flush();

    bool failed() const { return m_error != 0; }
    int error() const { return m_error; } // the errno of the first failed write
    qint64 written() const { return m_written; }

private:
    static constexpr qsizetype FlushSize = 64 * 1024;
    static constexpr qsizetype InitialCapacity = FlushSize + 16 * 1024;

    // Room for a line longer than the buffer has left: the buffer grows; it is written out
    // only at line ends.
    void grow(qsizetype needed);
    void slowName(QStringView name);

    int m_fd;
    std::unique_ptr<char[]> m_data;
    qsizetype m_capacity = InitialCapacity;
    qsizetype m_used = 0;
    QByteArray m_scratch;
    int m_error = 0;
    qint64 m_written = 0;
};
