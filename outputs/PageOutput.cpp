// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "outputs/PageOutput.h"

#include "platform/PosixFile.h"

#include <algorithm>
#include <cerrno>

#include <unistd.h>

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
