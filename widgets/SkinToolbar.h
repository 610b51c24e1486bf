// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QToolBar>

// The main window's toolbar: fixed along the top edge (it can neither float nor move), with a hand
// cursor, 16 x 16 icons beside their captions, and the colours of the program's toolbar skin.
class TSkinToolbar final : public QToolBar
{
    Q_OBJECT

public:
    explicit TSkinToolbar(QWidget *parent = nullptr);

    // The style sheet of the skin, built from the current system colours.
    static QString skinStyleSheet();

protected:
    void actionEvent(QActionEvent *event) override;

private:
    void fitItem(QAction *action);
};
