// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/FileKindMatch.h"
#include "sources/FolderWalk.h"

#include "support/PageTestSupport.h"
#include "sources/FolderFiles.h"
#include "platform/FileKinds.h"
#include "platform/NameCollation.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class FolderWalkTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString root() const { return m_dir.path() + QLatin1Char('/'); }
    QString path(const QString &relative) const { return root() + relative; }
    void mkdir(const QString &relative) const { ASSERT_TRUE(QDir().mkpath(path(relative))); }
    void touch(const QString &relative) const { writeBytes(path(relative), "[x]\r\n"); }

    // The list with the root taken off every entry, for short expectations.
    QStringList relative(const QStringList &list) const
    {
        QStringList out;
        for (const QString &entry : list)
            out.append(entry.startsWith(root()) ? entry.mid(root().size()) : entry);
        return out;
    }

    // The names of the "*.url" files of a folder below the root, as a page lists them.
    QStringList listed(const QString &folder = QString(), TFileKinds kinds = AllFileKinds) const
    {
        const FolderFiles files(path(folder), "*.url", kinds);
        QStringList names;
        for (const FolderFiles::Entry &entry : files.entries())
            names.append(entry.name);
        return names;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(FolderWalkTest, WalksFoldersInPreOrderWithEachSubtreeTogether)
{
    mkdir(QStringLiteral("B"));
    mkdir(QStringLiteral("A/A1"));
    mkdir(QStringLiteral("A/A2/deep"));
    QStringList tree;
    GetFolderTree(root(), tree);
    const QStringList got = relative(tree);
    ASSERT_EQ(got.size(), 6);
    EXPECT_EQ(got[0], QString());
    // Siblings keep the file system's order; each is followed by its own sub-tree.
    const qsizetype a = got.indexOf(QStringLiteral("A/"));
    const qsizetype b = got.indexOf(QStringLiteral("B/"));
    ASSERT_GE(a, 1);
    ASSERT_GE(b, 1);
    QStringList aTree = got.mid(a, 4);
    EXPECT_EQ(aTree[0], QStringLiteral("A/"));
    aTree.removeFirst();
    aTree.sort();
    EXPECT_EQ(aTree, (QStringList{QStringLiteral("A/A1/"), QStringLiteral("A/A2/"),
                                  QStringLiteral("A/A2/deep/")}));
    EXPECT_EQ(got.indexOf(QStringLiteral("A/A2/deep/")), got.indexOf(QStringLiteral("A/A2/")) + 1);
    EXPECT_TRUE(b == 1 ? a == 2 : b == 5);
}

TEST_F(FolderWalkTest, EmptyAndMissingRootsAreTheOnlyFolder)
{
    QStringList tree;
    GetFolderTree(root(), tree);
    EXPECT_EQ(tree, QStringList{root()});
    EXPECT_TRUE(listed().isEmpty());

    tree.clear();
    GetFolderTree(path(QStringLiteral("missing/")), tree);
    EXPECT_EQ(tree, QStringList{path(QStringLiteral("missing/"))});
    EXPECT_TRUE(listed(QStringLiteral("missing/")).isEmpty());
}

TEST_F(FolderWalkTest, SortsShortcutsIgnoringCaseAndKeepsCaseVariants)
{
    for (const char *name :
         {"b.url", "A.url", "c.URL", "news.url", "News.url", "notes.txt", "x.url2", "表示.url"})
        touch(QString::fromUtf8(name));
    mkdir(QStringLiteral("folder.url")); // a folder is never a file
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("A.url"), QStringLiteral("b.url"),
                                     QStringLiteral("c.URL"), QStringLiteral("News.url"),
                                     QStringLiteral("news.url"), QStringLiteral("表示.url")}));
}

TEST_F(FolderWalkTest, CollationIsLocaleAwareAndNeverDropsDistinctNames)
{
    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::Japanese, QLocale::Japan),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        const QStringList names{QStringLiteral("news.url"), QStringLiteral("b.url"),
                                QStringLiteral("News.url"), QStringLiteral("a.url"),
                                QStringLiteral("B.url")};
        const std::vector<QStringView> views(names.begin(), names.end());
        QStringList sorted;
        for (const qsizetype i : NameCollation(locale).sortedOrder(views))
            sorted.append(names[i]);
        EXPECT_EQ(sorted, (QStringList{QStringLiteral("a.url"), QStringLiteral("B.url"),
                                       QStringLiteral("b.url"), QStringLiteral("News.url"),
                                       QStringLiteral("news.url")}))
            << locale.name().toStdString();
    }
}

TEST_F(FolderWalkTest, HiddenFoldersAreNotWalkedButHiddenFilesAreListed)
{
    mkdir(QStringLiteral(".hidden/below"));
    touch(QStringLiteral(".hidden/secret.url"));
    mkdir(QStringLiteral("shown"));
    touch(QStringLiteral(".dot.url"));
    touch(QStringLiteral("shown/.url"));
    QStringList tree;
    GetFolderTree(root(), tree);
    EXPECT_EQ(relative(tree), (QStringList{QString(), QStringLiteral("shown/")}));
    EXPECT_EQ(listed(), QStringList{QStringLiteral(".dot.url")});
    EXPECT_EQ(listed(QStringLiteral("shown/")), QStringList{QStringLiteral(".url")});
}

TEST_F(FolderWalkTest, SymbolicLinkLoopsEndAndNoFolderIsWalkedTwice)
{
    mkdir(QStringLiteral("A/B"));
    mkdir(QStringLiteral("C"));
    ASSERT_EQ(::symlink(QFile::encodeName(root()).constData(),
                        QFile::encodeName(path(QStringLiteral("A/B/up"))).constData()),
              0);
    ASSERT_EQ(::symlink("../C", QFile::encodeName(path(QStringLiteral("A/toC"))).constData()), 0);
    ASSERT_EQ(::symlink("B", QFile::encodeName(path(QStringLiteral("A/self"))).constData()), 0);
    QStringList tree;
    GetFolderTree(root(), tree);
    // Four distinct folders, each once, whichever path reached it first.
    EXPECT_EQ(tree.size(), 4);
    QStringList got = relative(tree);
    EXPECT_EQ(got.first(), QString());
    EXPECT_TRUE(got.contains(QStringLiteral("A/")));
    EXPECT_EQ(got.filter(QStringLiteral("up/")).size(), 0);
    EXPECT_TRUE(got.contains(QStringLiteral("C/")) != got.contains(QStringLiteral("A/toC/")));
    EXPECT_TRUE(got.contains(QStringLiteral("A/B/")) != got.contains(QStringLiteral("A/self/")));
}

TEST_F(FolderWalkTest, FifosAndDevicesAreNeverListed)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("x.url"))).constData(), 0644), 0);
    touch(QStringLiteral("y.url"));
    ASSERT_EQ(::symlink("/dev/null", QFile::encodeName(path(QStringLiteral("z.url"))).constData()),
              0);
    ASSERT_EQ(::symlink("y.url", QFile::encodeName(path(QStringLiteral("link.url"))).constData()),
              0);
    ASSERT_EQ(
        ::symlink("gone", QFile::encodeName(path(QStringLiteral("dangling.url"))).constData()), 0);
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("link.url"), QStringLiteral("y.url")}));

    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(path(QStringLiteral("x.url"))).constData(), &st), 0);
    EXPECT_EQ(attributeWord(st, "x.url"), FileAttribute::Normal);
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_EQ(attributeWord(st, "null"), FileAttribute::Normal);
}

TEST_F(FolderWalkTest, AttributeWordFollowsKindOwnerWriteBitAndName)
{
    touch(QStringLiteral("plain.url"));
    touch(QStringLiteral(".hidden.url"));
    touch(QStringLiteral("locked.url"));
    ASSERT_EQ(::chmod(QFile::encodeName(path(QStringLiteral("locked.url"))).constData(), 0444), 0);
    mkdir(QStringLiteral("dir"));
    auto attributes = [&](const char *name) {
        struct stat st;
        EXPECT_EQ(::stat(QFile::encodeName(path(QString::fromUtf8(name))).constData(), &st), 0);
        return attributeWord(st, name);
    };
    EXPECT_EQ(attributes("plain.url"), 32u);
    EXPECT_EQ(attributes(".hidden.url"), 34u);
    EXPECT_EQ(attributes("locked.url"), 33u);
    EXPECT_EQ(attributes("dir"), 16u);

    // Only read-only files are asked for: the plain one is left out.
    EXPECT_EQ(listed(QString(), fkReadOnly), QStringList{QStringLiteral("locked.url")});
}

TEST(FileKindsTest, MatchFileKindsDecidesInItsOrder)
{
    EXPECT_FALSE(MatchFileKinds(AllFileKinds, 16));      // directory
    EXPECT_FALSE(MatchFileKinds(AllFileKinds, 16 | 32)); // directory wins over archive
    EXPECT_FALSE(MatchFileKinds(AllFileKinds, 8 | 1));   // volume label
    EXPECT_TRUE(MatchFileKinds(AllFileKinds, 0));
    EXPECT_FALSE(MatchFileKinds(AllFileKinds & ~TFileKinds(fkNormal), 0));
    EXPECT_FALSE(MatchFileKinds(AllFileKinds, 128)); // a FIFO, socket or device
    EXPECT_TRUE(MatchFileKinds(AllFileKinds, 128 | 32));
    EXPECT_TRUE(MatchFileKinds(fkReadOnly, 1 | 128));
    EXPECT_FALSE(MatchFileKinds(fkReadOnly, 32));
    EXPECT_TRUE(MatchFileKinds(fkHidden, 2 | 32));
    EXPECT_TRUE(MatchFileKinds(fkSysFile, 4));
    EXPECT_FALSE(MatchFileKinds(fkArchive, 1 | 2 | 4));
    EXPECT_EQ(AllFileKinds.toInt(), 31);
}

TEST(FileKindsTest, NamePatternsIgnoreAsciiCase)
{
    EXPECT_TRUE(matchesNamePattern("News.URL", "*.url"));
    EXPECT_TRUE(matchesNamePattern(".url", "*.url"));
    EXPECT_FALSE(matchesNamePattern("x.url2", "*.url"));
    EXPECT_FALSE(matchesNamePattern("xurl", "*.url"));
    EXPECT_TRUE(matchesNamePattern("a.b.url", "*.*"));
    EXPECT_TRUE(matchesNamePattern("abc", "a?c"));
    EXPECT_FALSE(matchesNamePattern("ac", "a?c"));
    EXPECT_TRUE(matchesNamePattern("aXbXc", "a*b*c"));
}
