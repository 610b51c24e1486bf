#pragma once

#include "platform/SpecialFolders.h"
#include "settings/GlobalVariant.h"
#include "widgets/DialogSeam.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace windows_test {

// Answers the windows' questions from the test and records what was asked.
class ScriptedDialogs final : public DialogSeam
{
public:
    bool confirmAnswer = false;
    std::optional<TColor> colorAnswer;

    QStringList confirmations;
    QList<TColor> colorRequests;
    QStringList errors;
    QStringList messages;

    void showMessage(QWidget *, const QString &text) override { messages << text; }
    void showError(QWidget *, const QString &text) override { errors << text; }
    bool confirm(QWidget *, const QString &text) override
    {
        confirmations << text;
        return confirmAnswer;
    }
    std::optional<QString> saveFileName(QWidget *, const SaveFileRequest &) override
    {
        return std::nullopt;
    }
    std::optional<TColor> chooseColor(QWidget *, TColor initial) override
    {
        colorRequests << initial;
        return colorAnswer;
    }
};

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

    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    QTemporaryDir m_dir;
    QString m_home;
    ScriptedDialogs m_dialogs;
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
