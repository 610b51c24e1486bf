// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// talvensa-cli with --folder given several times, and --dedup.

#include "CliSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SeveralSourcesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        writeBytes(path(QStringLiteral("Fav/News.url")),
                   "[InternetShortcut]\r\nURL=HTTP://Example.COM\r\n");
        writeBytes(path(QStringLiteral("Fav/Tools/Editor.url")),
                   "[InternetShortcut]\r\nURL=http://tools.example/Editor\r\n");
        // A browser's file where --find-bookmarks finds it, and an exported file elsewhere.
        writeBytes(chromium(), R"({"roots": {"bookmark_bar": {"name": "Bar", "children": [
            {"type": "url", "name": "Ex", "url": "http://example.com:80/"},
            {"type": "url", "name": "Secure", "url": "https://example.com/"}]}}})");
        writeBytes(netscape(), "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                               "<DT><A HREF=\"http://tools.example/editor\">lower</A>\n"
                               "<DT><H3>Sub</H3>\n<DL><p>\n"
                               "<DT><A HREF=\"http://TOOLS.example:80/Editor\">again</A>\n"
                               "</DL><p>\n</DL><p>\n");
        writeBytes(path(QStringLiteral("settings.ini")), "[Document]\r\n");
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString chromium() const
    {
        return path(QStringLiteral("home/.config/chromium/Default/Bookmarks"));
    }
    QString netscape() const { return path(QStringLiteral("export.html")); }
    QString output() const { return path(QStringLiteral("page.html")); }

    CliRun run(const QStringList &more) const
    {
        return runCli(
            QStringList{QStringLiteral("--settings"), path(QStringLiteral("settings.ini"))} + more,
            path(QStringLiteral("run")),
            {QStringLiteral("HOME=") + path(QStringLiteral("home")),
             QStringLiteral("XDG_CONFIG_HOME")});
    }
    QStringList threeSources() const
    {
        return {QStringLiteral("--folder"), path(QStringLiteral("Fav")),
                QStringLiteral("--folder"), chromium(),
                QStringLiteral("--folder"), netscape()};
    }

    QTemporaryDir m_dir;
};

// The captions of a classic page, in order.
QList<QByteArray> captions(const QByteArray &page)
{
    QList<QByteArray> out;
    const QByteArray open = "<div class=\"FolderName\">\r\n\t";
    for (qsizetype at = page.indexOf(open); at >= 0; at = page.indexOf(open, at + 1)) {
        const qsizetype start = at + open.size();
        out.append(page.mid(start, page.indexOf("\r\n", start) - start));
    }
    return out;
}

} // namespace

TEST_F(SeveralSourcesTest, EachSourceIsATopFolderInTheOrderGiven)
{
    const CliRun all = run(threeSources() + QStringList{output()});
    ASSERT_EQ(all.exitCode, 0) << all.err.constData();
    const QByteArray page = readBytes(output());
    // The folder tree by its name, Chromium by browser and profile, the other file by its name;
    // each followed by "/" and the caption a page of it alone shows, where that is not empty.
    EXPECT_EQ(captions(page),
              (QList<QByteArray>{"Fav", "Fav/Tools", "Chromium (Default)", "Chromium (Default)/Bar",
                                 "export.html", "export.html/Sub"}));
    EXPECT_TRUE(all.out.startsWith("6 folders, 6 links, ")) << all.out.constData();
    EXPECT_FALSE(all.out.contains("duplicates")) << all.out.constData();
    EXPECT_TRUE(page.contains("HTTP://Example.COM") && page.contains("http://example.com:80/") &&
                page.contains("http://TOOLS.example:80/Editor"));

    // The order given is the order of the page.
    const CliRun reversed = run({QStringLiteral("--folder"), netscape(), QStringLiteral("--folder"),
                                 path(QStringLiteral("Fav")), output()});
    ASSERT_EQ(reversed.exitCode, 0) << reversed.err.constData();
    EXPECT_EQ(captions(readBytes(output())),
              (QList<QByteArray>{"export.html", "export.html/Sub", "Fav", "Fav/Tools"}));
}

TEST_F(SeveralSourcesTest, DedupKeepsTheFirstOfEachNormalisedAddress)
{
    const CliRun run = this->run(threeSources() + QStringList{QStringLiteral("--dedup"), output()});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QByteArray page = readBytes(output());
    // Scheme and host case and the default port make no difference; https, and the path's
    // case, do. The first is kept as written.
    EXPECT_TRUE(page.contains("href=\"HTTP://Example.COM\""));
    EXPECT_FALSE(page.contains("http://example.com:80/"));
    EXPECT_TRUE(page.contains("href=\"https://example.com/\""));
    EXPECT_TRUE(page.contains("href=\"http://tools.example/Editor\""));
    EXPECT_TRUE(page.contains("href=\"http://tools.example/editor\""));
    EXPECT_FALSE(page.contains("http://TOOLS.example:80/Editor"));
    EXPECT_EQ(run.out.trimmed(), "6 folders, 4 links, " + QByteArray::number(page.size()) +
                                     " bytes written to " + output().toUtf8() +
                                     ", 2 duplicates dropped");
}

TEST_F(SeveralSourcesTest, OneSourceGivesTheSamePageAsBeforeAndAnUnreadableOneWritesNothing)
{
    // A single source is today's page: no top folder of its name.
    ASSERT_EQ(run({QStringLiteral("--folder"), path(QStringLiteral("Fav")), output()}).exitCode, 0);
    EXPECT_EQ(captions(readBytes(output())), (QList<QByteArray>{"", "Tools"}));
    // --dedup on one source drops nothing here, and says so.
    const CliRun deduped = run({QStringLiteral("--folder"), path(QStringLiteral("Fav")),
                                QStringLiteral("--dedup"), path(QStringLiteral("deduped.html"))});
    EXPECT_EQ(readBytes(path(QStringLiteral("deduped.html"))), readBytes(output()));
    EXPECT_TRUE(deduped.out.trimmed().endsWith(", 0 duplicates dropped"))
        << deduped.out.constData();

    // The second of three cannot be read: status 2, its path named, nothing written.
    const QString broken = path(QStringLiteral("broken.json"));
    writeBytes(broken, "{\"roots\": {");
    const QString page = path(QStringLiteral("never.html"));
    const CliRun bad =
        run({QStringLiteral("--folder"), path(QStringLiteral("Fav")), QStringLiteral("--folder"),
             broken, QStringLiteral("--folder"), netscape(), page});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.startsWith("talvensa-cli: cannot read " + broken.toUtf8() + ": "))
        << bad.err.constData();
    EXPECT_FALSE(QFileInfo::exists(page));
    EXPECT_TRUE(bad.out.isEmpty());
}
