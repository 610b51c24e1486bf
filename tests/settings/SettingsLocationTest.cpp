// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "settings/SettingsLocation.h"

#include "platform/SpecialFolders.h"
#include "settings/GlobalVariant.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

class SettingsLocationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        m_hadConfigHome = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        setHomeFolderOverride(path(QStringLiteral("home")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
    }
    void TearDown() override
    {
        setHomeFolderOverride(QString());
        if (m_hadConfigHome)
            qputenv("XDG_CONFIG_HOME", m_savedConfigHome);
        else
            qunsetenv("XDG_CONFIG_HOME");
        QFile::setPermissions(path(QStringLiteral("bin")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GlobalVariant = TGlobalVariant();
        SettingsFilePath.clear();
    }

    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString usersFile() const { return path(QStringLiteral("config/talvensa/talvensa.ini")); }

    QTemporaryDir m_dir;
    QByteArray m_savedConfigHome;
    bool m_hadConfigHome = false;
};

} // namespace

TEST_F(SettingsLocationTest, TheFileBesideTheProgramWhenItExistsOrItsFolderIsWritable)
{
    const QString beside = path(QStringLiteral("bin/talvensa.ini"));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("bin"))));
    EXPECT_EQ(settingsFileLocation(beside), beside);

    // An existing file is used even where it cannot be written (a prepared file in a read-only
    // folder; saving then reports the error).
    QFile file(beside);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QFile::setPermissions(path(QStringLiteral("bin")), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(settingsFileLocation(beside), beside);
}

TEST_F(SettingsLocationTest, AFolderThatCannotBeWrittenGivesTheUsersFile)
{
    // A folder that does not exist cannot take a file for anyone, root included.
    EXPECT_EQ(settingsFileLocation(path(QStringLiteral("gone/talvensa.ini"))), usersFile());

    // A read-only folder; root may write it anyway, so that case is covered by running
    // talvensa-cli as another user (cli_tests).
    if (::geteuid() != 0) {
        ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("bin"))));
        QFile::setPermissions(path(QStringLiteral("bin")), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_EQ(settingsFileLocation(path(QStringLiteral("bin/talvensa.ini"))), usersFile());
    }
}

TEST_F(SettingsLocationTest, TheUsersFileFollowsXdgConfigHome)
{
    EXPECT_EQ(userSettingsFilePath(), usersFile());

    // Unset, empty or relative: ~/.config, as the XDG rules say.
    const QString defaultFile = path(QStringLiteral("home/.config/talvensa/talvensa.ini"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(userSettingsFilePath(), defaultFile);
    qputenv("XDG_CONFIG_HOME", "");
    EXPECT_EQ(userSettingsFilePath(), defaultFile);
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(userSettingsFilePath(), defaultFile);
}

TEST_F(SettingsLocationTest, TheFirstSaveCreatesTheUsersSettingsFolder)
{
    SettingsFilePath = userSettingsFilePath();
    ASSERT_FALSE(QDir(path(QStringLiteral("config"))).exists());
    LoadSettings();
    GlobalVariant.Document.Title = QStringLiteral("mine");
    SaveSettings();

    GlobalVariant = TGlobalVariant();
    LoadSettings();
    EXPECT_EQ(GlobalVariant.Document.Title, QStringLiteral("mine"));
    EXPECT_TRUE(QFile::exists(usersFile()));
}
