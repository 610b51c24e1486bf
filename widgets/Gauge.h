// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/ProgressGauge.h"

#include <QWidget>

// The horizontal progress gauge of the main window: a white ground with a single black border,
// a blue bar from the left, and the whole-number percentage centred on it. The range runs from 0
// to maximum() and the position always stays inside it. The page writer moves it while the rest
// of the window may not be repainted, so it repaints itself at once whenever its maximum or the
// percentage it shows changes, and not for a move that leaves the percentage as it was.
class TGauge final : public QWidget, public ProgressGauge
{
    Q_OBJECT

public:
    explicit TGauge(QWidget *parent = nullptr);

    void setMaximum(int maximum) override;
    void setPosition(int position) override;

    int maximum() const { return m_maximum; }
    int position() const { return m_position; }
    // The whole-number percentage shown: 0 for an empty range.
    int percentDone() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_maximum = 100;
    int m_position = 0;
};
