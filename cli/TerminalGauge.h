// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/ProgressGauge.h"

#include <QElapsedTimer>

#include <cstdio>

// Progress on a terminal: "folders done/total" rewritten in place on one line, at most about
// ten times a second.
class TerminalGauge final : public ProgressGauge
{
public:
    explicit TerminalGauge(std::FILE *stream);

    void setMaximum(int maximum) override;
    void setPosition(int position) override;
    // Shows the final count (when anything was shown) and ends the line.
    void finish(int foldersDone);

private:
    void show(int done);

    std::FILE *m_stream;
    int m_total = 0;
    bool m_shown = false;
    QElapsedTimer m_sinceShown;
};
