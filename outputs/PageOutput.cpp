// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "outputs/PageOutput.h"

#include "outputs/PageText.h"
#include "platform/PosixFile.h"

#include <algorithm>
#include <cerrno>

#include <unistd.h>

void PageOutput::text(QStringView text)
{
    m_scratch.resize(0);
    appendShiftJis(m_scratch, text);
    put(m_scratch);
}

void PageOutput::slowName(QStringView name)
{
    m_scratch.resize(0);
    appendNameText(m_scratch, name);
    put(m_scratch);
}

bool PageOutput::flush()
{
    if (m_error == 0 && m_used > 0 && !writeAll(m_fd, m_data.get(), m_used, &m_written))
        m_error = errno;
    m_used = 0;
    return m_error == 0;
}

void PageOutput::grow(qsizetype needed)
{
    const qsizetype capacity = std::max(2 * m_capacity, m_used + needed);
    std::unique_ptr<char[]> data(new char[size_t(capacity)]);
    std::memcpy(data.get(), m_data.get(), size_t(m_used));
    m_data = std::move(data);
    m_capacity = capacity;
}
