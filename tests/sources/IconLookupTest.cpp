// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/BrowserIcons.h"
#include "sources/IconImage.h"
#include "sources/OpenSource.h"
#include "sources/ShortcutIcons.h"
#include "sources/OpenSourceIcons.h"

#include "support/IconTestSupport.h"
#include "support/PageTestSupport.h"
#include "support/PlacesTestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

#include <sys/stat.h>

namespace {

QByteArray bitmap(int width, char fill)
{
    // A 32-bit DIB's header is 40 bytes; the test only needs distinct bytes of a plausible size.
    return QByteArray(40 + width * width * 4, fill);
}

// Every link of a source, in its order.
std::vector<Link> linksOf(LinkSource &source)
{
    std::vector<Link> links;
    Link link;
    while (source.nextFolder()) {
        while (source.nextLink(link))
            links.push_back(link);
    }
    return links;
}

class IconLookupTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // The links of the source at path and the icons the source's lookup gives them.
    std::vector<std::pair<Link, const LinkIcon *>> iconsOf(const QString &source,
                                                           std::unique_ptr<SourceIcons> &icons)
    {
        QString error;
        const std::unique_ptr<LinkSource> links = openSource(source, error);
        EXPECT_TRUE(links) << error.toStdString();
        QString problem;
        icons = openSourceIcons(source, problem);
        EXPECT_TRUE(icons) << problem.toStdString();
        std::vector<std::pair<Link, const LinkIcon *>> result;
        if (links && icons) {
            for (const Link &link : linksOf(*links))
                result.emplace_back(link, icons->iconFor(link));
        }
        return result;
    }

    QTemporaryDir m_dir;
};

TEST(IconImageTest, TheTypeComesFromTheSignatureAlone)
{
    EXPECT_EQ(iconMimeType(fakePng("x")), "image/png");
    EXPECT_EQ(iconMimeType(icoFile({{16, bitmap(16, 'a')}})), "image/x-icon");
    EXPECT_EQ(iconMimeType(QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF", 10)), "image/jpeg");
    EXPECT_EQ(iconMimeType("GIF89a\x10\0\x10\0"), "image/gif");
    EXPECT_EQ(iconMimeType(QByteArray("RIFF\x20\0\0\0WEBPVP8 ", 16)), "image/webp");
    EXPECT_EQ(iconMimeType("<svg xmlns=\"http://www.w3.org/2000/svg\"/>"), "image/svg+xml");
    EXPECT_EQ(iconMimeType("\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- made by hand -->\n"
                           "<!DOCTYPE svg [ <!ENTITY e \"<b>\"> ]>\n<svg>"),
              "image/svg+xml");

    // Not images, or not whole: a truncated signature, RIFF of another kind, markup that is
    // no SVG (an HTML page holding one included), an element that only starts like it.
    EXPECT_EQ(iconMimeType("\x89PNG\r\n"), "");
    EXPECT_EQ(iconMimeType(QByteArray("RIFF\x20\0\0\0WAVEfmt ", 16)), "");
    EXPECT_EQ(iconMimeType("<html><svg></svg></html>"), "");
    EXPECT_EQ(iconMimeType("<svgx>"), "");
    EXPECT_EQ(iconMimeType("<!-- never closed <svg>"), "");
    EXPECT_EQ(iconMimeType(""), "");
    // A cursor file has the ICO layout with another type word.
    QByteArray cursor = icoFile({{16, bitmap(16, 'a')}});
    cursor[2] = 2;
    EXPECT_EQ(iconMimeType(cursor), "");
}

TEST(IconImageTest, IcoDirectoryListsOnlyImagesInsideTheFile)
{
    const QByteArray good = icoFile({{16, bitmap(16, 'a')}, {256, fakePng("big")}});
    const std::optional<std::vector<IcoImage>> images = icoDirectory(good);
    ASSERT_TRUE(images);
    ASSERT_EQ(images->size(), 2u);
    EXPECT_EQ((*images)[0].width, 16);
    EXPECT_EQ((*images)[0].offset, 6 + 2 * 16);
    EXPECT_EQ((*images)[1].width, 256); // stored as 0
    EXPECT_EQ((*images)[1].offset + (*images)[1].size, good.size());

    // Cut short; an image past the end; one whose size and offset wrap round in 32 bits; one
    // that overlaps the directory; none at all.
    EXPECT_FALSE(icoDirectory(good.first(good.size() - 1)));
    EXPECT_FALSE(icoDirectory(good.first(20)));
    QByteArray wrapping = good;
    qToLittleEndian<quint32>(0xFFFFFFF0u, wrapping.data() + 6 + 8);
    qToLittleEndian<quint32>(0x20u, wrapping.data() + 6 + 12);
    EXPECT_FALSE(icoDirectory(wrapping));
    QByteArray overlapping = good;
    qToLittleEndian<quint32>(6u, overlapping.data() + 6 + 12);
    EXPECT_FALSE(icoDirectory(overlapping));
    EXPECT_FALSE(icoDirectory(QByteArray("\0\0\1\0\0\0", 6)));
}

TEST(IconImageTest, OfSeveralSizesTheOneClosestTo32IsKeptAlone)
{
    // Bitmaps: the 32-pixel one in an ICO file of its own, which reads back as one image.
    const QByteArray wanted = bitmap(32, 'c');
    const std::optional<LinkIcon> fromBitmaps =
        iconFromImage(icoFile({{16, bitmap(16, 'a')}, {48, bitmap(48, 'b')}, {32, wanted}}));
    ASSERT_TRUE(fromBitmaps);
    EXPECT_EQ(fromBitmaps->mimeType, "image/x-icon");
    const std::optional<std::vector<IcoImage>> kept = icoDirectory(fromBitmaps->data);
    ASSERT_TRUE(kept);
    ASSERT_EQ(kept->size(), 1u);
    EXPECT_EQ(kept->front().width, 32);
    EXPECT_EQ(fromBitmaps->data.sliced(kept->front().offset), wanted);

    // A PNG inside is given as the PNG. Between 24 and 40, as near as each other, the larger;
    // a 256-pixel image far over the size limit does not matter when it is not taken.
    const std::optional<LinkIcon> fromPngs = iconFromImage(icoFile(
        {{24, fakePng("24")}, {40, fakePng("40")}, {256, fakePng(QByteArray(200000, 'z'))}}));
    ASSERT_TRUE(fromPngs);
    EXPECT_EQ(fromPngs->mimeType, "image/png");
    EXPECT_EQ(fromPngs->data, fakePng("40"));

    // One image, or one that is not ICO, is kept as it is; too large is none.
    const QByteArray single = icoFile({{16, bitmap(16, 'a')}});
    EXPECT_EQ(iconFromImage(single)->data, single);
    EXPECT_TRUE(iconFromImage(fakePng(QByteArray(MaxIconBytes - 16, 'p'))));
    EXPECT_FALSE(iconFromImage(fakePng(QByteArray(MaxIconBytes - 15, 'p'))));
    EXPECT_FALSE(iconFromImage(icoFile({{16, bitmap(16, 'a')}, {32, bitmap(128, 'b')}})));
    EXPECT_FALSE(iconFromImage("plain text"));
}

TEST_F(IconLookupTest, FirefoxGivesThePagesIconElseItsSitesRootIcon)
{
    {
        PlacesDatabase places(path("places.sqlite"));
        places.addRoots();
        // Two bookmarks of one page, one of another page, one of a site without icons.
        places.add(10, PlacesDatabase::Bookmark, 3, 0, "One", "https://one.example/page");
        places.add(11, PlacesDatabase::Bookmark, 2, 0, "One again", "https://one.example/page");
        places.add(12, PlacesDatabase::Bookmark, 3, 1, "Two", "http://two.example:8080/a?b");
        places.add(13, PlacesDatabase::Bookmark, 3, 2, "Three", "https://three.example/");
        places.add(14, PlacesDatabase::Bookmark, 3, 3, "Big", "https://big.example/");
    }
    {
        FirefoxIconDatabase icons(path("favicons.sqlite"));
        icons.addIcon(1, "https://one.example/icon.png", 16, fakePng("one16"));
        icons.addIcon(2, "https://one.example/icon.png", 32, fakePng("one32"));
        icons.addIcon(3, "https://one.example/icon.png", 64, fakePng("one64"));
        icons.addPage(1, "https://one.example/page", {1, 2, 3});
        // The root icon of two.example's site, which no page row names; one of another port
        // and one that is no root icon must not be taken for it.
        icons.addIcon(4, "http://www.two.example:8080/favicon.ico", 16, fakePng("two"), true);
        icons.addIcon(5, "http://two.example/favicon.ico", 16, fakePng("other port"), true);
        icons.addIcon(6, "http://two.example:8080/other.ico", 32, fakePng("not root"));
        // The closest size is too large: the next one is taken.
        icons.addIcon(7, "https://big.example/i.png", 32, fakePng(QByteArray(70000, 'b')));
        icons.addIcon(8, "https://big.example/i.png", 16, fakePng("big16"));
        icons.addPage(2, "https://big.example/", {7, 8});
    }
    std::unique_ptr<SourceIcons> icons;
    const auto links = iconsOf(path("places.sqlite"), icons);
    ASSERT_EQ(links.size(), 5u);
    // The page's order: the menu (One again), then the toolbar (One, Two, Three, Big).
    EXPECT_EQ(links[0].first.title, QStringLiteral("One again"));
    EXPECT_EQ(links[0].first.iconKey, QStringLiteral("https://one.example/page"));
    ASSERT_TRUE(links[0].second);
    EXPECT_EQ(links[0].second->data, fakePng("one32"));
    EXPECT_EQ(links[0].second->mimeType, "image/png");
    EXPECT_EQ(links[1].second, links[0].second); // read once, the same icon
    ASSERT_TRUE(links[2].second);
    EXPECT_EQ(links[2].second->data, fakePng("two"));
    EXPECT_FALSE(links[3].second);
    ASSERT_TRUE(links[4].second);
    EXPECT_EQ(links[4].second->data, fakePng("big16"));
    EXPECT_EQ(icons->readWarning(), QString());
}

TEST_F(IconLookupTest, FirefoxIconsAreReadFromACopyWithTheLog)
{
    {
        PlacesDatabase places(path("places.sqlite"));
        places.addRoots();
        places.add(10, PlacesDatabase::Bookmark, 3, 0, "New", "https://new.example/");
    }
    // As a running browser holds it: its newest icon only in the log, the file locked.
    FirefoxIconDatabase db(path("favicons.sqlite"));
    db.exec("PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0;");
    db.exec("PRAGMA locking_mode = EXCLUSIVE;");
    db.addIcon(1, "https://new.example/favicon.ico", 32,
               QByteArray("<svg xmlns='http://www.w3.org/2000/svg'/>"));
    db.addPage(1, "https://new.example/", {1});
    ASSERT_GT(QFileInfo(path("favicons.sqlite-wal")).size(), 0);

    std::unique_ptr<SourceIcons> icons;
    const auto links = iconsOf(path("places.sqlite"), icons);
    ASSERT_EQ(links.size(), 1u);
    ASSERT_TRUE(links[0].second);
    EXPECT_EQ(links[0].second->mimeType, "image/svg+xml");
}

TEST_F(IconLookupTest, ChromiumGivesTheBitmapClosestTo32)
{
    writeBytes(path("Bookmarks"),
               R"({"roots": {"bookmark_bar": {"type": "folder", "name": "Bar", "children": [
                   {"type": "url", "name": "A", "url": "https://a.example/"},
                   {"type": "url", "name": "A too", "url": "https://a.example/"},
                   {"type": "url", "name": "B", "url": "https://b.example/x"},
                   {"type": "url", "name": "C", "url": "https://c.example/"}]},
                 "other": {"type": "folder", "children": []},
                 "synced": {"type": "folder", "children": []}}, "version": 1})");
    {
        ChromiumIconDatabase db(path("Favicons"));
        db.addIcon(1, "https://a.example/favicon.ico",
                   {{16, fakePng("a16")}, {32, fakePng("a32")}, {48, fakePng("a48")}});
        db.addIcon(2, "https://b.example/touch.png", {{180, fakePng("b180")}});
        db.addIcon(3, "https://b.example/favicon.ico", {{16, fakePng("b16")}});
        db.mapPage("https://a.example/", 1);
        db.mapPage("https://b.example/x", 2);
        db.mapPage("https://b.example/x", 3);
        // A mapping to an icon whose row is gone.
        db.mapPage("https://c.example/", 9);
        db.exec("INSERT INTO favicon_bitmaps (icon_id, image_data, width) VALUES (9, x'89', 32)");
    }
    std::unique_ptr<SourceIcons> icons;
    const auto links = iconsOf(path("Bookmarks"), icons);
    ASSERT_EQ(links.size(), 4u);
    ASSERT_TRUE(links[0].second);
    EXPECT_EQ(links[0].second->data, fakePng("a32"));
    EXPECT_EQ(links[1].second, links[0].second);
    ASSERT_TRUE(links[2].second);
    EXPECT_EQ(links[2].second->data, fakePng("b16"));
    EXPECT_FALSE(links[3].second);
}

TEST_F(IconLookupTest, MissingOrDamagedIconStoresGiveNoLookupAndAReason)
{
    {
        PlacesDatabase places(path("places.sqlite"));
        places.addRoots();
    }
    QString problem;
    EXPECT_FALSE(openSourceIcons(path("places.sqlite"), problem));
    EXPECT_TRUE(problem.contains(QStringLiteral("favicons.sqlite"))) << problem.toStdString();
    EXPECT_FALSE(problem.contains(QLatin1Char('\n')));

    // Bytes that are no database; a database without the tables; a Chromium file beside an
    // icon database that is Firefox's.
    writeBytes(path("favicons.sqlite"), QByteArray(8192, 'x'));
    EXPECT_FALSE(openSourceIcons(path("places.sqlite"), problem));
    EXPECT_FALSE(problem.isEmpty());
    ASSERT_TRUE(QFile::remove(path("favicons.sqlite")));
    {
        TestDatabase other(path("favicons.sqlite"));
        other.exec("CREATE TABLE moz_icons (id INTEGER PRIMARY KEY);");
    }
    EXPECT_FALSE(openSourceIcons(path("places.sqlite"), problem));
    EXPECT_TRUE(problem.contains(QStringLiteral("not an icon database"))) << problem.toStdString();
    writeBytes(path("Bookmarks"), R"({"roots": {}})");
    {
        FirefoxIconDatabase firefox(path("Favicons"));
    }
    EXPECT_FALSE(openSourceIcons(path("Bookmarks"), problem));

    // A Netscape file keeps no icon store beside it.
    writeBytes(path("bookmarks.html"), "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n</DL>\n");
    EXPECT_FALSE(openSourceIcons(path("bookmarks.html"), problem));
    EXPECT_FALSE(problem.isEmpty());
}

TEST_F(IconLookupTest, ShortcutsGiveTheLocalIconFileTheyName)
{
    const QString tree = path("Favorites");
    ASSERT_TRUE(QDir().mkpath(tree + "/sub"));
    writeBytes(tree + "/sub/site.png", fakePng("site"));
    writeBytes(tree + "/sub/picture.PNG", QByteArray("GIF89a\1\0\1\0"));
    writeBytes(path("shared.ico"), icoFile({{16, bitmap(16, 'a')}, {32, fakePng("shared32")}}));
    writeBytes(path("notes.txt"), fakePng("named as text"));
    writeBytes(path("big.png"), fakePng(QByteArray(int(ShortcutIcons::MaxFileBytes), 'b')));
    ASSERT_EQ(::mkfifo(path("fifo.png").toUtf8().constData(), 0600), 0);
    const auto shortcut = [&](const char *name, const QString &iconFile) {
        writeBytes(tree + "/sub/" + name, "[InternetShortcut]\r\nURL=http://example/\r\n"
                                          "IconFile=" +
                                              iconFile.toUtf8() + "\r\nIconIndex=0\r\n");
    };
    shortcut("1.url", "site.png");                     // beside the shortcut
    shortcut("2.url", path("shared.ico"));             // a path
    shortcut("3.url", "file://" + path("shared.ico")); // a file: address
    shortcut("4.url", "http://example/favicon.ico");   // never fetched
    shortcut("5.url", path("notes.txt"));              // not an icon file's name
    shortcut("6.url", path("fifo.png"));               // no regular file
    shortcut("7.url", path("big.png"));                // too large to read
    shortcut("8.url", "picture.PNG");                  // the bytes tell the type
    shortcut("9.url", path("missing.ico"));
    writeBytes(tree + "/sub/none.url", shortcutBytes("http://example/"));

    std::unique_ptr<SourceIcons> icons;
    const auto links = iconsOf(tree, icons);
    ASSERT_EQ(links.size(), 10u);
    EXPECT_EQ(links[0].first.iconKey, tree + "/sub/site.png");
    ASSERT_TRUE(links[0].second);
    EXPECT_EQ(links[0].second->data, fakePng("site"));
    ASSERT_TRUE(links[1].second);
    EXPECT_EQ(links[1].second->data, fakePng("shared32"));
    EXPECT_EQ(links[1].second->mimeType, "image/png");
    EXPECT_EQ(links[2].first.iconKey, path("shared.ico"));
    EXPECT_EQ(links[2].second, links[1].second);
    EXPECT_EQ(links[3].first.iconKey, QString());
    for (size_t i = 3; i < 7; ++i)
        EXPECT_FALSE(links[i].second) << i;
    ASSERT_TRUE(links[7].second);
    EXPECT_EQ(links[7].second->mimeType, "image/gif");
    EXPECT_FALSE(links[8].second);
    EXPECT_EQ(links[9].first.iconKey, QString());
    EXPECT_FALSE(links[9].second);
}

} // namespace
