// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstring>
#include <memory>

// The output of a writer: lines are gathered in a buffer and written to a file descriptor in
// large pieces, at line ends. The first failed write is remembered and every later one is
// skipped.
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

    // Room for n more bytes on the line being built: where to write them. commit() then takes
    // what was written there; nothing is added without it.
    char *room(qsizetype n)
    {
        if (n > m_capacity - m_used)
            grow(n);
        return m_data.get() + m_used;
    }
    void commit(const char *end) { m_used = end - m_data.get(); }

    // A buffer for a writer to build a piece in before it is put.
    QByteArray &scratch() { return m_scratch; }

    // Ends the line built; writes the buffer out once it is large.
    void endLine()
    {
        put("\r\n");
        if (m_used >= FlushSize)
            flush();
    }
    // The same with a bare LF, for the documents whose lines end so.
    void endLfLine()
    {
        put("\n");
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

    int m_fd;
    std::unique_ptr<char[]> m_data;
    qsizetype m_capacity = InitialCapacity;
    qsizetype m_used = 0;
    QByteArray m_scratch;
    int m_error = 0;
    qint64 m_written = 0;
};
