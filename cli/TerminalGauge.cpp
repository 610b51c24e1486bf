// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "TerminalGauge.h"

TerminalGauge::TerminalGauge(std::FILE *stream) : m_stream(stream) {}

void TerminalGauge::setMaximum(int maximum)
{
    m_total = maximum + 1;
}

void TerminalGauge::setPosition(int position)
{
    // The position is the folder being begun, so it is also the number already done.
    if (m_shown && m_sinceShown.elapsed() < 100)
        return;
    show(position);
}

void TerminalGauge::finish(int foldersDone)
{
    if (!m_shown)
        return;
    show(foldersDone);
    std::fputc('\n', m_stream);
    std::fflush(m_stream);
}

void TerminalGauge::show(int done)
{
    std::fprintf(m_stream, "\rfolders %d/%d", done, m_total);
    std::fflush(m_stream);
    m_shown = true;
    m_sinceShown.start();
}
