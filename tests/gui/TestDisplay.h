// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QProcess>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>

// A private X server (Xvfb) for one test program, and what a user does on it: find a window by
// its caption, click into it, press keys, type. Xvfb picks a free display number itself
// (-displayfd), so test programs run side by side never meet. Windows are looked up through
// Xlib; input goes through xdotool, so the program under test gets real X events.
class TestDisplay final
{
public:
    TestDisplay();
    ~TestDisplay();
    TestDisplay(const TestDisplay &) = delete;
    TestDisplay &operator=(const TestDisplay &) = delete;

    bool isValid() const { return m_display != nullptr; }
    // ":N", for the DISPLAY of a program started on this server.
    QString name() const { return m_name; }

    struct Window
    {
        unsigned long id = 0;
        QString caption;
        QRect geometry; // on the screen, client area
    };

    // The visible top-level windows, in stacking order (topmost last).
    QList<Window> windows() const;
    // The topmost visible window with exactly this caption, waiting for it up to timeoutMs.
    std::optional<Window> waitForWindow(const QString &caption, int timeoutMs = 30000) const;
    // Waits until no visible window has this id; true when it went.
    bool waitUntilGone(unsigned long id, int timeoutMs = 30000) const;
    // Waits until fewer than `count` visible windows have this caption.
    bool waitUntilFewer(const QString &caption, int count, int timeoutMs = 30000) const;

    // Waits until the window (or a window inside it) has the keyboard focus.
    bool waitForFocus(const Window &window, int timeoutMs = 30000) const;
    // A left click at client coordinates of the window.
    void click(const Window &window, int x, int y) const;
    // One step of the mouse wheel, down, at client coordinates of the window.
    void scrollDown(const Window &window, int x, int y) const;
    // Keys by xdotool name ("Return", "Escape", "alt+y"), sent to the window that has the focus.
    void key(const QString &keys) const;
    // ASCII text typed into the window that has the focus.
    void type(const QString &text) const;

private:
    bool xdotool(const QStringList &arguments) const;

    QProcess m_server;
    QString m_name;
    struct _XDisplay *m_display = nullptr;
};

// Polls condition every 20 ms, handling the test's own events, until it holds or timeoutMs has
// gone by. True when it held.
bool waitFor(const std::function<bool()> &condition, int timeoutMs = 30000);
