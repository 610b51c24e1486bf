// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// talvensa-cli --watch run as a child process over a temporary tree: the files are changed
// under it, and the page it keeps is read as a browser would.

#include "CliSupport.h"
#include "support/PlacesTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include <sys/stat.h>

namespace {

using namespace std::chrono_literals;

// Polls condition until it holds or timeout passes; whether it held. The timeouts are generous:
// the machine may be busy, and only a page that never comes fails.
bool waitFor(const std::function<bool()> &condition, std::chrono::milliseconds timeout = 30s)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// A talvensa-cli --watch running in the background, its standard error kept in a file.
class WatchProcess
{
public:
    WatchProcess(const QStringList &arguments, const QString &scratch)
        : WatchProcess(QStringLiteral(TALVENSA_CLI),
                       QStringList{QStringLiteral("--watch")} + arguments, scratch)
    {}
    // Any program, with variables added to the environment ("NAME=value").
    WatchProcess(const QString &program, const QStringList &arguments, const QString &scratch,
                 const QStringList &environment = {})
    {
        QDir().mkpath(scratch);
        m_errPath = scratch + QStringLiteral("/stderr");
        const QByteArray errPath = QFile::encodeName(m_errPath);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.constData(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<QByteArray> args{QFile::encodeName(program)};
        for (const QString &argument : arguments)
            args.push_back(QFile::encodeName(argument));
        std::vector<char *> argv;
        for (QByteArray &argument : args)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        std::vector<QByteArray> env{"LC_ALL=C.UTF-8"};
        for (const QString &entry : environment)
            env.push_back(entry.toUtf8());
        for (char **e = environ; *e; ++e) {
            if (!QByteArrayView(*e).startsWith("LC_ALL="))
                env.emplace_back(*e);
        }
        std::vector<char *> envp;
        for (QByteArray &entry : env)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~WatchProcess()
    {
        if (m_pid > 0 && !m_exited) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    bool started() const { return m_pid > 0; }
    // Whether it has taken SIGTERM over (as its status in /proc shows): a signal sent before
    // that would end it as the system's default does.
    bool catchesStopSignals() const
    {
        const QByteArray status = readBytes(QStringLiteral("/proc/%1/status").arg(m_pid));
        const qsizetype at = status.indexOf("\nSigCgt:");
        if (at < 0)
            return false;
        bool ok = false;
        const quint64 mask = status.mid(at + 9, status.indexOf('\n', at + 1) - at - 9)
                                 .trimmed()
                                 .toULongLong(&ok, 16);
        return ok && (mask & (1ull << (SIGTERM - 1))) && (mask & (1ull << (SIGINT - 1)));
    }
    QByteArray err() const { return readBytes(m_errPath); }
    // Summary lines written so far: one for each page written.
    int pagesWritten() const { return int(err().count(" bytes written to ")); }

    // Sends signal and waits for the end; the exit status, -1 for none within timeout.
    int stop(int signal, std::chrono::milliseconds timeout = 30s)
    {
        ::kill(m_pid, signal);
        int status = 0;
        const bool ended =
            waitFor([&] { return ::waitpid(m_pid, &status, WNOHANG) == m_pid; }, timeout);
        m_exited = ended;
        return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Whether it has ended by itself, and its status.
    bool exited(int &code)
    {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) != m_pid)
            return false;
        m_exited = true;
        code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return true;
    }

private:
    pid_t m_pid = -1;
    bool m_exited = false;
    QString m_errPath;
};

QByteArray shortcut(const QByteArray &url)
{
    return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

class WatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        writeBytes(fav(QStringLiteral("News.url")), shortcut("http://news.example/"));
        writeBytes(fav(QStringLiteral("Tools/Editor.url")), shortcut("http://tools.example/"));
        writeBytes(fav(QStringLiteral("Tools/Deep/Far.url")), shortcut("http://far.example/"));
        writeBytes(settings(), "[Document]\r\nBVKCommentFlag=1\r\n");
        QDir().mkpath(path(QStringLiteral("out")));
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString favorites() const { return path(QStringLiteral("Fav")); }
    QString fav(const QString &relative) const { return favorites() + QLatin1Char('/') + relative; }
    QString settings() const { return path(QStringLiteral("settings.ini")); }
    QString output() const { return path(QStringLiteral("out/page.html")); }
    void writeSettings(const QByteArray &bytes) const { writeBytes(settings(), bytes); }
    QByteArray page() const { return readBytes(output()); }

    QStringList arguments(const QStringList &sources) const
    {
        QStringList out{QStringLiteral("--settings"), settings()};
        for (const QString &source : sources)
            out << QStringLiteral("--folder") << source;
        return out << output();
    }

    // The page a run without --watch writes of the tree as it is now.
    QByteArray freshPage(const QStringList &sources) const
    {
        const QString fresh = path(QStringLiteral("fresh.html"));
        QStringList args{QStringLiteral("--settings"), settings(), QStringLiteral("--quiet")};
        for (const QString &source : sources)
            args << QStringLiteral("--folder") << source;
        const CliRun run = runCli(args << fresh, path(QStringLiteral("fresh-run")));
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        return readBytes(fresh);
    }

    // Waits until the watched page is the page a fresh run gives.
    ::testing::AssertionResult catchesUp(const QStringList &sources) const
    {
        QByteArray expected;
        // A fresh run takes a moment; the watch may still be at work on a change.
        const bool same = waitFor([&] {
            expected = freshPage(sources);
            return page() == expected;
        });
        if (same)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the watched page is not the fresh page:\n"
                                             << page().constData() << "\n--- fresh:\n"
                                             << expected.constData();
    }

    QStringList outputFolder() const
    {
        return QDir(path(QStringLiteral("out")))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(WatchTest, StandardOutputIsAUsageError)
{
    const CliRun run = runCli({QStringLiteral("--watch"), QStringLiteral("--settings"), settings(),
                               QStringLiteral("--folder"), favorites(), QStringLiteral("-")},
                              path(QStringLiteral("run")));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("--watch needs an OUTPUT file")) << run.err.constData();
    EXPECT_TRUE(run.out.isEmpty());
}

// Additions, changes, removals and renames at any depth, folders moved in and out: after each
// the page is the one a run without --watch writes, and the old page's permission bits stay.
TEST_F(WatchTest, FolderTreeChangesAtAnyDepthReachThePage)
{
    const QStringList sources{favorites()};
    WatchProcess watch(arguments(sources), path(QStringLiteral("run")));
    ASSERT_TRUE(watch.started());
    ASSERT_TRUE(waitFor([&] { return watch.pagesWritten() == 1; })) << watch.err().constData();
    EXPECT_TRUE(page().contains("http://far.example/"));
    ASSERT_EQ(::chmod(QFile::encodeName(output()).constData(), 0640), 0);

    // A new shortcut deep down.
    writeBytes(fav(QStringLiteral("Tools/Deep/Near.url")), shortcut("http://near.example/"));
    EXPECT_TRUE(catchesUp(sources));
    // One changed in place, one removed.
    writeBytes(fav(QStringLiteral("News.url")), shortcut("http://news.example/today"));
    ASSERT_TRUE(QFile::remove(fav(QStringLiteral("Tools/Editor.url"))));
    EXPECT_TRUE(catchesUp(sources));
    EXPECT_FALSE(page().contains("http://tools.example/"));
    // A folder made elsewhere and moved in, with a folder of its own.
    writeBytes(path(QStringLiteral("staging/Moved/Inner/In.url")), shortcut("http://in.example/"));
    writeBytes(path(QStringLiteral("staging/Moved/Top.url")), shortcut("http://top.example/"));
    ASSERT_TRUE(QDir().rename(path(QStringLiteral("staging/Moved")), fav(QStringLiteral("Moved"))));
    EXPECT_TRUE(catchesUp(sources));
    EXPECT_TRUE(page().contains("http://in.example/"));
    // Renamed within the tree, then a change inside it at its new place.
    ASSERT_TRUE(QDir().rename(fav(QStringLiteral("Moved")), fav(QStringLiteral("Tools/Renamed"))));
    EXPECT_TRUE(catchesUp(sources));
    writeBytes(fav(QStringLiteral("Tools/Renamed/Inner/In.url")), shortcut("http://in.example/2"));
    EXPECT_TRUE(catchesUp(sources));
    EXPECT_TRUE(page().contains("http://in.example/2"));
    // A shortcut renamed, and a folder moved out of the tree.
    ASSERT_TRUE(QFile::rename(fav(QStringLiteral("News.url")), fav(QStringLiteral("Zeitung.url"))));
    ASSERT_TRUE(QDir().rename(fav(QStringLiteral("Tools/Deep")), path(QStringLiteral("Deep"))));
    EXPECT_TRUE(catchesUp(sources));
    EXPECT_FALSE(page().contains("http://far.example/"));
    // Files that are no shortcuts do not count; the output's own temporary files neither, so
    // the page is not written again and again.
    const int pages = watch.pagesWritten();
    writeBytes(fav(QStringLiteral("notes.txt")), "not a shortcut");
    std::this_thread::sleep_for(1s); // nothing to wait for: nothing is to come
    EXPECT_EQ(watch.pagesWritten(), pages) << watch.err().constData();

    struct stat status;
    ASSERT_EQ(::stat(QFile::encodeName(output()).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(outputFolder(), QStringList{QStringLiteral("page.html")});
    EXPECT_EQ(watch.stop(SIGTERM), 0);
}

// A burst of changes gives one page, and a reader never finds a page missing or cut short.
TEST_F(WatchTest, ABurstGivesOnePageAndReadersAlwaysFindAWholeOne)
{
    for (int i = 0; i < 400; ++i)
        writeBytes(fav(QStringLiteral("Many/%1.url").arg(i)),
                   shortcut("http://many.example/" + QByteArray::number(i)));
    const QStringList sources{favorites()};
    WatchProcess watch(arguments(sources), path(QStringLiteral("run")));
    ASSERT_TRUE(watch.started());
    ASSERT_TRUE(waitFor([&] { return watch.pagesWritten() == 1; })) << watch.err().constData();

    std::atomic<bool> reading{true};
    std::atomic<int> reads{0};
    std::atomic<int> broken{0};
    std::thread reader([&] {
        while (reading) {
            const int fd = ::open(QFile::encodeName(output()).constData(), O_RDONLY);
            QByteArray bytes;
            if (fd >= 0) {
                char buffer[65536];
                for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
                    bytes.append(buffer, n);
                ::close(fd);
            }
            if (fd < 0 || !bytes.startsWith("<!DOCTYPE") || !bytes.endsWith("</html>\r\n"))
                ++broken;
            ++reads;
        }
    });

    // 60 changes, made elsewhere and renamed in one after the other.
    for (int i = 0; i < 60; ++i)
        writeBytes(path(QStringLiteral("staging/%1.url").arg(i)),
                   shortcut("http://burst.example/" + QByteArray::number(i)));
    const auto burstStart = std::chrono::steady_clock::now();
    for (int i = 0; i < 60; ++i)
        ASSERT_TRUE(QFile::rename(path(QStringLiteral("staging/%1.url").arg(i)),
                                  fav(QStringLiteral("Many/burst %1.url").arg(i))));
    const auto burstTime = std::chrono::steady_clock::now() - burstStart;
    EXPECT_TRUE(waitFor([&] { return page().contains("http://burst.example/59\""); }));
    EXPECT_TRUE(catchesUp(sources));
    reading = false;
    reader.join();
    EXPECT_GT(reads.load(), 0);
    EXPECT_EQ(broken.load(), 0);
    // One page for the burst. Only a burst that itself took longer than the quiet period (a
    // machine very busy) may give a second.
    if (burstTime < 100ms)
        EXPECT_EQ(watch.pagesWritten(), 2) << watch.err().constData();
    else
        EXPECT_LE(watch.pagesWritten(), 3) << watch.err().constData();

    EXPECT_EQ(watch.stop(SIGINT), 0);
    EXPECT_EQ(outputFolder(), QStringList{QStringLiteral("page.html")});
    EXPECT_TRUE(page().endsWith("</html>\r\n"));
}

// A source that goes away leaves the last page, says so once, and the page catches up when it
// is back; a change of the settings file writes the page in the new design.
TEST_F(WatchTest, ASourceThatGoesAwayKeepsTheLastPageAndSettingsChangesCount)
{
    const QStringList sources{favorites()};
    WatchProcess watch(arguments(sources), path(QStringLiteral("run")));
    ASSERT_TRUE(watch.started());
    ASSERT_TRUE(waitFor([&] { return watch.pagesWritten() == 1; })) << watch.err().constData();
    const QByteArray before = page();

    ASSERT_TRUE(QDir().rename(favorites(), path(QStringLiteral("Away"))));
    EXPECT_TRUE(waitFor([&] { return watch.err().contains("no longer there"); }))
        << watch.err().constData();
    EXPECT_EQ(page(), before);
    EXPECT_EQ(watch.pagesWritten(), 1);
    writeBytes(path(QStringLiteral("Away/Extra.url")), shortcut("http://extra.example/"));
    ASSERT_TRUE(QDir().rename(path(QStringLiteral("Away")), favorites()));
    EXPECT_TRUE(catchesUp(sources));
    EXPECT_TRUE(page().contains("http://extra.example/"));
    EXPECT_EQ(watch.err().count("no longer there"), 1);

    // The settings saved anew, as a program saves a file: a new one renamed over it.
    writeBytes(path(QStringLiteral("settings.new")),
               "[Document]\r\nBVKCommentFlag=1\r\nTitle=Watched design\r\n");
    ASSERT_EQ(::rename(QFile::encodeName(path(QStringLiteral("settings.new"))).constData(),
                       QFile::encodeName(settings()).constData()),
              0);
    EXPECT_TRUE(waitFor([&] { return page().contains("<title>Watched design</title>"); }))
        << page().constData();
    EXPECT_TRUE(catchesUp(sources));
    EXPECT_EQ(watch.stop(SIGTERM), 0);
}

// A running Firefox writes only the database's log (-wal) for hours: a bookmark added there
// reaches the page, with the database file itself untouched. Several sources together.
TEST_F(WatchTest, PlacesWrittenOnlyToItsLogReachThePage)
{
    const QString places = path(QStringLiteral("profile/places.sqlite"));
    QDir().mkpath(path(QStringLiteral("profile")));
    PlacesDatabase firefox(places);
    firefox.exec(QStringLiteral("PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"));
    firefox.addRoots();
    firefox.add(10, PlacesDatabase::Bookmark, 3, 0, QStringLiteral("First"),
                QStringLiteral("http://first.example/"));
    ASSERT_TRUE(QFileInfo::exists(places + QStringLiteral("-wal")));

    const QStringList sources{favorites(), places};
    WatchProcess watch(arguments(sources), path(QStringLiteral("run")));
    ASSERT_TRUE(watch.started());
    ASSERT_TRUE(waitFor([&] { return watch.pagesWritten() == 1; })) << watch.err().constData();
    EXPECT_TRUE(page().contains("http://first.example/"));
    EXPECT_TRUE(page().contains("http://news.example/"));

    struct stat database;
    ASSERT_EQ(::stat(QFile::encodeName(places).constData(), &database), 0);
    firefox.add(11, PlacesDatabase::Bookmark, 3, 1, QStringLiteral("Second"),
                QStringLiteral("http://second.example/"));
    EXPECT_TRUE(waitFor([&] { return page().contains("http://second.example/"); }))
        << watch.err().constData();
    struct stat after;
    ASSERT_EQ(::stat(QFile::encodeName(places).constData(), &after), 0);
    EXPECT_EQ(after.st_size, database.st_size);
    EXPECT_EQ(after.st_mtim.tv_nsec, database.st_mtim.tv_nsec);
    EXPECT_TRUE(catchesUp(sources));

    EXPECT_EQ(watch.stop(SIGINT), 0);
    EXPECT_EQ(outputFolder(), QStringList{QStringLiteral("page.html")});
}

// A stop while the first reading is under way ends the run at once, with status 0 and the
// old page as it was.
TEST_F(WatchTest, ASignalDuringTheFirstReadEndsTheRunAndLeavesTheOldPage)
{
    for (int i = 0; i < 3000; ++i)
        writeBytes(fav(QStringLiteral("Many %1/%2.url").arg(i % 30).arg(i)),
                   shortcut("http://many.example/" + QByteArray::number(i)));
    writeBytes(output(), "old page");
    WatchProcess watch(arguments({favorites()}), path(QStringLiteral("run")));
    ASSERT_TRUE(watch.started());
    ASSERT_TRUE(waitFor([&] { return watch.catchesStopSignals(); }));
    // Whenever the signal comes, before or after the first page: status 0, a whole page.
    EXPECT_EQ(watch.stop(SIGTERM), 0);
    const QByteArray bytes = page();
    EXPECT_TRUE(bytes == "old page" || bytes.endsWith("</html>\r\n")) << bytes.constData();
    EXPECT_EQ(outputFolder(), QStringList{QStringLiteral("page.html")});
}

// The user service's command, run as systemd runs it with watch.conf's variables: the options
// read as the shell reads words (a quoted path with blanks), the output's folder made.
TEST_F(WatchTest, TheUserServiceRunsTheWatchWithTheOptionsOfItsFile)
{
    const QByteArray unit = readBytes(QStringLiteral(TALVENSA_WATCH_UNIT));
    const qsizetype at = unit.indexOf("\nExecStart=/bin/sh -c '");
    ASSERT_GE(at, 0) << unit.constData();
    const qsizetype start = unit.indexOf('\'', at) + 1;
    QByteArray command = unit.mid(start, unit.indexOf('\n', start) - start);
    ASSERT_TRUE(command.endsWith('\''));
    command.chop(1);
    // systemd's "$$" is the shell's "$"; the program is the one built here.
    command.replace("$$", "$");
    const qsizetype program = command.indexOf("exec ") + 5;
    command.replace(program, command.indexOf(" --watch") - program, TALVENSA_CLI);

    ASSERT_TRUE(QDir().rename(favorites(), path(QStringLiteral("My Favorites"))));
    const QString output = path(QStringLiteral("share/talvensa/favorites.html"));
    WatchProcess service(
        QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QString::fromUtf8(command)},
        path(QStringLiteral("run")),
        {QStringLiteral("TALVENSA_WATCH_OPTIONS=--settings '%1' --folder '%2' --dedup")
             .arg(settings(), path(QStringLiteral("My Favorites"))),
         QStringLiteral("TALVENSA_WATCH_OUTPUT=") + output});
    ASSERT_TRUE(service.started());
    ASSERT_TRUE(waitFor([&] { return service.pagesWritten() == 1; })) << service.err().constData();
    EXPECT_TRUE(service.err().contains(", 0 duplicates dropped")) << service.err().constData();
    EXPECT_TRUE(readBytes(output).contains("http://far.example/"));
    writeBytes(path(QStringLiteral("My Favorites/Later.url")), shortcut("http://later.example/"));
    EXPECT_TRUE(waitFor([&] { return readBytes(output).contains("http://later.example/"); }));
    // The shell has handed over to the program, so the service's stop reaches it.
    ASSERT_TRUE(waitFor([&] { return service.catchesStopSignals(); }));
    EXPECT_EQ(service.stop(SIGTERM), 0);
}

// Without --folder the source is the settings' Favourites folder: settings that name another
// folder have that one read and watched from then on.
TEST_F(WatchTest, AnotherFavouritesFolderInTheSettingsIsReadAndWatched)
{
    writeSettings("[Document]\r\nFavoriteFolder=" + QFile::encodeName(favorites()) + "\r\n");
    writeBytes(path(QStringLiteral("Other/Elsewhere.url")), shortcut("http://elsewhere.example/"));
    WatchProcess watch({QStringLiteral("--settings"), settings(), output()},
                       path(QStringLiteral("run")));
    ASSERT_TRUE(watch.started());
    ASSERT_TRUE(waitFor([&] { return watch.pagesWritten() == 1; })) << watch.err().constData();
    EXPECT_TRUE(page().contains("http://news.example/"));

    writeSettings("[Document]\r\nFavoriteFolder=" +
                  QFile::encodeName(path(QStringLiteral("Other"))) + "\r\n");
    EXPECT_TRUE(waitFor([&] { return page().contains("http://elsewhere.example/"); }))
        << watch.err().constData();
    EXPECT_FALSE(page().contains("http://news.example/"));
    // The old folder no longer counts; the new one does.
    writeBytes(path(QStringLiteral("Other/Later.url")), shortcut("http://later.example/"));
    EXPECT_TRUE(waitFor([&] { return page().contains("http://later.example/"); }));
    EXPECT_TRUE(catchesUp({path(QStringLiteral("Other"))}));
    EXPECT_EQ(watch.stop(SIGTERM), 0);
}

// The system's limit on watches reached: a clear line, then the tree is looked at from time to
// time, so a change still reaches the page. The limit is set low inside a user namespace of the
// test's own, where it is the namespace's alone.
TEST_F(WatchTest, TheLimitOnWatchesGivesALineAndALookFromTimeToTime)
{
    const QString unshare = QStringLiteral("/usr/bin/unshare");
    if (!QFileInfo::exists(unshare) ||
        runProgram(unshare,
                   {QStringLiteral("--user"), QStringLiteral("--map-root-user"),
                    QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                    QStringLiteral("echo 3 > /proc/sys/user/max_inotify_watches")},
                   path(QStringLiteral("probe")))
                .exitCode != 0)
        GTEST_SKIP() << "no user namespace with a limit of its own here";
    for (int i = 0; i < 8; ++i)
        writeBytes(fav(QStringLiteral("Folder %1/a.url").arg(i)),
                   shortcut("http://folder.example/" + QByteArray::number(i)));
    QStringList command{QStringLiteral("--user"),
                        QStringLiteral("--map-root-user"),
                        QStringLiteral("/bin/sh"),
                        QStringLiteral("-c"),
                        QStringLiteral("echo 3 > /proc/sys/user/max_inotify_watches && exec \"$0\" "
                                       "\"$@\""),
                        QStringLiteral(TALVENSA_CLI),
                        QStringLiteral("--watch")};
    WatchProcess watch(unshare, command + arguments({favorites()}), path(QStringLiteral("run")));
    ASSERT_TRUE(watch.started());
    ASSERT_TRUE(waitFor([&] { return watch.pagesWritten() == 1; })) << watch.err().constData();
    EXPECT_TRUE(watch.err().contains("the system's limit on file watches is reached"))
        << watch.err().constData();
    writeBytes(fav(QStringLiteral("Folder 7/a.url")), shortcut("http://changed.example/"));
    EXPECT_TRUE(catchesUp({favorites()}));
    EXPECT_TRUE(page().contains("http://changed.example/"));
    EXPECT_EQ(watch.stop(SIGTERM), 0);
}

// A browser replaces its Bookmarks file by renaming a new one over it; a file that goes away
// leaves the last page until it is back.
TEST_F(WatchTest, ABookmarkFileRenamedOverTheOldOneReachesThePage)
{
    const QString bookmarks = path(QStringLiteral("chromium/Default/Bookmarks"));
    auto save = [&](const QByteArray &url) {
        const QString next = bookmarks + QStringLiteral(".tmp");
        writeBytes(next, R"({"roots": {"bookmark_bar": {"name": "Bar", "children": [
            {"type": "url", "name": "One", "url": ")" +
                             url + R"("}]}}})");
        ASSERT_EQ(
            ::rename(QFile::encodeName(next).constData(), QFile::encodeName(bookmarks).constData()),
            0);
    };
    save("http://one.example/");
    WatchProcess watch(arguments({bookmarks}), path(QStringLiteral("run")));
    ASSERT_TRUE(watch.started());
    ASSERT_TRUE(waitFor([&] { return watch.pagesWritten() == 1; })) << watch.err().constData();
    EXPECT_TRUE(page().contains("http://one.example/"));
    save("http://two.example/");
    EXPECT_TRUE(waitFor([&] { return page().contains("http://two.example/"); }));

    const QByteArray before = page();
    ASSERT_TRUE(QFile::remove(bookmarks));
    EXPECT_TRUE(waitFor([&] { return watch.err().contains("until it can be read again"); }))
        << watch.err().constData();
    EXPECT_EQ(page(), before);
    save("http://three.example/");
    EXPECT_TRUE(waitFor([&] { return page().contains("http://three.example/"); }));
    EXPECT_TRUE(catchesUp({bookmarks}));
    EXPECT_EQ(watch.stop(SIGTERM), 0);
}
