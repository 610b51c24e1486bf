// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

// What the page writer needs of a progress display: a range from 0 to a maximum and a position
// in it. The main window's gauge implements it; the command-line tool prints it.
class ProgressGauge
{
public:
    virtual ~ProgressGauge() = default;
    virtual void setMaximum(int maximum) = 0;
    virtual void setPosition(int position) = 0;
};
