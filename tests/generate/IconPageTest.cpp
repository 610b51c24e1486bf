// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "generate/PageWriter.h"

#include "outputs/PageFormat.h"

#include "support/IconTestSupport.h"
#include "support/PageTestSupport.h"
#include "support/PlacesTestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Pages with icons: what writePage takes from the icon store beside the source and gives to
// the writer of the job's format.
class IconPageTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        m_job.favicons = true;
        m_job.replaceWhole = true;
    }

    QString places() const { return m_dir.filePath(QStringLiteral("places.sqlite")); }
    QString favicons() const { return m_dir.filePath(QStringLiteral("favicons.sqlite")); }

    // Two bookmarks of one page, one of another, one of a page without an icon.
    void writePlaces() const
    {
        PlacesDatabase db(places());
        db.addRoots();
        db.add(10, PlacesDatabase::Bookmark, 3, 0, "First", "https://first.example/");
        db.add(11, PlacesDatabase::Bookmark, 3, 1, "First again", "https://first.example/");
        db.add(12, PlacesDatabase::Bookmark, 3, 2, "Second", "https://second.example/");
        db.add(13, PlacesDatabase::Bookmark, 3, 3, "Plain", "https://plain.example/");
    }
    void writeFavicons() const
    {
        FirefoxIconDatabase db(favicons());
        db.addIcon(1, "https://first.example/favicon.ico", 16, fakePng("first16"));
        db.addIcon(2, "https://first.example/favicon.ico", 32, fakePng("first32"));
        db.addIcon(3, "https://second.example/logo.svg", 65535,
                   "<svg xmlns=\"http://www.w3.org/2000/svg\"><script>alert(1)</script></svg>");
        db.addPage(1, "https://first.example/", {1, 2});
        db.addPage(2, "https://second.example/", {3});
    }

    // Whether the format's writer has been built into this program.
    static bool hasWriter(PageFormat format)
    {
        PageOutput out(-1);
        TGlobalVariant settings;
        return makeDocumentWriter(format, out, settings) != nullptr;
    }
};

TEST_F(IconPageTest, UtfPageHoldsEachIconOnceAsDataAndNothingToRun)
{
    if (!hasWriter(PageFormat::Html))
        GTEST_SKIP() << "no writer for the UTF-8 page in this build";
    writePlaces();
    writeFavicons();
    m_job.sources = {places()};
    m_job.format = PageFormat::Html;
    const QByteArray html = page();
    EXPECT_EQ(m_report.iconWarning, QString());
    EXPECT_EQ(m_report.links, 4);
    const QByteArray first = fakePng("first32").toBase64();
    EXPECT_EQ(html.count(first), 1) << html.constData();
    EXPECT_EQ(html.count(fakePng("first16").toBase64()), 0);
    EXPECT_EQ(html.count("data:image/svg+xml;base64,"), 1);
    // The SVG's script is in the image's data only, never in the page's markup.
    EXPECT_FALSE(html.contains("alert(1)"));
}

TEST_F(IconPageTest, ExportGivesEachLinkWithAnIconItsIconAttribute)
{
    if (!hasWriter(PageFormat::Netscape))
        GTEST_SKIP() << "no writer for the Netscape export in this build";
    writePlaces();
    writeFavicons();
    m_job.sources = {places()};
    m_job.format = PageFormat::Netscape;
    const QByteArray file = page();
    EXPECT_EQ(m_report.iconWarning, QString());
    EXPECT_EQ(file.count("ICON=\"data:image/png;base64," + fakePng("first32").toBase64() + "\""),
              2);
    EXPECT_EQ(file.count("ICON=\"data:image/svg+xml;base64,"), 1);
    EXPECT_EQ(file.count("ICON="), 3);
}

TEST_F(IconPageTest, ShortcutIconFilesReachThePageOnce)
{
    if (!hasWriter(PageFormat::Html))
        GTEST_SKIP() << "no writer for the UTF-8 page in this build";
    writeBytes(fav(QStringLiteral("icons/site.ico")),
               icoFile({{16, fakePng("site16")}, {32, fakePng("site32")}}));
    const QByteArray shortcut = "[InternetShortcut]\r\nURL=http://site.example/\r\n"
                                "IconFile=icons/site.ico\r\n";
    writeBytes(fav(QStringLiteral("a.url")), shortcut);
    writeBytes(fav(QStringLiteral("b.url")), shortcut);
    writeBytes(fav(QStringLiteral("c.url")), "[InternetShortcut]\r\nURL=http://c.example/\r\n"
                                             "IconFile=http://c.example/favicon.ico\r\n");
    m_job.format = PageFormat::Html;
    const QByteArray html = page();
    EXPECT_EQ(m_report.links, 3);
    EXPECT_EQ(m_report.iconWarning, QString());
    EXPECT_EQ(html.count(fakePng("site32").toBase64()), 1);
    EXPECT_FALSE(html.contains(fakePng("site16").toBase64()));
    EXPECT_FALSE(html.contains("c.example/favicon.ico"));
}

TEST_F(IconPageTest, AMissingOrDamagedIconStoreCostsOnlyTheIcons)
{
    writePlaces();
    m_job.sources = {places()};
    for (const PageFormat format : {PageFormat::Html, PageFormat::Netscape}) {
        if (!hasWriter(format))
            continue;
        m_job.format = format;
        QFile::remove(favicons());
        const QByteArray page = this->page();
        EXPECT_EQ(m_report.links, 4);
        EXPECT_TRUE(m_report.iconWarning.contains(favicons()))
            << m_report.iconWarning.toStdString();
        EXPECT_FALSE(page.contains("base64,"));

        writeBytes(favicons(), QByteArray("SQLite format 3\0", 16) + QByteArray(4096, '\xff'));
        const QByteArray damaged = this->page();
        EXPECT_FALSE(m_report.iconWarning.isEmpty());
        EXPECT_FALSE(damaged.contains("base64,"));
    }
}

TEST_F(IconPageTest, ClassicPageAndTheIconStoreAsOutputAreLeftAlone)
{
    writePlaces();
    writeFavicons();
    m_job.sources = {places()};
    // The classic page shows no icons and does not look for them.
    m_job.format = PageFormat::Page;
    const QByteArray withIcons = page();
    EXPECT_EQ(m_report.iconWarning, QString());
    m_job.favicons = false;
    EXPECT_EQ(page(), withIcons);

    // The icon database read with the bookmarks is one of the page's inputs.
    m_job.favicons = true;
    m_job.format = PageFormat::Html;
    const QByteArray before = readBytes(favicons());
    m_job.outputPath = favicons();
    EXPECT_EQ(writePage(m_job).failure, PageWriteReport::Failure::OutputIsInput);
    EXPECT_EQ(readBytes(favicons()), before);
}

} // namespace
