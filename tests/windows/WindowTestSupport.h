// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/SpecialFolders.h"
#include "support/ScriptedDialogs.h"
#include "settings/GlobalVariant.h"
#include "widgets/DialogSeam.h"
#include "widgets/PictureButton.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace windows_test {

using test_support::ScriptedDialogs;

// A settings file, a home folder (with Favorites and Desktop) and scripted dialogs, all thrown
// away after the test; the settings start at their defaults.
class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_home = m_dir.filePath(QStringLiteral("home"));
        ASSERT_TRUE(QDir().mkpath(m_home + QStringLiteral("/Favorites")));
        ASSERT_TRUE(QDir().mkpath(m_home + QStringLiteral("/Desktop")));
        setHomeFolderOverride(m_home);
        SettingsFilePath = m_dir.filePath(QStringLiteral("talvensa.ini"));
        GlobalVariant = TGlobalVariant{};
        LoadSettings();
        setDialogs(&m_dialogs);
    }

    void TearDown() override
    {
        setDialogs(nullptr);
        setHomeFolderOverride(QString());
        GlobalVariant = TGlobalVariant{};
        SettingsFilePath.clear();
    }

    QByteArray settingsFileBytes() const
    {
        QFile file(SettingsFilePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Points the settings file below a plain file, where no file can be created.
    void makeSettingsFileUnwritable()
    {
        QFile blocker(path(QStringLiteral("blocker")));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SettingsFilePath = path(QStringLiteral("blocker/talvensa.ini"));
    }

    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    // The control of that object name in a window; a missing one fails the test.
    template <typename T> static T *control(const QWidget &window, const char *name)
    {
        T *found = window.findChild<T *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QTemporaryDir m_dir;
    QString m_home;
    ScriptedDialogs m_dialogs;
};

// One of the windows opened beside the main window, with a stand-in main window that it
// disables and enables. SetUp creates the window; a fixture that must prepare folders first calls
// WindowTest::SetUp(), prepares them, then createWindow().
template <typename Window> class SecondaryWindowTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        createWindow();
    }

    void createWindow() { m_window = std::make_unique<Window>(&m_main); }

    template <typename T> T *control(const char *name)
    {
        return WindowTest::control<T>(*m_window, name);
    }

    // Shows the window as the main window's toolbar does: window first, then the main window
    // disabled.
    void open()
    {
        m_window->show();
        m_main.setEnabled(false);
    }

    // Closes the window as a user does: by the title bar's close box, or by clicking its button.
    void closeBy(bool closeBox, const char *button)
    {
        if (closeBox)
            m_window->close();
        else
            QTest::mouseClick(control<TPictureButton>(button), Qt::LeftButton);
    }

    QWidget m_main;
    std::unique_ptr<Window> m_window;
};

// Runs the event loop until the condition holds or two seconds have passed. The windows' timers
// drive their dependent controls; this only gives them the chance to run.
template <typename Condition> bool processEventsUntil(Condition condition)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > 2000)
            return false;
        QTest::qWait(10);
    }
    return true;
}

} // namespace windows_test
