// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/BookmarkFile.h"

#include "sources/BookmarkMarkup.h"

#include "model/LinkTree.h"
#include "support/PageTestSupport.h"
#include "support/PlacesTestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <gumbo.h>

#include <algorithm>
#include <vector>

#include <sys/stat.h>

// Failures show the text, not its code units.
static void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

class BookmarkFileTest : public ::testing::Test
{
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    // The outline of the page from a file of these bytes; the error text when it gives none.
    QString outline(const QByteArray &bytes, const char *name = "bookmarks")
    {
        writeBytes(path(name), bytes);
        return outlineOf(path(name));
    }
    QString outlineOf(const QString &file)
    {
        QString error;
        const std::unique_ptr<LinkSource> source = openBookmarkFile(file, error);
        if (!source)
            return QStringLiteral("error: ") + error;
        EXPECT_TRUE(error.isEmpty());
        return pageOutline(*source);
    }

    QTemporaryDir m_dir;
};

QByteArray nestedNetscapeFolders(int depth)
{
    QByteArray bytes = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";
    for (int i = 0; i < depth; ++i)
        bytes += "<DT><H3>d</H3>\n<DL><p>\n";
    bytes += "<DT><A HREF=\"http://deep/\">deep</A>\n";
    return bytes;
}

} // namespace

TEST_F(BookmarkFileTest, NetscapeFileReadsAsABrowserReadsItsSloppyMarkup)
{
    // Unclosed <DT> and <p>, attributes in any case and order, entities, a folder's own
    // description holding its list, a bookmarklet, and the browser's empty toolbar container.
    const QByteArray file =
        "  \r\n<!doctype   netscape-bookmark-file-1 >\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
        "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks Menu</H1>\n"
        "<DL><p>\n"
        "    <DT><A add_date=\"1\" HREF=\"http://top.example/\">Top &amp; more</A>\n"
        "    <DT><H3 ADD_DATE=\"1\">Tools</H3>\n"
        "    <DD>tools I use\n"
        "    <DL><p>\n"
        "        <DT><H3>Web</H3>\n"
        "        <DL><p>\n"
        "            <DT><a Href='http://map.example/?q=1&amp;r=2'>&#x5730;&#22259;</a>\n"
        "            <DD>daily &lt;b&gt; use\n"
        "        </DL><p>\n"
        "        <DT><A HREF=\"javascript:alert(&quot;hi&quot;)\">&#39;mark&#39;</A>\n"
        "        <DT><H3>Empty</H3>\n"
        "        <DL><p>\n"
        "        </DL><p>\n"
        "    </DL><p>\n"
        "    <HR>\n"
        "    <DT><A HREF=\"http://second.example/\"></A>\n"
        "    <DT><H3 PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks Toolbar</H3>\n"
        "    <DL><p>\n"
        "        <DT><H3>Nothing here</H3>\n"
        "        <DL><p>\n"
        "        </DL><p>\n"
        "    </DL><p>\n"
        "    <DT><H3 UNFILED_BOOKMARKS_FOLDER=\"true\">Other Bookmarks</H3>\n"
        "    <DL><p>\n"
        "        <DT><A HREF=\"http://other.example/\">other</A>\n"
        "    </DL><p>\n"
        "</DL>\n";
    EXPECT_EQ(outline(file),
              QStringLiteral("[]\n"
                             "  Top & more -> http://top.example/\n"
                             "  http://second.example/ -> http://second.example/\n"
                             "[Tools]\n"
                             "  'mark' -> javascript:alert(\"hi\")\n"
                             "[Tools/Web]\n"
                             "  地図 -> http://map.example/?q=1&r=2 # daily &lt;b&gt; use\n"
                             "[Tools/Empty]\n"
                             "[Other Bookmarks]\n"
                             "  other -> http://other.example/\n"));
}

TEST_F(BookmarkFileTest, LargeNetscapeFileReadsTheSameWhereverItIsCutIntoPieces)
{
    // Folders whose lists run over many megabytes, so every kind of line meets a cut: a link, a
    // description, a folder's heading with its list on the next line, a list's end, and links
    // after an inner folder has ended.
    QByteArray file = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";
    QString expected = QStringLiteral("[]\n");
    QString tail;
    const QByteArray padding(100, 'p');
    for (int outer = 0; outer < 4; ++outer) {
        const QString outerName = QStringLiteral("Outer %1").arg(outer);
        file += "    <DT><H3>" + outerName.toUtf8() + "</H3>\n    <DL><p>\n";
        expected += QLatin1Char('[') + outerName + QStringLiteral("]\n");
        QString inner;
        for (int i = 0; i < 6000; ++i) {
            const QByteArray n = QByteArray::number(i);
            if (i % 1000 == 999) {
                file += "        <DT><H3>Inner " + n +
                        "</H3>\n        <DL><p>\n"
                        "            <DT><A HREF=\"http://in/" +
                        n + "\">in " + n +
                        "</A>\n"
                        "        </DL><p>\n";
                inner += QStringLiteral("[%1/Inner %2]\n  in %2 -> http://in/%2\n")
                             .arg(outerName)
                             .arg(i);
                continue;
            }
            file += "        <DT><A HREF=\"http://x/" + n + "?" + padding + "\">" + n + "</A>\n";
            expected +=
                QStringLiteral("  %1 -> http://x/%1?%2").arg(i).arg(QLatin1StringView(padding));
            if (i % 7 == 0) {
                file += "        <DD>about\n        " + n + "\n";
                expected += QStringLiteral(" # about         %1").arg(i);
            }
            expected += QLatin1Char('\n');
        }
        expected += inner;
        file += "    </DL><p>\n";
    }
    file += "</DL>\n";
    ASSERT_GT(file.size(), 3 * 1024 * 1024);
    EXPECT_EQ(outline(file), expected);
    // On one line, as some exports are, it is cut between its items all the same.
    EXPECT_EQ(outline(QByteArray(file).replace('\n', ' ')), expected);
}

// The deepest the HTML5 parser's tree gets below <body> for markup: how much it keeps open.
static int parsedDepth(const QByteArray &markup)
{
    GumboOutput *output =
        gumbo_parse_with_options(&kGumboDefaultOptions, markup.constData(), size_t(markup.size()));
    int deepest = 0;
    std::vector<std::pair<const GumboNode *, int>> nodes{{output->root, 0}};
    while (!nodes.empty()) {
        const auto [node, depth] = nodes.back();
        nodes.pop_back();
        deepest = std::max(deepest, depth);
        if (node->type != GUMBO_NODE_ELEMENT)
            continue;
        for (unsigned i = 0; i < node->v.element.children.length; ++i)
            nodes.emplace_back(static_cast<const GumboNode *>(node->v.element.children.data[i]),
                               depth + 1);
    }
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return deepest;
}

// Hangs: markup that a file leaves open nests without end in an HTML5 parser, which walks what
// is open for nearly every token, so its time grew with the square of such a file. The parser
// is given the file's items flat: whatever the file, it keeps no more than a folder name with a
// link in it open below <body> (html, body, h3, a and their text), and the file reads the same.
TEST_F(BookmarkFileTest, TheParserIsGivenNothingThatNests)
{
    const QByteArray start = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n";
    QByteArray headings = start, formatting = start + "<DL><p>", tables = start, anchors = start;
    for (int i = 0; i < 900; ++i) { // lists as deep as folders may go, and no deeper
        headings += "<DT><H3>f\n";  // never closed: each would hold the next
        formatting += "<b a=" + QByteArray::number(i) + "><i>x";
        tables += "<table><tr><td><DL><DT><A HREF=\"http://t/\">t";
        anchors += "<DT><A HREF=\"http://a/\"><DD><DL><p>";
    }
    QByteArray attributes = start + "<DL><DT><A HREF=\"http://many/\"";
    for (int i = 0; i < 5000; ++i)
        attributes += " a" + QByteArray::number(i) + "=1";
    attributes += ">many</A>\n";
    for (const QByteArray &file :
         {headings, formatting, tables, anchors, attributes, nestedNetscapeFolders(1000)}) {
        const BookmarkMarkup markup(file, LinkTree::MaxFolderDepth + 8);
        ASSERT_FALSE(markup.tooDeep());
        EXPECT_LE(parsedDepth(markup.bytes()), 5) << file.left(60).toStdString();
    }
    EXPECT_EQ(outline(headings).count(QLatin1Char('[')), 901);
    EXPECT_EQ(outline(attributes), QStringLiteral("[]\n  many -> http://many/\n"));

    // What no bookmark is made of is left out whole; comments stay comments.
    EXPECT_EQ(outline(start +
                      "<TITLE>a <A HREF=\"http://no/\"></TITLE><!-- <A HREF=\"http://no/\"> "
                      "--><SCRIPT>document.write('<A HREF=x>')</SCRIPT>\n<DL><DT><A "
                      "HREF=\"http://yes/\" title='a>b'>yes <b>bold</b> &amp; more</A>"),
              QStringLiteral("[]\n  yes bold & more -> http://yes/\n"));
}

TEST_F(BookmarkFileTest, TextsOutsideAsciiAndShiftJisReachThePageIntact)
{
    // Addresses: outside ASCII percent-encoded as UTF-8 (a surrogate pair as one character),
    // control characters too, so a line stays one line. Titles and captions stay text (the
    // page writes what Shift-JIS cannot hold as numeric references); a description becomes
    // page bytes at once, with "<" and ">" as entities.
    const QByteArray json = R"({"roots": {
        "bookmark_bar": {"name": "Bar \u00e9", "type": "folder", "children": [
            {"type": "url", "name": "Grüße 😀\nline", "url": "http://例え.jp/パス?q=é😀\t"},
            {"type": "url", "name": "half \ud800 pair", "url": "http://x/\ud800"}]}}})";
    EXPECT_EQ(outline(json), QStringLiteral("[]\n"
                                            "[Bar é]\n"
                                            "  Grüße 😀 line -> http://%E4%BE%8B%E3%81%88.jp/"
                                            "%E3%83%91%E3%82%B9?q=%C3%A9%F0%9F%98%80%09\n"
                                            "  half \uFFFD pair -> http://x/%EF%BF%BD\n"));

    // A description is one line of plain text: the page escapes its markup.
    LinkTree tree;
    const Link &described = tree.addBookmark(0, u"t", u"http://x/", u"  <i>Grüße</i> 😀\r\n");
    QByteArray scratch;
    EXPECT_EQ(ClassicPage::commentBytes(described, scratch),
              QByteArray("&lt;i&gt;Gr&#252;&#223;e&lt;/i&gt; &#128512;"));
}

TEST_F(BookmarkFileTest, ChromiumFileGivesItsThreeContainersInTheBrowsersOrder)
{
    // The containers come in the order bookmark_bar, other, synced whatever the file's order;
    // an empty container is left out, an empty folder of the user's is kept; members of the
    // wrong type read as absent and nodes of no known type are passed over.
    const QByteArray json = R"j({"checksum": "x", "version": 1, "roots": {
        "synced": {"children": [], "name": "Mobile bookmarks", "type": "folder"},
        "other": {"children": [
            {"type": "url", "name": "Other one", "url": "https://other.example/"}],
            "name": "Other bookmarks", "type": "folder"},
        "bookmark_bar": {"name": "Bookmarks bar", "type": "folder", "children": [
            {"type": "folder", "name": "News", "children": [
                {"type": "folder", "name": "Empty", "children": []},
                {"type": "url", "name": "Daily", "url": "https://daily.example/"}]},
            {"type": "url", "name": "", "url": "https://untitled.example/"},
            {"type": "url", "name": 12, "url": ["no"]},
            {"type": "folder", "name": "Odd children", "children": {"not": "an array"}},
            {"type": "separator"}, "a string", 7, null,
            {"type": "url", "name": "Last", "url": "javascript:void(0)"}]}}})j";
    EXPECT_EQ(outline(json),
              QStringLiteral("[]\n"
                             "[Bookmarks bar]\n"
                             "  https://untitled.example/ -> https://untitled.example/\n"
                             "   -> \n"
                             "  Last -> javascript:void(0)\n"
                             "[Bookmarks bar/News]\n"
                             "  Daily -> https://daily.example/\n"
                             "[Bookmarks bar/News/Empty]\n"
                             "[Bookmarks bar/Odd children]\n"
                             "[Other bookmarks]\n"
                             "  Other one -> https://other.example/\n"));
}

TEST_F(BookmarkFileTest, DamagedOrForeignFilesGiveAReasonOrWhatCouldBeRead)
{
    // JSON that is cut short, or of another shape, is refused with the reason.
    EXPECT_TRUE(outline(R"({"roots": {"bookmark_bar": {"children": [)")
                    .startsWith(QStringLiteral("error: not valid JSON")));
    EXPECT_EQ(outline(R"({"roots": []})"),
              QStringLiteral("error: JSON without a \"roots\" object"));
    EXPECT_EQ(outline(R"({"other": 1})"), QStringLiteral("error: JSON without a \"roots\" object"));
    // No known kind: the name does not make a file one.
    EXPECT_TRUE(outline("<html><body><a href=x>x</a></body></html>", "bookmarks.html")
                    .startsWith(QStringLiteral("error: neither")));
    EXPECT_TRUE(outline("").startsWith(QStringLiteral("error: neither")));
    EXPECT_TRUE(outline("[1, 2]", "Bookmarks").startsWith(QStringLiteral("error: neither")));
    EXPECT_TRUE(outline(QByteArray("SQLite format 3\0garbage garbage", 31), "places.sqlite")
                    .startsWith(QStringLiteral("error: ")));

    // A Netscape file cut short gives what was read before the cut.
    EXPECT_EQ(outline("<!DOCTYPE NETSCAPE-Bookmark-file-1><DL><p><DT><H3>A</H3><DL><p>"
                      "<DT><A HREF=\"http://a/\">a</A><DT><A HREF=\"http://b"),
              QStringLiteral("[]\n[A]\n  a -> http://a/\n"));

    // Not a regular file: nothing is opened that could block.
    ASSERT_EQ(::mkfifo(path("fifo").toUtf8().constData(), 0600), 0);
    EXPECT_EQ(outlineOf(path("fifo")), QStringLiteral("error: not a regular file"));
    EXPECT_EQ(outlineOf(m_dir.path()), QStringLiteral("error: not a regular file"));
    EXPECT_TRUE(outlineOf(path("missing")).startsWith(QStringLiteral("error: No such file")));
}

TEST_F(BookmarkFileTest, FoldersNestedTooDeepAreRefusedBeforeTheyCostTime)
{
    const QString tooDeep = QStringLiteral("error: folders nested deeper than 1000 levels");
    EXPECT_EQ(outline(nestedNetscapeFolders(10000)), tooDeep);
    EXPECT_EQ(outline(nestedNetscapeFolders(1001)), tooDeep);
    const QString deepest = outline(nestedNetscapeFolders(1000));
    EXPECT_TRUE(deepest.endsWith(QStringLiteral("/d]\n  deep -> http://deep/\n")))
        << deepest.right(80).toStdString();
    EXPECT_EQ(deepest.count(QLatin1Char('[')), 1001);

    // JSON ten thousand deep: the JSON reader's own nesting limit refuses it.
    QByteArray json = R"({"roots": {"other": {"children": [)";
    for (int i = 0; i < 10000; ++i)
        json += R"({"type": "folder", "name": "d", "children": [)";
    json += QByteArray(10000, ']').replace("]", "]}") + "]}}}";
    EXPECT_TRUE(outline(json).startsWith(QStringLiteral("error: not valid JSON")));
}

TEST_F(BookmarkFileTest, PlacesDatabaseGivesTheBrowsersFoldersUnderTheirNames)
{
    {
        PlacesDatabase db(path("places.sqlite"));
        db.addRoots();
        // Rows stored out of position order; the page follows the positions.
        db.add(10, PlacesDatabase::Bookmark, 2, 2, "Third", "http://third.example/");
        db.add(11, PlacesDatabase::Folder, 2, 1, "Sub");
        db.add(12, PlacesDatabase::Bookmark, 2, 0, QString(), "http://untitled.example/");
        db.add(13, PlacesDatabase::Separator, 2, 3, QString());
        db.add(14, PlacesDatabase::Bookmark, 2, 4, "Recent", "place:sort=8&maxResults=10");
        db.add(15, PlacesDatabase::Folder, 11, 0, "Empty");
        db.add(16, PlacesDatabase::Bookmark, 5, 0, "Unfiled ☺", "http://unfiled.example/☺");
        // A tag is a folder under the tags root holding a second row for a bookmarked page.
        db.add(20, PlacesDatabase::Folder, 4, 0, "my tag");
        db.add(21, PlacesDatabase::Bookmark, 20, 0, QString(), "http://third.example/");
        // The description older versions kept as an annotation.
        db.exec("CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY, name TEXT);"
                "CREATE TABLE moz_items_annos (id INTEGER PRIMARY KEY, item_id INTEGER,"
                " anno_attribute_id INTEGER, content TEXT);"
                "INSERT INTO moz_anno_attributes VALUES (1, 'bookmarkProperties/description');"
                "INSERT INTO moz_anno_attributes VALUES (2, 'other');"
                "INSERT INTO moz_items_annos VALUES (1, 10, 1, 'the third');"
                "INSERT INTO moz_items_annos VALUES (2, 16, 2, 'not a description');");
    }
    EXPECT_EQ(outlineOf(path("places.sqlite")),
              QStringLiteral("[]\n"
                             "[Bookmarks Menu]\n"
                             "  http://untitled.example/ -> http://untitled.example/\n"
                             "  Third -> http://third.example/ # the third\n"
                             "[Bookmarks Menu/Sub]\n"
                             "[Bookmarks Menu/Sub/Empty]\n"
                             "[Other Bookmarks]\n"
                             "  Unfiled ☺ -> http://unfiled.example/%E2%98%BA\n"));
}

TEST_F(BookmarkFileTest, PlacesDatabaseIsReadFromACopyWithItsLog)
{
    const QString places = path("places.sqlite");
    const QString temporary = path("tmp");
    ASSERT_TRUE(QDir().mkpath(temporary));
    const QByteArray savedTemporary = qgetenv("TMPDIR");
    qputenv("TMPDIR", temporary.toUtf8());

    // As a running browser holds it: locked for itself, its newest bookmark only in the log.
    PlacesDatabase db(places);
    db.exec("PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0;");
    db.addRoots();
    db.exec("PRAGMA locking_mode = EXCLUSIVE;");
    db.add(10, PlacesDatabase::Bookmark, 3, 0, "Just added", "http://new.example/");
    ASSERT_TRUE(QFileInfo(places + "-wal").size() > 0);
    const QByteArray databaseBefore = readBytes(places);
    const QByteArray logBefore = readBytes(places + "-wal");

    EXPECT_EQ(outlineOf(places),
              QStringLiteral("[]\n[Bookmarks Toolbar]\n  Just added -> http://new.example/\n"));
    // The browser's files are as they were, and the copy is gone.
    EXPECT_EQ(readBytes(places), databaseBefore);
    EXPECT_EQ(readBytes(places + "-wal"), logBefore);
    EXPECT_TRUE(QDir(temporary).isEmpty());

    if (savedTemporary.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", savedTemporary);
}

TEST_F(BookmarkFileTest, DamagedPlacesDatabasesEndWithAReasonOrWhatIsReachable)
{
    // Another SQLite database.
    {
        PlacesDatabase other(path("other.sqlite"));
        other.exec("DROP TABLE moz_bookmarks;");
    }
    EXPECT_TRUE(outlineOf(path("other.sqlite"))
                    .startsWith(QStringLiteral("error: not a Firefox bookmark database")));
    // The right tables without the root.
    {
        PlacesDatabase rootless(path("rootless.sqlite"));
        rootless.add(2, PlacesDatabase::Folder, 1, 0, "menu", QString(), "menu________");
    }
    EXPECT_EQ(outlineOf(path("rootless.sqlite")),
              QStringLiteral("error: not a Firefox bookmark database (no root folder)"));

    // Parent links that go round, and ids that repeat in tables without keys: every folder's
    // contents are read once, and what cannot be reached from the root is not on the page.
    {
        PlacesDatabase looped(path("looped.sqlite"), false);
        looped.addRoots();
        looped.add(10, PlacesDatabase::Folder, 2, 0, "A");
        looped.add(11, PlacesDatabase::Folder, 10, 0, "B");
        looped.add(10, PlacesDatabase::Folder, 11, 0, "A again");
        looped.add(2, PlacesDatabase::Folder, 11, 1, "menu again");
        looped.add(12, PlacesDatabase::Bookmark, 11, 2, "in B", "http://b/");
        looped.add(30, PlacesDatabase::Folder, 31, 0, "island");
        looped.add(31, PlacesDatabase::Folder, 30, 0, "island too");
    }
    EXPECT_EQ(outlineOf(path("looped.sqlite")),
              QStringLiteral("[]\n[Bookmarks Menu]\n[Bookmarks Menu/A]\n[Bookmarks Menu/A/B]\n"
                             "  in B -> http://b/\n"));

    // A chain of folders ten thousand deep.
    {
        PlacesDatabase deep(path("deep.sqlite"));
        deep.addRoots();
        deep.exec("BEGIN");
        for (int i = 0; i < 10000; ++i)
            deep.add(100 + i, PlacesDatabase::Folder, i == 0 ? 2 : 99 + i, 0, "d");
        deep.add(99999, PlacesDatabase::Bookmark, 10099, 0, "deep", "http://deep/");
        deep.exec("COMMIT");
    }
    EXPECT_EQ(outlineOf(path("deep.sqlite")),
              QStringLiteral("error: folders nested deeper than 1000 levels"));

    // A database file cut short.
    {
        PlacesDatabase whole(path("whole.sqlite"));
        whole.addRoots();
        whole.exec("BEGIN");
        for (int i = 0; i < 2000; ++i)
            whole.add(100 + i, PlacesDatabase::Bookmark, 2, i, "b",
                      "http://b/" + QString(200, 'x'));
        whole.exec("COMMIT");
    }
    const QByteArray whole = readBytes(path("whole.sqlite"));
    ASSERT_GT(whole.size(), 100000);
    writeBytes(path("cut.sqlite"), whole.first(whole.size() / 2));
    EXPECT_TRUE(outlineOf(path("cut.sqlite")).startsWith(QStringLiteral("error: ")));
}
