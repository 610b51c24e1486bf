// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "generate/PageWriter.h"

#include "support/PageTestSupport.h"
#include "generate/CreateHTMLFile.h"
#include "sources/PathText.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using PageWriterTest = PageTest;

TEST_F(PageWriterTest, WritesExamplePage)
{
    writeExampleTree();
    m_job.settings.Document.BVKCommentFlag = true;
    EXPECT_EQ(page(), goldenFile("example-comments.html"));
    EXPECT_EQ(m_report.folders, 2);
    EXPECT_EQ(m_report.links, 2);
    EXPECT_EQ(m_report.bytes, goldenFile("example-comments.html").size());

    m_job.settings.Document.BVKCommentFlag = false;
    // Opening links elsewhere is stored but never changes the page.
    m_job.settings.Document.Link.OpenRightWindowFlag = true;
    // A trailing "/" on the root changes nothing either.
    m_job.sources = {favorites() + QLatin1Char('/')};
    EXPECT_EQ(page(), goldenFile("example-plain.html"));
}

TEST_F(PageWriterTest, EmptyAndMissingRootsGiveOneEmptySection)
{
    const QByteArray emptySection = "<div class=\"FolderName\">\r\n\t\r\n</div>\r\n<br>\r\n";
    EXPECT_EQ(sections(page()), emptySection);
    m_job.sources = {fav(QStringLiteral("missing"))};
    EXPECT_EQ(sections(page()), emptySection);
    EXPECT_TRUE(page().endsWith("</a></div>\r\n</body>\r\n</html>\r\n"));
}

TEST_F(PageWriterTest, CaptionsFollowTheFolderPathBelowTheRoot)
{
    QDir().mkpath(fav(QStringLiteral("Tools/Web")));
    QDir().mkpath(fav(QStringLiteral("表示")));
    const QByteArray body = sections(page());
    EXPECT_TRUE(body.contains("\r\n\tTools\r\n"));
    EXPECT_TRUE(body.contains("\r\n\tTools/Web\r\n"));
    // 表 is 0x95 0x5C in Shift-JIS: the caption stays whole, no "/" is put into it.
    EXPECT_TRUE(body.contains("\r\n\t\x95\x5C\x8E\xA6\r\n"));
    // Folders without shortcuts keep their heading and <br>.
    EXPECT_EQ(body.count("<div class=\"FolderName\">"), 4);
    EXPECT_EQ(body.count("<br>"), 4);

    const QString root = favorites();
    EXPECT_EQ(FolderCaption(fav(QStringLiteral("Tools/Web/")), root), QStringLiteral("Tools/Web"));
    EXPECT_EQ(FolderCaption(fav(QStringLiteral("Tools/Web")), root), QStringLiteral("Tools/Web"));
    EXPECT_EQ(FolderCaption(fav(QStringLiteral("表示/")), root), QStringLiteral("表示"));
    EXPECT_EQ(FolderCaption(root, root + QLatin1Char('/')), QString());
    // The root text once more further down is a folder name, not the root.
    const QString fav = QStringLiteral("/fav");
    EXPECT_EQ(FolderCaption(QStringLiteral("/fav/fav/"), fav), QStringLiteral("fav"));
    EXPECT_EQ(FolderCaption(QStringLiteral("/fav/a/fav/b/"), fav), QStringLiteral("a/fav/b"));
}

TEST_F(PageWriterTest, TitlesAndLinksOfShortcuts)
{
    writeBytes(fav(QStringLiteral("x.y.url")), shortcutBytes("http://from-file/"));
    writeBytes(fav(QStringLiteral(".url")), shortcutBytes("http://dot/"));
    writeBytes(fav(QStringLiteral("News.url")), shortcutBytes("http://upper/"));
    writeBytes(fav(QStringLiteral("news.url")), shortcutBytes("http://lower/"));
    const QByteArray body = sections(page());
    EXPECT_TRUE(body.contains("\t<a href=\"http://from-file/\" target=\"_blank\">x.y</a>\r\n"));
    EXPECT_TRUE(body.contains("\t<a href=\"http://dot/\" target=\"_blank\"></a>\r\n"));
    // Names that differ only in case are both listed, the upper-case one first.
    const qsizetype upper = body.indexOf("http://upper/");
    const qsizetype lower = body.indexOf("http://lower/");
    EXPECT_GT(upper, 0);
    EXPECT_GT(lower, upper);

    EXPECT_EQ(ShortcutTitle(QStringLiteral("/a/News.url")), QStringLiteral("News"));
    EXPECT_EQ(ShortcutTitle(QStringLiteral("/a.b/noext")), QStringLiteral("noext"));
    EXPECT_EQ(ShortcutTitle(QStringLiteral("/a/表示.url")), QStringLiteral("表示"));
    EXPECT_EQ(EnsureTrailingBackslash(QString()), QStringLiteral("/"));
    EXPECT_EQ(EnsureTrailingBackslash(QStringLiteral("/a")), QStringLiteral("/a/"));
    EXPECT_EQ(EnsureTrailingBackslash(QStringLiteral("/a/")), QStringLiteral("/a/"));
}

TEST_F(PageWriterTest, MarkupInNamesAndUrlsCannotLeaveItsPlace)
{
    QDir().mkpath(fav(QStringLiteral("<i>&co")));
    writeBytes(fav(QStringLiteral("<i>&co/a<b>&c.url")),
               shortcutBytes("http://x/?q=\"a\"&r=<s>", "<b>bold</b> & \"raw\""));
    m_job.settings.Document.BVKCommentFlag = true;
    m_job.settings.Title.Title = QStringLiteral("<b>Fav</b> & co");
    const QByteArray all = page();
    EXPECT_TRUE(all.contains("\r\n\t&lt;i&gt;&co\r\n"));
    EXPECT_TRUE(all.contains("\t<a href=\"http://x/?q=%22a%22&r=%3Cs%3E\" target=\"_blank\">"
                             "a&lt;b&gt;&c</a><span class=\"BVKComment\"><b>bold</b> & "
                             "\"raw\"</span>\r\n"));
    // The texts of the settings are written as the user stored them.
    EXPECT_TRUE(all.contains("\r\n\t<b>Fav</b> & co\r\n"));
}

// Control characters cannot break a link's line or its markup: in the href they are
// percent-encoded, as browsers encode them; in a name (a POSIX name may hold a line break) they
// are blanks.
TEST_F(PageWriterTest, ControlCharactersStayOffTheLinkLine)
{
    writeBytes(fav(QStringLiteral("line\nbreak\x1B.url")),
               shortcutBytes(QByteArray("http://x/a\0"
                                        "b\x1B[31m\tc\x7F",
                                        20)));
    QDir().mkpath(fav(QStringLiteral("two\rlines")));
    const QByteArray body = sections(page());
    EXPECT_TRUE(body.contains("\t<a href=\"http://x/a%00b%1B[31m%09c%7F\" target=\"_blank\">"
                              "line break </a>\r\n"))
        << body.constData();
    EXPECT_TRUE(body.contains("\r\n\ttwo lines\r\n"));
    for (const char c : body)
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\r' || c == '\n' || c == '\t');
}

TEST_F(PageWriterTest, NamesOutsideShiftJisBecomeNumericReferences)
{
    QDir().mkpath(fav(QStringLiteral("jürgen")));
    writeBytes(fav(QStringLiteral("jürgen/😀 表.url")), shortcutBytes("http://e/"));
    const QByteArray body = sections(page());
    EXPECT_TRUE(body.contains("\r\n\tj&#252;rgen\r\n"));
    EXPECT_TRUE(body.contains(">&#128512; \x95\x5C</a>"));
}

TEST_F(PageWriterTest, ShiftJisCommentBytesReachThePageUnchanged)
{
    // Valid double-byte text, a character whose second byte is "\", and bytes that are not
    // Shift-JIS at all.
    const QByteArray comment = sjis(QStringLiteral("毎朝読む 表示")) + "\x80\xA0\xFD\xFF\x81";
    const QByteArray url = "http://x/" + sjis(QStringLiteral("検索"));
    writeBytes(fav(QStringLiteral("a.url")), shortcutBytes(url, comment));
    m_job.settings.Document.BVKCommentFlag = true;
    EXPECT_TRUE(page().contains("<a href=\"" + url +
                                "\" target=\"_blank\">a</a>"
                                "<span class=\"BVKComment\">" +
                                comment + "</span>\r\n"));
}

TEST_F(PageWriterTest, MalformedAndOversizedShortcutsGiveEmptyOrCutValues)
{
    writeBytes(fav(QStringLiteral("nokey.url")), "[InternetShortcut]\r\nHOTKEY=0\r\n");
    writeBytes(fav(QStringLiteral("binary.url")), QByteArray("\x00\x01\xFF\xFE", 4).repeated(500));
    writeBytes(fav(QStringLiteral("empty.url")), QByteArray());
    writeBytes(fav(QStringLiteral("huge.url")),
               shortcutBytes("http://" + QByteArray(5 << 20, 'w'), QByteArray(100000, 'c')));
    m_job.settings.Document.BVKCommentFlag = true;
    const QByteArray body = sections(page());
    for (const char *title : {"nokey", "binary", "empty"}) {
        EXPECT_TRUE(body.contains("\t<a href=\"\" target=\"_blank\">" + QByteArray(title) +
                                  "</a><span class=\"BVKComment\"></span>\r\n"))
            << title;
    }
    EXPECT_TRUE(body.contains("<a href=\"http://" + QByteArray(2040, 'w') +
                              "\" target=\"_blank\">huge</a><span class=\"BVKComment\">" +
                              QByteArray(2047, 'c') + "</span>\r\n"));
}

TEST_F(PageWriterTest, AShortcutGoneSinceItsFolderWasListedLeavesAnEmptyLine)
{
    writeBytes(fav(QStringLiteral("Sub/gone.url")), shortcutBytes("http://gone/"));
    writeBytes(fav(QStringLiteral("Sub/kept.url")), shortcutBytes("http://kept/"));
    // The stop request is asked once the folder Sub has been listed, before its files are read.
    m_job.stopRequested = [this] {
        QFile::remove(fav(QStringLiteral("Sub/gone.url")));
        return false;
    };
    const QByteArray body = sections(page());
    EXPECT_TRUE(body.contains("<div class=\"FileList\">\r\n\r\n</div>\r\n"
                              "<div class=\"FileList\">\r\n\t<a href=\"http://kept/\""));
    EXPECT_EQ(m_report.links, 2);
}

TEST_F(PageWriterTest, GaugeFollowsTheFolderIndex)
{
    RecordingGauge gauge;
    m_job.progress = &gauge;
    page();
    EXPECT_EQ(gauge.calls, (QStringList{QStringLiteral("max 0"), QStringLiteral("pos 0")}));

    QDir().mkpath(fav(QStringLiteral("a/b")));
    gauge.calls.clear();
    page();
    EXPECT_EQ(gauge.calls, (QStringList{QStringLiteral("max 2"), QStringLiteral("pos 0"),
                                        QStringLiteral("pos 1"), QStringLiteral("pos 2")}));
}

// The windows' writer: the settings it was given with their Favourites folder, read at each
// write, the attached gauge, and the report of the last write.
TEST_F(PageWriterTest, CreateHTMLFileWritesThePageOfItsSettings)
{
    writeExampleTree();
    TGlobalVariant settings = m_job.settings;
    const QString settingsPath;
    TCreateHTML writer(settings, settingsPath);
    settings.Document.BVKCommentFlag = true;
    settings.FavoriteFolder = favorites();
    RecordingGauge gauge;
    writer.SetGauge(&gauge);
    EXPECT_TRUE(writer.CreateHTMLFile(output()));
    EXPECT_EQ(readBytes(output()), goldenFile("example-comments.html"));
    EXPECT_EQ(writer.lastReport().links, 2);
    EXPECT_EQ(gauge.calls, (QStringList{QStringLiteral("max 1"), QStringLiteral("pos 0"),
                                        QStringLiteral("pos 1")}));

    writer.ReleaseGauge();
    gauge.calls.clear();
    EXPECT_FALSE(writer.CreateHTMLFile(m_dir.filePath(QStringLiteral("no/such/page.html"))));
    EXPECT_TRUE(gauge.calls.isEmpty());
    EXPECT_EQ(writer.lastReport().failure, PageWriteReport::Failure::WriteFailed);
    EXPECT_FALSE(writer.lastReport().error.isEmpty());
}

TEST_F(PageWriterTest, StopRequestEndsTheListButKeepsThePageWhole)
{
    writeExampleTree();
    QDir().mkpath(fav(QStringLiteral("Zed")));
    int asked = 0;
    m_job.stopRequested = [&asked] { return ++asked == 1; };
    const QByteArray all = page();
    EXPECT_EQ(asked, 1); // asked between folders, so not before the first
    EXPECT_EQ(sections(all).count("<div class=\"FolderName\">"), 1);
    EXPECT_TRUE(all.endsWith("</a></div>\r\n</body>\r\n</html>\r\n"));
    EXPECT_EQ(m_report.folders, 1);
}

TEST_F(PageWriterTest, FailuresReturnFalseWithAReason)
{
    writeExampleTree();
    const auto fails = [this](const QString &path) {
        m_job.outputPath = path;
        const PageWriteReport report = writePage(m_job);
        EXPECT_EQ(report.failure, PageWriteReport::Failure::WriteFailed) << path.toStdString();
        EXPECT_FALSE(report.error.isEmpty()) << path.toStdString();
        return report;
    };
    // The output's folder does not exist: no file appears.
    const QString inMissing = m_dir.filePath(QStringLiteral("no/such/page.html"));
    fails(inMissing);
    EXPECT_FALSE(QFile::exists(inMissing));
    fails(QString());
    // A full disk: every write fails.
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        EXPECT_EQ(fails(QStringLiteral("/dev/full")).bytes, 0);
    }
    // An existing page is replaced, not appended to.
    m_job.outputPath = output();
    writeBytes(output(), QByteArray(100000, 'x'));
    EXPECT_FALSE(page().contains('x' + QByteArray(10, 'x')));
    EXPECT_TRUE(m_report.error.isEmpty());
}
