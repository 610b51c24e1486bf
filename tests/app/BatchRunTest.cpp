// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// Runs the built talvensa program headless, as a batch step would, in a folder of its own with
// its own settings file, and checks what it leaves behind.

#include "support/PlacesTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

namespace {

class BatchRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // A copy of the program, so the settings file beside it is the test's own.
        m_program = m_dir.filePath(QStringLiteral("talvensa"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TALVENSA_EXECUTABLE), m_program));

        m_favorites = m_dir.filePath(QStringLiteral("Favorites"));
        ASSERT_TRUE(QDir().mkpath(m_favorites + QStringLiteral("/News")));
        writeFile(m_favorites + QStringLiteral("/Alpha.url"),
                  "[InternetShortcut]\r\nURL=http://alpha.example/\r\n");
        writeFile(m_favorites + QStringLiteral("/News/Beta.url"),
                  "[InternetShortcut]\r\nURL=http://beta.example/\r\n");
        ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("home"))));
        ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("runtime"))));
        QFile::setPermissions(path(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    static void writeFile(const QString &file, const QByteArray &bytes)
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }

    void writeSettings(const QByteArray &extraLines = {})
    {
        writeSettingsFor(m_favorites, extraLines);
    }
    void writeSettingsFor(const QString &source, const QByteArray &extraLines = {})
    {
        writeFile(path(QStringLiteral("talvensa.ini")),
                  "[Document]\r\nFavoriteFolder=" + source.toUtf8() + "\r\n" + extraLines);
    }

    // Started offscreen, or with no display and no platform named at all, as cron starts it.
    enum class Display
    {
        Offscreen,
        None,
    };
    void start(const QStringList &arguments, Display display = Display::Offscreen)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(variable));
        if (display == Display::Offscreen)
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("runtime")));
        m_process.setProcessEnvironment(environment);
        m_process.setWorkingDirectory(m_dir.path());
        m_process.start(m_program, arguments);
        ASSERT_TRUE(m_process.waitForStarted(10000));
    }

    QString standardError() { return QString::fromUtf8(m_process.readAllStandardError()); }

    QTemporaryDir m_dir;
    QString m_program;
    QString m_favorites;
    QProcess m_process;
};

TEST_F(BatchRunTest, WritesThePageAfterTheTimerAndExitsWithZero)
{
    writeSettings();
    const QString output = path(QStringLiteral("links.html"));
    const QString ignored = path(QStringLiteral("ignored.html"));
    QElapsedTimer elapsed;
    elapsed.start();
    start({output, ignored, QStringLiteral("--third")});
    ASSERT_TRUE(m_process.waitForFinished(30000));

    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_process.exitCode(), 0);
    // The write waits for the one-second timer.
    EXPECT_GE(elapsed.elapsed(), 900);
    QFile page(output);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray bytes = page.readAll();
    EXPECT_TRUE(bytes.startsWith("<!DOCTYPE HTML"));
    EXPECT_TRUE(bytes.contains("http://alpha.example/"));
    EXPECT_TRUE(bytes.contains("http://beta.example/"));
    EXPECT_TRUE(bytes.endsWith("</html>\r\n"));
    // Only the first argument counts.
    EXPECT_FALSE(QFile::exists(ignored));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("--third"))));
    EXPECT_FALSE(standardError().contains(QStringLiteral("失敗")));
}

TEST_F(BatchRunTest, UnwritablePathReportsTheFailureAndStillExitsWithZero)
{
    writeSettings();
    const QString output = path(QStringLiteral("no such folder/links.html"));
    start({output});
    ASSERT_TRUE(m_process.waitForFinished(30000));

    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_process.exitCode(), 0);
    EXPECT_TRUE(standardError().contains(QStringLiteral("書き出しに失敗しました")));
    EXPECT_FALSE(QFile::exists(output));
}

// Settings that cannot be loaded end FormCreate early, so no batch run is armed. Where nobody
// could close the window, the program says so and ends with status 0 instead of waiting for
// ever: a colour that is no colour, a settings file that cannot be read.
TEST_F(BatchRunTest, SettingsThatCannotBeLoadedEndTheBatchRunWithTheReasonAndNoPage)
{
    const QString settings = path(QStringLiteral("talvensa.ini"));
    const QString output = path(QStringLiteral("links.html"));
    const struct
    {
        const char *name;
        std::function<void()> prepare;
        QString reason;
    } cases[] = {
        {"bad colour", [this] { writeSettings("[Link]\r\nLinkColor=#0000FF\r\n"); },
         QStringLiteral("'$#0' is not a valid integer value.")},
        {"unreadable file",
         [&] {
             QFile::remove(settings);
             ASSERT_TRUE(QDir().mkpath(settings));
         },
         settings + QStringLiteral(" を読み込めません.")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        start({output});
        ASSERT_TRUE(m_process.waitForFinished(20000)) << "the batch run waits for ever";
        EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(m_process.exitCode(), 0);
        EXPECT_FALSE(QFile::exists(output));
        const QString error = standardError();
        EXPECT_TRUE(error.contains(c.reason + QStringLiteral("\n書き出しに失敗しました\n")))
            << error.toStdString();
    }
}

// Where no display is named at all (cron, a server), Qt could not start the program. A batch
// run writes its page without one; the main window alone says that it has nothing to show on.
TEST_F(BatchRunTest, WithoutAnyDisplayTheBatchRunStillWritesItsPage)
{
    writeSettings();
    const QString output = path(QStringLiteral("links.html"));
    start({output}, Display::None);
    ASSERT_TRUE(m_process.waitForFinished(30000));
    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_process.exitCode(), 0);
    QFile page(output);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << standardError().toStdString();
    const QByteArray bytes = page.readAll();
    EXPECT_TRUE(bytes.contains("http://beta.example/"));
    EXPECT_TRUE(bytes.endsWith("</html>\r\n"));

    start({}, Display::None);
    ASSERT_TRUE(m_process.waitForFinished(30000));
    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_process.exitCode(), 0);
    EXPECT_TRUE(standardError().contains(QStringLiteral("no display")));
}

TEST_F(BatchRunTest, FavoritesNamingAPlacesDatabaseWritesItsBookmarks)
{
    const QString places = path(QStringLiteral("profile/places.sqlite"));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("profile"))));
    {
        PlacesDatabase db(places);
        db.addRoots();
        db.add(10, PlacesDatabase::Bookmark, 3, 0, "Gamma", "http://gamma.example/");
        db.add(11, PlacesDatabase::Bookmark, 2, 0, "Delta", "http://delta.example/");
    }
    writeSettingsFor(places, "BVKCommentFlag=1\r\n");
    const QString output = path(QStringLiteral("links.html"));
    start({output});
    ASSERT_TRUE(m_process.waitForFinished(30000));

    EXPECT_EQ(m_process.exitCode(), 0);
    QFile page(output);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray bytes = page.readAll();
    EXPECT_TRUE(bytes.contains("<div class=\"FolderName\">\r\n\tBookmarks Menu\r\n</div>\r\n"
                               "<div class=\"FileList\">\r\n\t<a href=\"http://delta.example/\" "
                               "target=\"_blank\">Delta</a><span class=\"BVKComment\"></span>"));
    EXPECT_TRUE(bytes.contains("\tBookmarks Toolbar\r\n"));
    EXPECT_TRUE(bytes.endsWith("</html>\r\n"));
    EXPECT_TRUE(standardError().isEmpty());
    // The settings still name the database.
    QFile settings(path(QStringLiteral("talvensa.ini")));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains(places.toUtf8()));
}

TEST_F(BatchRunTest, FavoritesNamingAnUnreadableFileReportsItAndWritesNoPage)
{
    const QString file = path(QStringLiteral("Bookmarks"));
    writeFile(file, "{\"roots\": ");
    writeSettingsFor(file);
    const QString output = path(QStringLiteral("links.html"));
    start({output});
    ASSERT_TRUE(m_process.waitForFinished(30000));

    EXPECT_EQ(m_process.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(output));
    const QString error = standardError();
    EXPECT_TRUE(
        error.contains(file + QStringLiteral(" はブックマークファイルとして読み込めません.")))
        << error.toStdString();
    EXPECT_FALSE(error.contains(QStringLiteral("書き出しに失敗しました")));
}

// Hangs: an output FIFO that nothing reads is a failed write, reported as any other, and the
// batch run ends, where it would wait for a reader for ever.
TEST_F(BatchRunTest, OutputFifoThatNothingReadsIsAFailedWriteAndTheRunEnds)
{
    writeSettings();
    const QString output = path(QStringLiteral("links.fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(output).constData(), 0644), 0);
    start({output});
    ASSERT_TRUE(m_process.waitForFinished(30000));

    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_process.exitCode(), 0);
    EXPECT_TRUE(standardError().contains(QStringLiteral("書き出しに失敗しました")));
}

TEST_F(BatchRunTest, VersionAloneIsPrintedWithoutAWindowOrAPage)
{
    // No display and the xcb platform: a program that went on to open its window could not
    // even start.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
    m_process.setProcessEnvironment(environment);
    m_process.setWorkingDirectory(m_dir.path());
    m_process.start(m_program, {QStringLiteral("--version")});
    ASSERT_TRUE(m_process.waitForFinished(30000));

    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_process.exitCode(), 0);
    EXPECT_EQ(m_process.readAllStandardOutput().toStdString(),
              "talvensa 5.0.0\n"
              "Copyright (C) 2026 the Talvensa developers\n"
              "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
              "This is free software: you are free to change and redistribute it.\n"
              "There is NO WARRANTY, to the extent permitted by law.\n");
    EXPECT_TRUE(standardError().isEmpty());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("--version"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("talvensa.ini"))));
}

TEST_F(BatchRunTest, VersionWithAnotherArgumentIsTheBatchRunsPath)
{
    writeSettings();
    start({QStringLiteral("--version"), QStringLiteral("ignored.html")});
    ASSERT_TRUE(m_process.waitForFinished(30000));

    EXPECT_EQ(m_process.exitCode(), 0);
    EXPECT_TRUE(m_process.readAllStandardOutput().isEmpty());
    QFile page(path(QStringLiteral("--version")));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("http://alpha.example/"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("ignored.html"))));
}

} // namespace
