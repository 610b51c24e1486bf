// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// talvensa-cli installed where its user may not write (as in /usr/bin) reads the user's own
// settings file; unpacked into a folder of its own it keeps to the file beside it. Root may write
// into any folder, so when the tests run as root the installed program is run as the user
// "nobody" (setpriv), for whom the folder is honestly not writable.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

constexpr auto ReadOnlyFolder = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
constexpr auto OpenFolder = ReadOnlyFolder | QFile::WriteOwner;

class InstalledCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // Another user must be able to reach everything below.
        QFile::setPermissions(m_dir.path(), OpenFolder);
        write(QStringLiteral("Fav/News.url"), "[InternetShortcut]\r\nURL=http://news.example/\r\n");
        write(QStringLiteral("config/talvensa/talvensa.ini"), "[Title]\r\nTitle=Mine\r\n");
        ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("prefix/bin"))));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TALVENSA_CLI), program()));
    }
    void TearDown() override
    {
        QFile::setPermissions(path(QStringLiteral("prefix/bin")), OpenFolder);
    }

    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString program() const { return path(QStringLiteral("prefix/bin/talvensa-cli")); }

    void write(const QString &relative, const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    struct Run
    {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };

    // Runs the copy with the given home folder and no XDG_CONFIG_HOME of its own, as "nobody"
    // when asOtherUser is set and the tests run as root.
    Run run(QStringList arguments, bool asOtherUser, const QString &home,
            const QString &configFolder = {}) const
    {
        QString command = program();
        if (asOtherUser && ::geteuid() == 0) {
            arguments =
                QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                            QStringLiteral("--clear-groups"), program()} +
                arguments;
            command = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        }
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        env.remove(QStringLiteral("XDG_CONFIG_HOME"));
        if (!configFolder.isEmpty())
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder);
        process.setProcessEnvironment(env);
        process.start(command, arguments);
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    // The page the copy writes to standard output for the tree Fav, with the user's settings
    // in config/.
    QByteArray page(bool asOtherUser) const
    {
        const Run written =
            run({QStringLiteral("--folder"), path(QStringLiteral("Fav")), QStringLiteral("-")},
                asOtherUser, path(QStringLiteral("home")), path(QStringLiteral("config")));
        EXPECT_EQ(written.exitCode, 0) << written.err.constData();
        return written.out;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(InstalledCliTest, AProgramFolderThatCannotBeWrittenGivesTheUsersSettings)
{
    if (::geteuid() == 0 && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        GTEST_SKIP() << "running as root without setpriv to run as another user";
    QFile::setPermissions(path(QStringLiteral("prefix/bin")), ReadOnlyFolder);
    EXPECT_TRUE(page(true).contains("\r\n\tMine\r\n"));

    // A settings file placed beside the installed program is still the program's.
    QFile::setPermissions(path(QStringLiteral("prefix/bin")), OpenFolder);
    write(QStringLiteral("prefix/bin/talvensa.ini"), "[Title]\r\nTitle=Beside\r\n");
    QFile::setPermissions(path(QStringLiteral("prefix/bin")), ReadOnlyFolder);
    EXPECT_TRUE(page(true).contains("\r\n\tBeside\r\n"));
}

TEST_F(InstalledCliTest, AWritableProgramFolderKeepsItsOwnSettings)
{
    // No file beside it yet: the defaults, not the user's file, as the settings the program
    // would save there start from them.
    const QByteArray written = page(false);
    EXPECT_TRUE(written.contains("\r\n\tFavorite\r\n"));
    EXPECT_FALSE(written.contains("Mine"));
}

TEST_F(InstalledCliTest, AnEmptyHomeFolderSaysWhereItLookedAndWhereElseToLook)
{
    if (::geteuid() == 0 && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        GTEST_SKIP() << "running as root without setpriv to run as another user";
    // A new account: no settings file, no ~/Favorites, no browser.
    QFile::setPermissions(path(QStringLiteral("prefix/bin")), ReadOnlyFolder);
    const QString home = path(QStringLiteral("new-user"));
    ASSERT_TRUE(QDir().mkpath(home));
    const Run quiet = run({QStringLiteral("--quiet"), QStringLiteral("-")}, true, home);
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_TRUE(quiet.out.endsWith("</html>\r\n"));
    EXPECT_EQ(quiet.err.toStdString(),
              "talvensa-cli: no links found in " + home.toStdString() +
                  "/Favorites (which does not exist); --folder PATH reads another folder or a "
                  "bookmark file, and --find-bookmarks lists your browsers' bookmark files (0 "
                  "found now)\n");
    // Nothing was saved for the user.
    EXPECT_TRUE(QDir(home).isEmpty());
}
