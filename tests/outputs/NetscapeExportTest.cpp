// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "outputs/NetscapeExport.h"

#include "model/LinkIcon.h"
#include "model/LinkTree.h"
#include "model/TreeSource.h"
#include "outputs/PageFormat.h"
#include "support/PageTestSupport.h"

#include <QRegularExpression>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// An icon store of the test's own: links whose address holds "icon" have one, the same bytes
// for each; asked links are counted.
class FakeIcons final : public IconLookup
{
public:
    const LinkIcon *iconFor(const Link &link) override
    {
        ++asked;
        return link.url.contains(QLatin1StringView("icon")) ? &m_icon : nullptr;
    }
    int asked = 0;

private:
    LinkIcon m_icon{QByteArray("\x89PNG\r\n\x1A\n", 8), "image/png"};
};

class NetscapeExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_settings = defaultSettings(m_dir);
    }

    // The export of a tree, written as the page writer drives a writer: each folder in the
    // source's order with its links.
    QByteArray exportOf(LinkTree tree, IconLookup *icons = nullptr)
    {
        tree.finish();
        TreeSource source(std::move(tree));
        QTemporaryFile file(m_dir.filePath(QStringLiteral("export-XXXXXX")));
        EXPECT_TRUE(file.open());
        {
            PageOutput out(int(file.handle()));
            const auto writer = makeDocumentWriter(PageFormat::Netscape, out, m_settings, icons);
            EXPECT_NE(writer, nullptr);
            writer->begin();
            Link link;
            while (const Folder *folder = source.nextFolder()) {
                writer->beginFolder(*folder);
                while (source.nextLink(link))
                    writer->link(link);
                writer->endFolder();
            }
            writer->end();
            EXPECT_TRUE(out.flush());
        }
        return readBytes(file.fileName());
    }

    QTemporaryDir m_dir;
    TGlobalVariant m_settings;
};

// A tree with what an export must carry: nesting three deep, Japanese names, the characters
// of markup, emoji, empty folders, a toolbar folder, descriptions, dates in and out of range.
LinkTree awkwardTree()
{
    LinkTree tree;
    Link &top = tree.addBookmark(0, u"トップ & \"引用\"", u"https://example.jp/?a=1&b=\"2\"");
    top.added = 1600000000;
    top.modified = 1700000000;
    const int bar = tree.addFolder(0, u"Bookmarks bar", true);
    tree.folder(bar).toolbar = true;
    tree.folder(bar).added = 1500000000;
    tree.addBookmark(bar, u"<script>alert(1)</script>", u"https://icon.example/");
    const int japanese = tree.addFolder(bar, u"日本語フォルダ <大> & 小");
    const int deep = tree.addFolder(japanese, u"深い 🎉");
    Link &emoji = tree.addBookmark(deep, u"絵文字 😀", u"https://例え.jp/パス", u"説明 <b>太字</b>");
    emoji.added = qint64(1) << 32; // past what the format holds: no date
    emoji.modified = -5;
    tree.addFolder(japanese, u"空のフォルダ");
    tree.addFolder(0, u"");
    const int last = tree.addFolder(0, u"Other");
    tree.addBookmark(last, u"", u"https://untitled.example/");
    return tree;
}

} // namespace

// Chromium's importer reads the file line by line, case-sensitively: every line is one of the
// forms it knows, each folder heading is followed by its list on a line of its own, and the
// lists close in order.
TEST_F(NetscapeExportTest, EveryLineFollowsTheImportersLineRules)
{
    const QByteArray bytes = exportOf(awkwardTree());
    ASSERT_FALSE(bytes.contains('\r'));
    const QString text = QString::fromUtf8(bytes);
    ASSERT_EQ(text.toUtf8(), bytes) << "not UTF-8";
    const QStringList lines = text.split(QLatin1Char('\n'));

    EXPECT_EQ(lines.value(0), QStringLiteral("<!DOCTYPE NETSCAPE-Bookmark-file-1>"));
    EXPECT_TRUE(lines.contains(
        QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">")));

    // Element text with no raw markup character and no entity but the four.
    const QString textPart = QStringLiteral("(?:[^<>\"&]|&amp;|&lt;|&gt;|&quot;)*");
    const QRegularExpression heading(QStringLiteral("^ *<DT><H3(?: ADD_DATE=\"\\d+\")?"
                                                    "(?: LAST_MODIFIED=\"\\d+\")?"
                                                    "(?: PERSONAL_TOOLBAR_FOLDER=\"true\")?>") +
                                     textPart + QStringLiteral("</H3>$"));
    const QRegularExpression anchor(
        QStringLiteral("^ *<DT><A HREF=\"[^\"<> ]*\""
                       "(?: ADD_DATE=\"\\d+\")?"
                       "(?: LAST_MODIFIED=\"\\d+\")?"
                       "(?: ICON=\"data:[a-z/]+;base64,[A-Za-z0-9+/=]+\")?>") +
        textPart + QStringLiteral("</A>$"));
    const QRegularExpression description(QStringLiteral("^ *<DD>") + textPart +
                                         QStringLiteral("$"));
    const QRegularExpression listStart(QStringLiteral("^ *<DL><p>$"));
    const QRegularExpression listEnd(QStringLiteral("^ *</DL><p>$"));

    const qsizetype body = lines.indexOf(QStringLiteral("<DL><p>"));
    ASSERT_GT(body, 0);
    int open = 0;
    int headings = 0;
    int anchors = 0;
    for (qsizetype i = body; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (heading.match(line).hasMatch()) {
            ++headings;
            ASSERT_TRUE(i + 1 < lines.size() && listStart.match(lines[i + 1]).hasMatch())
                << line.toStdString();
        } else if (listStart.match(line).hasMatch()) {
            ++open;
        } else if (listEnd.match(line).hasMatch()) {
            ASSERT_GT(open, 0);
            if (--open == 0) {
                EXPECT_EQ(i, lines.size() - 2) << "text after the last list";
            }
        } else if (anchor.match(line).hasMatch()) {
            ++anchors;
        } else if (!description.match(line).hasMatch() &&
                   !(line.isEmpty() && i == lines.size() - 1)) {
            ADD_FAILURE() << "line " << i << ": " << line.toStdString();
        }
    }
    EXPECT_EQ(open, 0);
    EXPECT_EQ(headings, 6);
    EXPECT_EQ(anchors, 4);

    // Escapes, dates and the toolbar mark where they belong.
    EXPECT_TRUE(bytes.contains("    <DT><A HREF=\"https://example.jp/?a=1&b=%222%22\" "
                               "ADD_DATE=\"1600000000\" LAST_MODIFIED=\"1700000000\">"
                               "トップ &amp; &quot;引用&quot;</A>\n"));
    EXPECT_TRUE(
        bytes.contains("    <DT><H3 ADD_DATE=\"1500000000\" PERSONAL_TOOLBAR_FOLDER=\"true\">"
                       "Bookmarks bar</H3>\n    <DL><p>\n"));
    EXPECT_TRUE(bytes.contains(">&lt;script&gt;alert(1)&lt;/script&gt;</A>\n"));
    EXPECT_TRUE(bytes.contains("<DT><H3>日本語フォルダ &lt;大&gt; &amp; 小</H3>\n"));
    // Nested, not flat: the deep folder is indented inside both of its parents' lists.
    EXPECT_TRUE(bytes.contains("\n                <DT><A HREF=\"https://例え.jp/パス\">"
                               "絵文字 😀</A>\n"
                               "                <DD>説明 &lt;b&gt;太字&lt;/b&gt;\n"));
    EXPECT_TRUE(
        bytes.contains("<DT><H3>空のフォルダ</H3>\n            <DL><p>\n            </DL><p>\n"));
    // A link without a title is written with its address, as every reader shows it.
    EXPECT_TRUE(bytes.contains(">https://untitled.example/</A>\n"));
}

TEST_F(NetscapeExportTest, IconsAreDataAddressesWhereTheLookupHasOne)
{
    LinkTree tree;
    tree.addBookmark(0, u"With", u"https://icon.example/");
    tree.addBookmark(0, u"Without", u"https://plain.example/");
    tree.addBookmark(0, u"Again", u"https://icon.example/again");
    FakeIcons icons;
    const QByteArray bytes = exportOf(std::move(tree), &icons);
    EXPECT_EQ(icons.asked, 3);
    EXPECT_TRUE(bytes.contains("<DT><A HREF=\"https://icon.example/\" "
                               "ICON=\"data:image/png;base64,iVBORw0KGgo=\">With</A>\n"));
    EXPECT_TRUE(bytes.contains("<DT><A HREF=\"https://plain.example/\">Without</A>\n"));
    EXPECT_EQ(bytes.count("ICON="), 2);

    // No lookup, no icon.
    LinkTree again;
    again.addBookmark(0, u"With", u"https://icon.example/");
    EXPECT_FALSE(exportOf(std::move(again)).contains("ICON"));
}

TEST_F(NetscapeExportTest, TitlesComeFromTheSettings)
{
    m_settings.Document.Title = QStringLiteral("私の <リンク>");
    m_settings.Title.Title = QString();
    const QByteArray bytes = exportOf(LinkTree());
    EXPECT_TRUE(bytes.contains("\n<TITLE>私の &lt;リンク&gt;</TITLE>\n<H1>Bookmarks</H1>\n"));
    EXPECT_TRUE(bytes.endsWith("\n<DL><p>\n</DL><p>\n"));
}
