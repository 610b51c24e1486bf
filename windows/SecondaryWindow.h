// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QPointer>
#include <QWidget>

class QTimer;

// A window opened beside the main window (design settings, Favorites folder, version). The
// main window is disabled while it is open and enabled again whenever it closes or hides, so
// the program can never be left with a locked main window. It lives for the whole run: closing
// hides it, and closing it never ends the program.
//
// A top-level window without a parent: disabling the main window must not disable it too.
class TSecondaryWindow : public QWidget
{
    Q_OBJECT

public:
    // A window of the given kind, object name and caption, in the 12-pixel interface font, with a
    // fixed client size, placed at the centre of the screen.
    TSecondaryWindow(QWidget *mainWindow, Qt::WindowFlags kind, const char *name,
                     const QString &caption, QSize clientSize);

protected:
    // Run when the program shows or hides the window (not when the window system minimises it).
    virtual void FormShow() {}
    virtual void FormHide() {}
    // Asked when the window is to close; enables the main window and lets the close go on.
    virtual bool FormCloseQuery();

    void setMainWindowEnabled(bool enabled);
    // The timer that brings the dependent controls in line with the user's choices, every
    // 100 ms while the window is shown; named Timer1, stopped until started.
    QTimer *addRefreshTimer();
    // Writes the settings file; a failure goes to the application error report.
    static void saveSettingsReportingErrors();

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QPointer<QWidget> m_mainWindow;
};
