// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "TestDisplay.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The X server of this test program, started by main().
TestDisplay &testDisplay();

// One run of the built talvensa on the test display, as a user starts it: a copy of the program
// in a folder of its own (so talvensa.ini beside it is the test's), a home folder of its own
// (the desktop, the standard Favorites folder and every file Qt might keep lie inside it), a
// small Favorites tree, and the real dialogs of Qt on the xcb platform.
class GuiTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString settingsPath() const { return path(QStringLiteral("talvensa.ini")); }
    QString favorites() const { return path(QStringLiteral("Favorites")); }
    QString home() const { return path(QStringLiteral("home")); }

    static void writeFile(const QString &file, const QByteArray &bytes);
    static QByteArray readFile(const QString &file);
    // Settings that name the test's Favorites tree, and any further lines.
    void writeSettings(const QByteArray &moreLines = {}) const;

    // Starts the program; the main window is then on screen.
    void start(const QStringList &arguments = {});
    // Starts the program without waiting for a window (a box may come before the main window).
    void launch(const QStringList &arguments = {});
    // The main window once it is on screen, known by its id from then on.
    void expectMainWindow();
    // Waits for the program to end; its exit status, or -1 when it did not end in time.
    int waitForExit(int timeoutMs = 30000);
    bool isRunning() const { return m_program.state() != QProcess::NotRunning; }

    TestDisplay &display() const { return testDisplay(); }
    TestDisplay::Window mainWindow() const;
    // A window that must come: the test fails at once when it does not.
    TestDisplay::Window expectWindow(const QString &caption) const;

    enum class ToolbarItem
    {
        Settings,
        Folder,
        Version,
        End,
    };
    void clickToolbar(ToolbarItem item) const;
    void clickCreate() const;
    // Clicks into a box, at a point given from its bottom right corner, until it goes.
    void clickUntilGone(const TestDisplay::Window &window, int fromRight, int fromBottom) const;
    // The buttons of the confirmation box, clicked with the mouse; the box has gone after.
    void answer(const TestDisplay::Window &box, bool yes) const;
    // A window with this caption other than the one given (a box that shares the main window's
    // caption, a question that shares the save dialog's); the test fails at once without it.
    TestDisplay::Window expectWindowBesides(const QString &caption, unsigned long besides) const;
    // The save dialog, once it is on screen.
    TestDisplay::Window expectSaveDialog() const;
    // Keys sent to the window once it has the keyboard focus.
    void pressKeys(const TestDisplay::Window &window, const QString &keys) const;
    // Types a file name into the save dialog and presses Enter.
    void saveAs(const TestDisplay::Window &dialog, const QString &fileName) const;

    // The plain message box (the application title as caption) that must come, dismissed with
    // its OK button. Its text is not visible to X; the flows check what the run left on disk.
    void dismissMessage() const;
    // True when Qt left a configuration file of its own in the home folder.
    bool qtLeftItsSettings() const;

    // A picture of the whole screen for a failure message; its file name.
    QString saveScreen() const;

    // What the program printed, for failure messages.
    QString output();

    QTemporaryDir m_dir;
    QProcess m_program;
    unsigned long m_mainWindowId = 0;
};

// Two processes that keep both cores busy while they live, as a build beside the program would.
class BusyProcesses final
{
public:
    BusyProcesses();
    ~BusyProcesses();

private:
    QProcess m_busy[2];
};

inline const QString SaveDialogCaption = QStringLiteral("名前を付けて保存");
