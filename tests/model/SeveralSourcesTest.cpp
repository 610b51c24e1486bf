// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "model/DuplicateFilter.h"
#include "model/MultiSource.h"
#include "model/TreeSource.h"
#include "model/UrlKey.h"

#include <gtest/gtest.h>

namespace {

// A tree of a top folder with links and one sub-folder with links.
std::unique_ptr<LinkSource> treeOf(const QStringList &topUrls, const QString &subName,
                                   const QStringList &subUrls)
{
    LinkTree tree;
    for (const QString &url : topUrls)
        tree.addBookmark(0, url, url);
    const int sub = tree.addFolder(0, subName);
    for (const QString &url : subUrls)
        tree.addBookmark(sub, url, url);
    tree.finish();
    return std::make_unique<TreeSource>(std::move(tree));
}

// Every folder of a source as "path|url url ...".
QStringList drain(LinkSource &source)
{
    QStringList out;
    Link link;
    while (const Folder *folder = source.nextFolder()) {
        QStringList urls;
        while (source.nextLink(link))
            urls.append(link.url);
        out.append(folder->path.join(QLatin1Char('/')) + QLatin1Char('|') +
                   urls.join(QLatin1Char(' ')));
    }
    return out;
}

} // namespace

TEST(UrlKeyTest, LowerCasesSchemeAndHostDropsDefaultPortsAndFillsAnEmptyPath)
{
    EXPECT_EQ(normalisedUrl(u"HTTP://Example.COM"), QStringLiteral("http://example.com/"));
    EXPECT_EQ(normalisedUrl(u"http://example.com:80/A?B#C"),
              QStringLiteral("http://example.com/A?B#C"));
    EXPECT_EQ(normalisedUrl(u"https://EXAMPLE.com:443"), QStringLiteral("https://example.com/"));
    // Only the port that is the scheme's own default goes.
    EXPECT_EQ(normalisedUrl(u"http://example.com:443/"), QStringLiteral("http://example.com:443/"));
    EXPECT_EQ(normalisedUrl(u"https://example.com:80/"), QStringLiteral("https://example.com:80/"));
    EXPECT_EQ(normalisedUrl(u"http://example.com:8080"),
              QStringLiteral("http://example.com:8080/"));
    // An empty path before a query or a fragment.
    EXPECT_EQ(normalisedUrl(u"http://Example.com?Q=1"), QStringLiteral("http://example.com/?Q=1"));
    EXPECT_EQ(normalisedUrl(u"http://Example.com#Top"), QStringLiteral("http://example.com/#Top"));
    // The user's part keeps its case; an IPv6 host keeps its colons.
    EXPECT_EQ(normalisedUrl(u"ftp://User:Pw@Host.Example/x"),
              QStringLiteral("ftp://User:Pw@host.example/x"));
    EXPECT_EQ(normalisedUrl(u"http://[::1]:80"), QStringLiteral("http://[::1]/"));
    EXPECT_EQ(normalisedUrl(u"http://[::1]"), QStringLiteral("http://[::1]/"));
    // Without an authority only the scheme changes; no scheme, nothing.
    EXPECT_EQ(normalisedUrl(u"MAILTO:Someone@Example.COM"),
              QStringLiteral("mailto:Someone@Example.COM"));
    EXPECT_EQ(normalisedUrl(u"Example.com/Path"), QStringLiteral("Example.com/Path"));
    EXPECT_EQ(normalisedUrl(u""), QString());
    // Path case, query and fragment stay as written.
    EXPECT_NE(normalisedUrl(u"http://a/Path"), normalisedUrl(u"http://a/path"));
    EXPECT_NE(normalisedUrl(u"http://a/"), normalisedUrl(u"https://a/"));
}

TEST(SeveralSourcesTest, EachSourceIsATopFolderWithItsFoldersBelow)
{
    std::vector<MultiSource::Part> parts;
    parts.push_back(
        {QStringLiteral("Favorites"), treeOf({QStringLiteral("http://a/")}, QStringLiteral("news"),
                                             {QStringLiteral("http://b/")})});
    parts.push_back({QStringLiteral("Firefox (default)"),
                     treeOf({}, QStringLiteral("toolbar"), {QStringLiteral("http://c/")})});
    MultiSource multi(std::move(parts));
    EXPECT_EQ(multi.folderCount(), 4);
    EXPECT_EQ(drain(multi), (QStringList{QStringLiteral("Favorites|http://a/"),
                                         QStringLiteral("Favorites/news|http://b/"),
                                         QStringLiteral("Firefox (default)|"),
                                         QStringLiteral("Firefox (default)/toolbar|http://c/")}));
    EXPECT_EQ(multi.nextFolder(), nullptr);
    Link link;
    EXPECT_FALSE(multi.nextLink(link));
}

TEST(SeveralSourcesTest, DuplicatesAfterTheFirstAreDroppedAcrossSources)
{
    std::vector<MultiSource::Part> parts;
    parts.push_back({QStringLiteral("one"),
                     treeOf({QStringLiteral("http://Example.com"), QStringLiteral("http://x/A")},
                            QStringLiteral("sub"), {QStringLiteral("http://example.com:80/")})});
    parts.push_back(
        {QStringLiteral("two"), treeOf({QStringLiteral("https://example.com/"),
                                        QStringLiteral("http://x/a"), QStringLiteral("HTTP://X/A")},
                                       QStringLiteral("sub"), {})});
    DuplicateFilter filter(std::make_unique<MultiSource>(std::move(parts)));
    // The first is kept as it was written; https and the path's case make other addresses.
    EXPECT_EQ(drain(filter), (QStringList{QStringLiteral("one|http://Example.com http://x/A"),
                                          QStringLiteral("one/sub|"),
                                          QStringLiteral("two|https://example.com/ http://x/a"),
                                          QStringLiteral("two/sub|")}));
    EXPECT_EQ(filter.dropped(), 2);
}

TEST(SeveralSourcesTest, LinksWithoutAnAddressAreNeverDuplicates)
{
    LinkTree tree;
    tree.addBookmark(0, u"a", u"");
    tree.addBookmark(0, u"b", u"");
    tree.finish();
    DuplicateFilter filter(std::make_unique<TreeSource>(std::move(tree)));
    ASSERT_NE(filter.nextFolder(), nullptr);
    Link link;
    int links = 0;
    while (filter.nextLink(link))
        ++links;
    EXPECT_EQ(links, 2);
    EXPECT_EQ(filter.dropped(), 0);
}
