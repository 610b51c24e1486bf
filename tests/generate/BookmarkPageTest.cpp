// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "generate/PageWriter.h"

#include "support/PageTestSupport.h"
#include "support/PlacesTestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Pages from browser bookmark files, compared byte for byte: the same head, title block and
// footer as the example page of a folder tree, and the sections each source gives.
class BookmarkPageTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        m_job.settings.Document.BVKCommentFlag = true;
    }

    // The page for the file at path, or the page of a folder when path names one.
    QByteArray pageOf(const QString &path)
    {
        m_job.sources = {path};
        return page();
    }

    // The example page with its sections replaced.
    static QByteArray expectedPage(const QByteArray &sections)
    {
        const QByteArray example = goldenFile("example-comments.html");
        const qsizetype first = example.indexOf("<div class=\"FolderName\">");
        return example.first(first) + sections + example.sliced(example.indexOf("<hr>"));
    }

    static QByteArray heading(const QByteArray &caption)
    {
        return "<div class=\"FolderName\">\r\n\t" + caption + "\r\n</div>\r\n";
    }
    static QByteArray link(const QByteArray &href, const QByteArray &title,
                           const QByteArray &comment = QByteArray())
    {
        return "<div class=\"FileList\">\r\n\t<a href=\"" + href + "\" target=\"_blank\">" + title +
               "</a><span class=\"BVKComment\">" + comment + "</span>\r\n</div>\r\n";
    }
    static constexpr char End[] = "<br>\r\n";
};

} // namespace

TEST_F(BookmarkPageTest, NetscapeFile)
{
    const QString file = m_dir.filePath(QStringLiteral("bookmarks.html"));
    writeBytes(file,
               "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
               "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
               "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n"
               "<DT><H3 PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks bar</H3>\n<DL><p>\n"
               "    <DT><A HREF=\"http://例え.jp/?a=&quot;1&quot;&amp;b=<2>\">天気 &amp; "
               "&lt;予報&gt; 😀</A>\n"
               "    <DD>毎日 &#x263A; 見る\n"
               "    <DT><H3>Empty</H3>\n    <DL><p>\n    </DL><p>\n"
               "</DL><p>\n"
               "<DT><A HREF=\"javascript:void(0)\">&#39;Bookmarklet&#39;</A>\n"
               "<DT><H3 UNFILED_BOOKMARKS_FOLDER=\"true\">Other Bookmarks</H3>\n<DL><p>\n</DL><p>\n"
               "</DL>\n");
    EXPECT_EQ(pageOf(file),
              expectedPage(
                  heading("") + link("javascript:void(0)", "'Bookmarklet'") + End +
                  heading("Bookmarks bar") +
                  link("http://%E4%BE%8B%E3%81%88.jp/?a=%221%22&b=%3C2%3E",
                       sjis(QStringLiteral("天気 & &lt;予報&gt; ")) + "&#128512;",
                       sjis(QStringLiteral("毎日 ")) + "&#9786;" + sjis(QStringLiteral(" 見る"))) +
                  End + heading("Bookmarks bar/Empty") + End));
    EXPECT_EQ(m_report.folders, 3);
    EXPECT_EQ(m_report.links, 2);

    // Comments off: the lines end at </a>.
    m_job.settings.Document.BVKCommentFlag = false;
    EXPECT_TRUE(pageOf(file).contains(
        "\t<a href=\"javascript:void(0)\" target=\"_blank\">'Bookmarklet'</a>\r\n"));
}

TEST_F(BookmarkPageTest, ChromiumFile)
{
    const QString file = m_dir.filePath(QStringLiteral("Bookmarks"));
    writeBytes(file, R"({"version": 1, "roots": {
        "bookmark_bar": {"name": "Bookmarks bar", "type": "folder", "children": [
            {"type": "url", "name": "Café", "url": "https://café.example/"},
            {"type": "folder", "name": "表示", "children": []}]},
        "other": {"name": "Other bookmarks", "type": "folder", "children": [
            {"type": "folder", "name": "Nothing", "children": []}]},
        "synced": {"name": "Mobile bookmarks", "type": "folder", "children": [
            {"type": "url", "name": "", "url": "https://m.example/"}]}}})");
    EXPECT_EQ(pageOf(file), expectedPage(heading("") + End + heading("Bookmarks bar") +
                                         link("https://caf%C3%A9.example/", "Caf&#233;") + End +
                                         heading("Bookmarks bar/" + sjis(QStringLiteral("表示"))) +
                                         End + heading("Mobile bookmarks") +
                                         link("https://m.example/", "https://m.example/") + End));
}

TEST_F(BookmarkPageTest, FirefoxPlaces)
{
    const QString file = m_dir.filePath(QStringLiteral("places.sqlite"));
    {
        PlacesDatabase db(file);
        db.addRoots();
        db.add(10, PlacesDatabase::Bookmark, 3, 0, "Toolbar link", "http://toolbar/");
        db.add(11, PlacesDatabase::Bookmark, 2, 1, "Second", "http://second/");
        db.add(12, PlacesDatabase::Bookmark, 2, 0, QString(), "http://first/");
        db.add(13, PlacesDatabase::Folder, 2, 2, "Sub");
        db.add(14, PlacesDatabase::Bookmark, 13, 0, "In sub", "http://sub/");
        db.add(15, PlacesDatabase::Separator, 2, 3, QString());
        db.add(16, PlacesDatabase::Bookmark, 2, 4, "Most visited", "place:sort=8");
        db.add(20, PlacesDatabase::Folder, 4, 0, "tag");
        db.add(21, PlacesDatabase::Bookmark, 20, 0, QString(), "http://second/");
    }
    EXPECT_EQ(pageOf(file),
              expectedPage(heading("") + End + heading("Bookmarks Menu") +
                           link("http://first/", "http://first/") +
                           link("http://second/", "Second") + End + heading("Bookmarks Menu/Sub") +
                           link("http://sub/", "In sub") + End + heading("Bookmarks Toolbar") +
                           link("http://toolbar/", "Toolbar link") + End));
}

TEST_F(BookmarkPageTest, ShortcutsWithUnicodeAddresses)
{
    // A folder tree as before: a shortcut with the wide section, and one in UTF-16.
    writeBytes(fav(QStringLiteral("wide.url")),
               "[InternetShortcut]\r\nURL=http://example.jp/???\r\n"
               "[InternetShortcut.W]\r\nURL=http://example.jp/+ZeVnLIqe-\r\n");
    QByteArray utf16("\xFF\xFE");
    for (const QChar c : QStringLiteral("[InternetShortcut]\r\nURL=http://u16.example/\r\n"
                                        "[Comment]\r\nComment=メモ\r\n")) {
        utf16 += char(c.unicode() & 0xFF);
        utf16 += char(c.unicode() >> 8);
    }
    writeBytes(fav(QStringLiteral("utf16.url")), utf16);
    EXPECT_EQ(pageOf(favorites()),
              expectedPage(heading("") +
                           link("http://u16.example/", "utf16", sjis(QStringLiteral("メモ"))) +
                           link("http://example.jp/%E6%97%A5%E6%9C%AC%E8%AA%9E", "wide") + End));
}

TEST_F(BookmarkPageTest, UnreadableFileGivesNoPage)
{
    const QString file = m_dir.filePath(QStringLiteral("notes.txt"));
    writeBytes(file, "just some notes\n");
    writeBytes(output(), "the page of yesterday");
    m_job.sources = {file};
    const PageWriteReport report = writePage(m_job);
    EXPECT_EQ(report.failure, PageWriteReport::Failure::SourceUnreadable);
    EXPECT_FALSE(report.error.isEmpty());
    EXPECT_EQ(readBytes(output()), QByteArray("the page of yesterday"));

    // The settings keep a bookmark file as they keep a folder; a path to nothing falls back to
    // the standard Favorites folder.
    writeBytes(m_dir.filePath(QStringLiteral("talvensa.ini")),
               "[Document]\r\nFavoriteFolder=" + file.toUtf8() + "\r\n");
    SettingsFilePath = m_dir.filePath(QStringLiteral("talvensa.ini"));
    LoadSettings();
    EXPECT_EQ(GlobalVariant.FavoriteFolder, file);
    QFile::remove(file);
    LoadSettings();
    EXPECT_NE(GlobalVariant.FavoriteFolder, file);
}
