// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// Runs the built talvensa-cli as a separate process and checks its exit status, messages and
// page.

#include "CliSupport.h"
#include "platform/ShiftJis.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

#include <sys/stat.h>

namespace {

class CliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // The example tree of the page: News.url in the root, Tools/Editor.url with a comment.
        writeBytes(fav(QStringLiteral("News.url")),
                   "[InternetShortcut]\r\nURL=file:///C:/memo/news.html\r\n");
        writeBytes(fav(QStringLiteral("Tools/Editor.url")),
                   "[InternetShortcut]\r\nURL=file:///C:/tools/editor.html\r\n"
                   "[Comment]\r\nComment=daily use\r\n");
        writeSettings("[Document]\r\nBVKCommentFlag=1\r\n");
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString favorites() const { return path(QStringLiteral("Fav")); }
    QString fav(const QString &relative) const { return favorites() + QLatin1Char('/') + relative; }
    QString settings() const { return path(QStringLiteral("settings.ini")); }
    QString output() const { return path(QStringLiteral("page.html")); }
    void writeSettings(const QByteArray &bytes) const { writeBytes(settings(), bytes); }

    CliRun cli(const QStringList &arguments) const
    {
        return runCli(arguments, path(QStringLiteral("run")));
    }

    // Settings and folder given, the rest from the test.
    CliRun write(QStringList more) const
    {
        return cli(QStringList{QStringLiteral("--settings"), settings(), QStringLiteral("--folder"),
                               favorites()} +
                   more);
    }

    static QByteArray golden(const char *name)
    {
        return readBytes(QStringLiteral(TALVENSA_TEST_DATA "/page/") + QLatin1String(name));
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(CliTest, HelpAndVersion)
{
    const CliRun help = cli({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(
        "Usage: talvensa-cli [--settings FILE] [--folder PATH]... [--format FORMAT] [--favicons]\n"
        "                    [--dedup] [--watch] [--quiet] OUTPUT\n"));
    EXPECT_TRUE(help.out.contains("Exit status"));
    EXPECT_TRUE(help.out.contains("\n       talvensa-cli --find-bookmarks\n"));
    EXPECT_TRUE(help.out.contains("\n  --find-bookmarks "));
    EXPECT_TRUE(help.err.isEmpty());

    const CliRun version = cli({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.toStdString(),
              "talvensa-cli 5.0.0\n"
              "Copyright (C) 2026 the Talvensa developers\n"
              "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
              "This is free software: you are free to change and redistribute it.\n"
              "There is NO WARRANTY, to the extent permitted by law.\n");
    EXPECT_TRUE(version.err.isEmpty());
}

TEST_F(CliTest, WritesThePageAndOneSummaryLine)
{
    const CliRun run = write({output()});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    const QByteArray page = readBytes(output());
    EXPECT_EQ(page, golden("example-comments.html"));
    EXPECT_EQ(run.out, QStringLiteral("2 folders, 2 links, %1 bytes written to %2\n")
                           .arg(page.size())
                           .arg(output())
                           .toUtf8());
    EXPECT_TRUE(run.err.isEmpty()) << run.err.constData(); // not a terminal: no progress

    // --folder is for this run only: the settings file is not touched.
    EXPECT_EQ(readBytes(settings()), QByteArray("[Document]\r\nBVKCommentFlag=1\r\n"));

    const CliRun quiet = write({QStringLiteral("--quiet"), output()});
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_TRUE(quiet.out.isEmpty());
    EXPECT_TRUE(quiet.err.isEmpty());
}

TEST_F(CliTest, DashWritesToStandardOutput)
{
    const CliRun run = write({QStringLiteral("-")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, golden("example-comments.html"));
    // The summary goes to standard error so the page stays clean.
    EXPECT_TRUE(run.err.endsWith(" bytes written to standard output\n")) << run.err.constData();
    const CliRun quiet = write({QStringLiteral("--quiet"), QStringLiteral("-")});
    EXPECT_EQ(quiet.out, golden("example-comments.html"));
    EXPECT_TRUE(quiet.err.isEmpty());
}

// --format netscape writes the example tree as a bookmark file; the help describes it.
TEST_F(CliTest, FormatNetscapeWritesABookmarkFile)
{
    const CliRun run = write({QStringLiteral("--format"), QStringLiteral("netscape"),
                              QStringLiteral("--quiet"), QStringLiteral("-")});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.out.startsWith("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n")) << run.out.constData();
    EXPECT_TRUE(run.out.contains(
        "\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"));
    EXPECT_TRUE(run.out.endsWith("</DL><p>\n</DL><p>\n")) << run.out.constData();
    EXPECT_FALSE(run.out.contains("BVKComment"));

    const CliRun help = cli({QStringLiteral("--help")});
    EXPECT_TRUE(help.out.contains("netscape: a Netscape bookmark file"));
    EXPECT_TRUE(help.out.contains("toolbar folder marked"));
}

TEST_F(CliTest, SettingsFileRulesAndFallbacks)
{
    // The folder comes from the settings file when --folder is not given.
    writeSettings("[Document]\r\nFavoriteFolder=" + QFile::encodeName(favorites()) +
                  "\r\nBVKCommentFlag=0\r\n");
    CliRun run = cli({QStringLiteral("--settings"), settings(), output()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(readBytes(output()), golden("example-plain.html"));

    // A settings file in UTF-8 with its mark: a title that Shift-JIS cannot hold fully.
    writeSettings("\xEF\xBB\xBF[Title]\r\nTitle=" + QStringLiteral("Jürgen の一覧").toUtf8() +
                  "\r\n");
    run = write({output()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(readBytes(output()).contains("\r\n\tJ&#252;rgen " +
                                             toShiftJis(QStringLiteral("の一覧")) + "\r\n"));

    // A missing settings file gives the defaults, as it does for the program.
    run = cli({QStringLiteral("--settings"), path(QStringLiteral("none.ini")),
               QStringLiteral("--folder"), favorites(), output()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(readBytes(output()), golden("example-plain.html"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("none.ini"))));
}

TEST_F(CliTest, DefaultSettingsLieBesideTheProgram)
{
    const QString copy = path(QStringLiteral("bin/talvensa-cli"));
    QDir().mkpath(path(QStringLiteral("bin")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TALVENSA_CLI), copy));
    writeBytes(path(QStringLiteral("bin/talvensa.ini")), "[Title]\r\nTitle=Beside\r\n");
    const CliRun run = runProgram(copy, {QStringLiteral("--folder"), favorites(), output()},
                                  path(QStringLiteral("run")));
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(readBytes(output()).contains("\r\n\tBeside\r\n"));
}

TEST_F(CliTest, BadSettingsExitWithTwoAndTheErrorText)
{
    writeSettings("[Document]\r\nBackColor=#FFFFF\r\n");
    CliRun run = write({output()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("'$#F' is not a valid integer value")) << run.err.constData();
    EXPECT_FALSE(QFile::exists(output()));

    writeSettings("[Link]\r\nHoverColor=12345\r\n");
    run = write({output()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("桁数が2桁か4桁ではありません。").toUtf8()))
        << run.err.constData();

    // Edge values that do convert: lower case, and an empty value (white).
    writeSettings("[Document]\r\nBackColor=\r\n[Link]\r\nLinkColor=ff00aa\r\n");
    run = write({output()});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    const QByteArray page = readBytes(output());
    EXPECT_TRUE(page.contains("body {\r\n\tbackground-color: #FFFFFF;"));
    EXPECT_TRUE(page.contains("A:link {\r\n\tcolor: #FF00AA;"));
}

TEST_F(CliTest, UsageErrorsExitWithTwo)
{
    const QList<QStringList> bad = {
        {},
        {QStringLiteral("a.html"), QStringLiteral("b.html")},
        {QStringLiteral("--bogus"), QStringLiteral("a.html")},
        {QStringLiteral("--settings")},
        {QStringLiteral("--folder"), QStringLiteral("/no/such/folder"), QStringLiteral("a.html")},
        {QStringLiteral("--folder"), QString(), QStringLiteral("a.html")},
        {QString()},
        {QStringLiteral("--format"), QStringLiteral("rtf"), QStringLiteral("a.html")},
        {QStringLiteral("--format"), QStringLiteral("PAGE"), QStringLiteral("a.html")},
        {QStringLiteral("--format"), QStringLiteral("page"), QStringLiteral("--format"),
         QStringLiteral("html"), QStringLiteral("a.html")},
        // The classic page has no place for icons, whether its format is named or not.
        {QStringLiteral("--format"), QStringLiteral("page"), QStringLiteral("--favicons"),
         QStringLiteral("a.html")},
        {QStringLiteral("--favicons"), QStringLiteral("a.html")},
    };
    for (const QStringList &arguments : bad) {
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.startsWith("talvensa-cli: ")) << run.err.constData();
        EXPECT_TRUE(run.err.contains("\nUsage: talvensa-cli")) << run.err.constData();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("run/a.html"))));
    }
    EXPECT_TRUE(cli({QStringLiteral("--folder"), QStringLiteral("/no/such/folder"),
                     QStringLiteral("a.html")})
                    .err.contains("/no/such/folder"));
}

TEST_F(CliTest, ShowsProgressOnATerminal)
{
    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (script.isEmpty())
        GTEST_SKIP() << "no script(1) to give the program a terminal";
    // script(1) runs the program on a pseudo-terminal and copies what it shows.
    const QString command =
        QStringLiteral("'%1' --settings '%2' --folder '%3' '%4'")
            .arg(QStringLiteral(TALVENSA_CLI), settings(), favorites(), output());
    const CliRun run =
        runProgram(script, {QStringLiteral("-qec"), command, QStringLiteral("/dev/null")},
                   path(QStringLiteral("run")));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("folders 2/2")) << run.out.constData();
    EXPECT_TRUE(run.out.contains("2 folders, 2 links, ")) << run.out.constData();
}

TEST_F(CliTest, FindBookmarksListsEveryBrowserProfilesFile)
{
    // A home folder laid out as browsers leave it.
    const QString home = path(QStringLiteral("home"));
    auto file = [&](const QString &relative) { writeBytes(home + u'/' + relative, "x"); };
    writeBytes(home + QStringLiteral("/.mozilla/firefox/profiles.ini"),
               "[Install4F96D1932A9F858E]\nDefault=ab12.default-release\nLocked=1\n\n"
               "[Profile1]\nName=default\nIsRelative=1\nPath=cd34.default\nDefault=1\n\n"
               "[Profile0]\nName=default-release\nIsRelative=1\nPath=ab12.default-release\n\n"
               "[Profile2]\nName=elsewhere\nIsRelative=0\nPath=" +
                   path(QStringLiteral("elsewhere")).toUtf8() +
                   "\n\n[Profile3]\nName=never used\nIsRelative=1\nPath=ef56.unused\n\n"
                   "[General]\nStartWithLastProfile=1\nVersion=2\n");
    file(QStringLiteral(".mozilla/firefox/ab12.default-release/places.sqlite"));
    file(QStringLiteral(".mozilla/firefox/cd34.default/places.sqlite"));
    writeBytes(path(QStringLiteral("elsewhere/places.sqlite")), "x");
    QDir().mkpath(home + QStringLiteral("/.mozilla/firefox/ef56.unused"));
    writeBytes(home + QStringLiteral("/snap/firefox/common/.mozilla/firefox/profiles.ini"),
               "[Profile0]\r\nIsRelative=1\r\nPath=snap.default\r\n");
    file(QStringLiteral("snap/firefox/common/.mozilla/firefox/snap.default/places.sqlite"));
    writeBytes(home + QStringLiteral("/.var/app/org.mozilla.firefox/.mozilla/firefox/profiles.ini"),
               "[Profile0]\nIsRelative=1\nPath=flat.default\n");
    file(
        QStringLiteral(".var/app/org.mozilla.firefox/.mozilla/firefox/flat.default/places.sqlite"));
    file(QStringLiteral(".config/chromium/Default/Bookmarks"));
    file(QStringLiteral(".config/chromium/Profile 1/Bookmarks"));
    file(QStringLiteral(".config/chromium/Local State"));
    QDir().mkpath(home + QStringLiteral("/.config/chromium/System Profile"));
    file(QStringLiteral(".config/google-chrome/Default/Bookmarks"));
    file(QStringLiteral(".config/BraveSoftware/Brave-Browser/Default/Bookmarks"));
    file(QStringLiteral(".config/vivaldi/Default/Bookmarks"));
    QDir().mkpath(home + QStringLiteral("/.config/microsoft-edge/Default/Bookmarks"));
    file(QStringLiteral(".config/microsoft-edge/Profile 2/Bookmarks"));

    const QString scratch = path(QStringLiteral("run"));
    const CliRun run = runCli({QStringLiteral("--find-bookmarks")}, scratch,
                              {QStringLiteral("HOME=") + home, QStringLiteral("XDG_CONFIG_HOME")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.constData();
    EXPECT_EQ(QString::fromUtf8(run.out).toStdString(),
              QStringLiteral(
                  "Firefox (default)\t%1/.mozilla/firefox/cd34.default/places.sqlite\n"
                  "Firefox (default-release)\t%1/.mozilla/firefox/ab12.default-release/"
                  "places.sqlite\n"
                  "Firefox (elsewhere)\t%2/places.sqlite\n"
                  "Firefox (snap.default)\t%1/snap/firefox/common/.mozilla/firefox/snap.default/"
                  "places.sqlite\n"
                  "Firefox (flat.default)\t%1/.var/app/org.mozilla.firefox/.mozilla/firefox/"
                  "flat.default/places.sqlite\n"
                  "Chromium (Default)\t%1/.config/chromium/Default/Bookmarks\n"
                  "Chromium (Profile 1)\t%1/.config/chromium/Profile 1/Bookmarks\n"
                  "Google Chrome (Default)\t%1/.config/google-chrome/Default/Bookmarks\n"
                  "Brave (Default)\t%1/.config/BraveSoftware/Brave-Browser/Default/Bookmarks\n"
                  "Vivaldi (Default)\t%1/.config/vivaldi/Default/Bookmarks\n"
                  "Microsoft Edge (Profile 2)\t%1/.config/microsoft-edge/Profile 2/Bookmarks\n")
                  .arg(home, path(QStringLiteral("elsewhere")))
                  .toStdString());

    // XDG_CONFIG_HOME moves the configuration folder; a home without browsers lists nothing
    // and is no failure.
    file(QStringLiteral("../config/vivaldi/Default/Bookmarks"));
    const CliRun moved =
        runCli({QStringLiteral("--find-bookmarks")}, scratch,
               {QStringLiteral("HOME=") + path(QStringLiteral("empty")),
                QStringLiteral("XDG_CONFIG_HOME=") + path(QStringLiteral("config"))});
    EXPECT_EQ(moved.exitCode, 0);
    EXPECT_EQ(moved.out, "Vivaldi (Default)\t" + path(QStringLiteral("config")).toUtf8() +
                             "/vivaldi/Default/Bookmarks\n");
    const CliRun none =
        runCli({QStringLiteral("--find-bookmarks")}, scratch,
               {QStringLiteral("HOME=") + path(QStringLiteral("empty")),
                QStringLiteral("XDG_CONFIG_HOME=") + path(QStringLiteral("no-config"))});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(none.err.isEmpty());
}

TEST_F(CliTest, FolderNamingABookmarkFileReadsItOrExitsWithTwo)
{
    const QString bookmarks = path(QStringLiteral("Bookmarks"));
    writeBytes(bookmarks, R"({"roots": {"bookmark_bar": {"name": "Bar", "children": [
        {"type": "url", "name": "News", "url": "file:///C:/memo/news.html"}]}}})");
    const CliRun run = cli({QStringLiteral("--settings"), settings(), QStringLiteral("--folder"),
                            bookmarks, output()});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(readBytes(output()).contains(
        "<div class=\"FolderName\">\r\n\tBar\r\n</div>\r\n<div class=\"FileList\">\r\n"
        "\t<a href=\"file:///C:/memo/news.html\" target=\"_blank\">News</a>"));
    EXPECT_TRUE(run.out.startsWith("2 folders, 1 links, "));

    // A file that is no bookmark file: the path and the reason, status 2, and no page.
    const QString broken = path(QStringLiteral("broken.json"));
    writeBytes(broken, "{\"roots\": {");
    QFile::remove(output());
    const CliRun bad = cli(
        {QStringLiteral("--settings"), settings(), QStringLiteral("--folder"), broken, output()});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(
        bad.err.startsWith("talvensa-cli: cannot read " + broken.toUtf8() + ": not valid JSON"))
        << bad.err.constData();
    EXPECT_FALSE(QFileInfo::exists(output()));
    EXPECT_TRUE(bad.out.isEmpty());
}

// The page replaces an old one whole: the old page stays until the new one is complete, keeps
// its permission bits, and no temporary file is left beside it, also when the write fails.
TEST_F(CliTest, AnOldPageIsReplacedWholeOrKept)
{
    for (int i = 0; i < 300; ++i)
        writeBytes(fav(QStringLiteral("Many/%1.url").arg(i)),
                   "[InternetShortcut]\r\nURL=http://many.example/" + QByteArray::number(i) +
                       "\r\n");
    const QString folder = path(QStringLiteral("out"));
    QDir().mkpath(folder);
    const QString page = folder + QStringLiteral("/page.html");
    writeBytes(page, "old page");
    ASSERT_EQ(::chmod(QFile::encodeName(page).constData(), 0640), 0);
    ASSERT_EQ(write({QStringLiteral("--quiet"), page}).exitCode, 0);
    EXPECT_TRUE(readBytes(page).endsWith("</html>\r\n"));
    struct stat status;
    ASSERT_EQ(::stat(QFile::encodeName(page).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("page.html")});

    // A write that fails part-way (the file size limit of the process, its signal ignored as a
    // full disk would answer) leaves the old page as it was.
    writeBytes(page, "old page");
    QStringList limited{QStringLiteral("-c"),
                        QStringLiteral("trap '' XFSZ; ulimit -f 8; exec \"$0\" \"$@\""),
                        QStringLiteral(TALVENSA_CLI),
                        QStringLiteral("--settings"),
                        settings(),
                        QStringLiteral("--folder"),
                        favorites(),
                        page};
    const CliRun failed =
        runProgram(QStringLiteral("/bin/sh"), limited, path(QStringLiteral("run")));
    EXPECT_EQ(failed.exitCode, 1) << failed.err.constData();
    EXPECT_TRUE(failed.err.contains("cannot write")) << failed.err.constData();
    EXPECT_EQ(readBytes(page), "old page");
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("page.html")});
}

// Two runs that write the same page at once: each reader finds one whole page, never a mix.
TEST_F(CliTest, TwoRunsWritingOnePageNeverMixThem)
{
    for (int i = 0; i < 2000; ++i)
        writeBytes(fav(QStringLiteral("Many/%1.url").arg(i)),
                   "[InternetShortcut]\r\nURL=http://many.example/" + QByteArray::number(i) +
                       "\r\n");
    for (int round = 0; round < 5; ++round) {
        std::thread other([this] { write({QStringLiteral("--quiet"), output()}); });
        EXPECT_EQ(write({QStringLiteral("--quiet"), output()}).exitCode, 0);
        other.join();
        const QByteArray page = readBytes(output());
        EXPECT_EQ(page.count("</html>"), 1) << "round " << round;
        EXPECT_TRUE(page.endsWith("</html>\r\n"));
        EXPECT_EQ(page.count("<a href=\"http://many.example/"), 2000);
    }
}

TEST_F(CliTest, APageWithoutLinksSaysWhatWasReadAndWhereElseToLook)
{
    // A home with one browser profile, whose bookmark files --find-bookmarks would list.
    const QString home = path(QStringLiteral("home"));
    writeBytes(home + QStringLiteral("/.config/chromium/Default/Bookmarks"), "{}");
    const QStringList environment{QStringLiteral("HOME=") + home,
                                  QStringLiteral("XDG_CONFIG_HOME")};
    auto hint = [](const QString &read, int found) {
        return QStringLiteral("talvensa-cli: no links found in %1; --folder PATH reads another "
                              "folder or a bookmark file, and --find-bookmarks lists your "
                              "browsers' bookmark files (%2 found now)\n")
            .arg(read, QString::number(found))
            .toStdString();
    };
    const QString scratch = path(QStringLiteral("run"));

    // The settings' folder, taken from the home folder as there is none in the file: the line
    // comes with --quiet too, the page is written and the status stays 0.
    writeSettings("[Title]\r\nTitle=Mine\r\n");
    CliRun run =
        runCli({QStringLiteral("--settings"), settings(), QStringLiteral("--quiet"), output()},
               scratch, environment);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err.toStdString(),
              hint(home + QStringLiteral("/Favorites (which does not exist)"), 1));
    EXPECT_TRUE(readBytes(output()).endsWith("</html>\r\n"));

    // An empty folder named by --folder; without --quiet the summary comes first, the page on
    // standard output stays clean.
    const QString empty = path(QStringLiteral("Empty"));
    ASSERT_TRUE(QDir().mkpath(empty + QStringLiteral("/Sub")));
    run = runCli({QStringLiteral("--settings"), settings(), QStringLiteral("--folder"), empty,
                  QStringLiteral("-")},
                 scratch, environment);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith("<!DOCTYPE HTML"));
    EXPECT_TRUE(run.err.startsWith("2 folders, 0 links, ")) << run.err.constData();
    EXPECT_TRUE(run.err.endsWith(QByteArray::fromStdString(hint(empty, 1)))) << run.err.constData();

    // A bookmark file without a bookmark, in a folder whose name holds a place marker.
    const QString bookmarks = path(QStringLiteral("%2 profile/Bookmarks"));
    writeBytes(bookmarks, R"({"roots": {"bookmark_bar": {"name": "Bar", "children": []}}})");
    run = runCli({QStringLiteral("--settings"), settings(), QStringLiteral("--folder"), bookmarks,
                  QStringLiteral("--quiet"), output()},
                 scratch, environment);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err.toStdString(), hint(bookmarks, 1));

    // One link is enough to say nothing.
    writeBytes(empty + QStringLiteral("/Sub/One.url"), "[InternetShortcut]\r\nURL=http://a/\r\n");
    run = runCli({QStringLiteral("--settings"), settings(), QStringLiteral("--folder"), empty,
                  QStringLiteral("--quiet"), output()},
                 scratch, environment);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.constData();
}
