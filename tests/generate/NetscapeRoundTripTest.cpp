// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "generate/PageWriter.h"

#include "platform/FileNames.h"
#include "sources/OpenSource.h"
#include "support/PageTestSupport.h"
#include "support/PlacesTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

// Bookmark exports written by writePage and read back by the program's own reader.
class NetscapeRoundTripTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        m_job.format = PageFormat::Netscape;
    }

    // A shortcut file in the tree with the given modification time.
    void shortcut(const QString &relative, const QByteArray &bytes, qint64 modified)
    {
        writeBytes(fav(relative), bytes);
        const utimbuf times{time_t(modified), time_t(modified)};
        ASSERT_EQ(::utime(textToFileName(fav(relative)).constData(), &times), 0);
    }
};

// What a source gives, one line a folder and a link: the folder's path with its toolbar mark,
// then each link's title, address, description and dates as text.
QString outline(const QString &path)
{
    QString error;
    const std::unique_ptr<LinkSource> source = openSource(path, error);
    EXPECT_NE(source, nullptr) << error.toStdString();
    if (!source)
        return QString();
    QString out;
    Link link;
    while (const Folder *folder = source->nextFolder()) {
        out += QStringLiteral("[%1]%2\n")
                   .arg(folder->path.join(QLatin1Char('/')),
                        folder->toolbar ? QStringLiteral(" toolbar") : QString());
        while (source->nextLink(link)) {
            if (link.present)
                out += QStringLiteral("  %1 -> %2 # %3 @%4/%5\n")
                           .arg(link.title, link.url, link.comment)
                           .arg(link.added)
                           .arg(link.modified);
        }
    }
    return out;
}

} // namespace

// A tree of shortcuts comes back from its export with the same folders, links, order,
// descriptions and dates: Japanese names, markup characters, emoji, a Unicode address kept
// as Unicode, nested and empty folders.
TEST_F(NetscapeRoundTripTest, ShortcutTreeReadsBackAsItWas)
{
    shortcut(QStringLiteral("A & B.url"), shortcutBytes("http://a.example/?x=1&y=2"), 1111111111);
    shortcut(QStringLiteral("ニュース.url"),
             shortcutBytes(sjis(QStringLiteral("http://例.jp/記事"))), 1222222222);
    shortcut(
        QStringLiteral("日本語/<タグ> \"引用\".url"),
        shortcutBytes("http://tag.example/", sjis(QStringLiteral("コメント <b>太字</b> & 他"))),
        1333333333);
    shortcut(QStringLiteral("日本語/深い/絵文字 😀.url"),
             "[InternetShortcut]\r\nURL=http://?.jp/?\r\n"
             "[InternetShortcut.W]\r\nURL=https://+T4swSA.jp/+2D3eAA-\r\n",
             1444444444);
    QDir().mkpath(fav(QStringLiteral("日本語/空")));
    shortcut(QStringLiteral("Z/quote.url"), shortcutBytes("http://q.example/say\"hi\""),
             1555555555);

    const QString source = outline(favorites());
    page();
    const QByteArray bytes = readBytes(output());
    EXPECT_TRUE(bytes.contains("<DT><A HREF=\"https://例え.jp/😀\" ADD_DATE=\"1444444444\" "
                               "LAST_MODIFIED=\"1444444444\">絵文字 😀</A>\n"));
    EXPECT_TRUE(bytes.contains("HREF=\"http://q.example/say%22hi%22\""));

    // The address with a quote comes back encoded, as a browser reads it too.
    QString expected = source;
    expected.replace(QStringLiteral("say\"hi\""), QStringLiteral("say%22hi%22"));
    EXPECT_EQ(outline(output()), expected);
    EXPECT_TRUE(source.contains(QStringLiteral("[日本語/空]\n")));
    EXPECT_TRUE(source.contains(QStringLiteral("コメント <b>太字</b> & 他 @1333333333/")));
}

// Bookmarks of a browser keep its dates and its toolbar through an export: Chromium's are
// microseconds since 1601, Firefox's microseconds since 1970.
TEST_F(NetscapeRoundTripTest, BrowserBookmarksKeepDatesAndToolbar)
{
    const QString chromium = m_dir.filePath(QStringLiteral("Bookmarks"));
    writeBytes(chromium, R"({"roots": {
        "bookmark_bar": {"name": "Bookmarks bar", "type": "folder",
            "date_added": "13300000000000000", "date_modified": "13300000001000000",
            "children": [
            {"type": "url", "name": "一", "url": "https://one.example/",
             "date_added": "13300000002500000"},
            {"type": "folder", "name": "Sub", "date_added": "0", "children": [
                {"type": "url", "name": "far future", "url": "https://two.example/",
                 "date_added": "15939440896000000"}]}]},
        "other": {"name": "Other", "type": "folder", "children": [
            {"type": "url", "name": "two", "url": "https://three.example/"}]}}})");
    m_job.sources = {chromium};
    const QString source = outline(chromium);
    EXPECT_TRUE(source.contains(QStringLiteral("[Bookmarks bar] toolbar\n")));
    // 13300000000 seconds after 1601 is 1655526400 after 1970.
    EXPECT_TRUE(source.contains(QStringLiteral("一 -> https://one.example/ #  @1655526402/0")));
    page();
    const QByteArray bytes = readBytes(output());
    EXPECT_TRUE(bytes.contains("<DT><H3 ADD_DATE=\"1655526400\" LAST_MODIFIED=\"1655526401\" "
                               "PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks bar</H3>\n"));
    // 2^32 seconds after 1970 is past what the file holds: the link has no date.
    EXPECT_TRUE(bytes.contains("<DT><A HREF=\"https://two.example/\">far future</A>\n"));
    QString expected = source;
    expected.replace(QStringLiteral("@4294967296/0"), QStringLiteral("@0/0"));
    EXPECT_EQ(outline(output()), expected);

    const QString places = m_dir.filePath(QStringLiteral("places.sqlite"));
    {
        PlacesDatabase db(places);
        db.addRoots();
        db.add(10, PlacesDatabase::Bookmark, 3, 0, QStringLiteral("On the toolbar"),
               QStringLiteral("https://bar.example/"));
        db.add(11, PlacesDatabase::Bookmark, 2, 0, QStringLiteral("In the menu"),
               QStringLiteral("https://menu.example/"));
        db.exec(QStringLiteral("ALTER TABLE moz_bookmarks ADD COLUMN dateAdded INTEGER;"
                               "ALTER TABLE moz_bookmarks ADD COLUMN lastModified INTEGER;"
                               "UPDATE moz_bookmarks SET dateAdded = 1600000000123456,"
                               " lastModified = 1700000000999999;"));
    }
    m_job.sources = {places};
    const QString firefox = outline(places);
    EXPECT_TRUE(firefox.contains(QStringLiteral("[Bookmarks Toolbar] toolbar\n"
                                                "  On the toolbar -> https://bar.example/ #  "
                                                "@1600000000/1700000000\n")));
    page();
    EXPECT_TRUE(
        readBytes(output()).contains("<DT><H3 ADD_DATE=\"1600000000\" LAST_MODIFIED=\"1700000000\" "
                                     "PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks Toolbar</H3>\n"));
    EXPECT_EQ(outline(output()), firefox);
}

// A name whose bytes are not UTF-8 (made on a Shift-JIS system) is written as the characters
// it reads as in Shift-JIS; bytes that are neither become U+FFFD. The file stays valid UTF-8.
TEST_F(NetscapeRoundTripTest, LegacyFileNamesAreWrittenAsUtf8)
{
    const QByteArray folder = textToFileName(favorites()) + '/';
    for (const QByteArray &name :
         {QByteArray("\x83\x6A\x83\x85\x81\x5B\x83\x58.url"), QByteArray("bad \xFF\xFE.url")}) {
        const QByteArray path = folder + name;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        const QByteArray bytes = shortcutBytes("http://legacy.example/");
        ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
        ::close(fd);
    }
    page();
    const QByteArray bytes = readBytes(output());
    EXPECT_EQ(QString::fromUtf8(bytes).toUtf8(), bytes);
    EXPECT_TRUE(bytes.contains(">ニュース</A>\n")) << bytes.constData();
    EXPECT_TRUE(bytes.contains(">bad \xEF\xBF\xBD\xEF\xBF\xBD</A>\n")) << bytes.constData();
}
