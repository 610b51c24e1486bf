#include "generate/FolderWalk.h"

#include "PageTestSupport.h"
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
    QStringList files;
    GetFileList(root() + QStringLiteral("*.url"), AllFileKinds, files);
    EXPECT_TRUE(files.isEmpty());

    tree.clear();
    GetFolderTree(path(QStringLiteral("missing/")), tree);
    EXPECT_EQ(tree, QStringList{path(QStringLiteral("missing/"))});
    GetFileList(path(QStringLiteral("missing/*.url")), AllFileKinds, files);
    EXPECT_TRUE(files.isEmpty());
}

TEST_F(FolderWalkTest, SortsShortcutsIgnoringCaseAndKeepsCaseVariants)
{
    for (const char *name :
         {"b.url", "A.url", "c.URL", "news.url", "News.url", "notes.txt", "x.url2", "表示.url"})
        touch(QString::fromUtf8(name));
    mkdir(QStringLiteral("folder.url")); // a folder is never a file
    QStringList files;
    GetFileList(root() + QStringLiteral("*.url"), AllFileKinds, files);
    EXPECT_EQ(relative(files),
              (QStringList{QStringLiteral("A.url"), QStringLiteral("b.url"),
                           QStringLiteral("c.URL"), QStringLiteral("News.url"),
                           QStringLiteral("news.url"), QStringLiteral("表示.url")}));
}

TEST_F(FolderWalkTest, CollationIsLocaleAwareAndNeverDropsDistinctNames)
{
    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::Japanese, QLocale::Japan),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        const NameCollation collation(locale);
        QStringList list{QStringLiteral("/f/news.url"), QStringLiteral("/f/b.url"),
                         QStringLiteral("/f/News.url"), QStringLiteral("/f/a.url"),
                         QStringLiteral("/f/B.url"),    QStringLiteral("/f/a.url")};
        collation.sortUnique(list);
        EXPECT_EQ(list, (QStringList{QStringLiteral("/f/a.url"), QStringLiteral("/f/B.url"),
                                     QStringLiteral("/f/b.url"), QStringLiteral("/f/News.url"),
                                     QStringLiteral("/f/news.url")}))
            << locale.name().toStdString();
        EXPECT_LT(collation.compare(u"a", u"B"), 0);
        EXPECT_NE(collation.compare(u"News", u"news"), 0);
        EXPECT_EQ(collation.compare(u"News", u"News"), 0);
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
    QStringList files;
    GetFileList(root() + QStringLiteral("*.url"), AllFileKinds, files);
    EXPECT_EQ(relative(files), QStringList{QStringLiteral(".dot.url")});
    files.clear();
    GetFileList(path(QStringLiteral("shown/*.url")), AllFileKinds, files);
    EXPECT_EQ(relative(files), QStringList{QStringLiteral("shown/.url")});
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
    QStringList files;
    GetFileList(root() + QStringLiteral("*.url"), AllFileKinds, files);
    EXPECT_EQ(relative(files), (QStringList{QStringLiteral("link.url"), QStringLiteral("y.url")}));

    EXPECT_EQ(fileAttributes(QFile::encodeName(path(QStringLiteral("x.url"))).constData()),
              FileAttribute::Normal);
    EXPECT_EQ(fileAttributes("/dev/null"), FileAttribute::Normal);
}

TEST_F(FolderWalkTest, AttributeWordFollowsKindOwnerWriteBitAndName)
{
    touch(QStringLiteral("plain.url"));
    touch(QStringLiteral(".hidden.url"));
    touch(QStringLiteral("locked.url"));
    ASSERT_EQ(::chmod(QFile::encodeName(path(QStringLiteral("locked.url"))).constData(), 0444), 0);
    mkdir(QStringLiteral("dir"));
    auto attributes = [&](const char *name) {
        return fileAttributes(QFile::encodeName(path(QString::fromUtf8(name))).constData());
    };
    EXPECT_EQ(attributes("plain.url"), 32u);
    EXPECT_EQ(attributes(".hidden.url"), 34u);
    EXPECT_EQ(attributes("locked.url"), 33u);
    EXPECT_EQ(attributes("dir"), 16u);
    EXPECT_EQ(attributes("dir/"), 16u);
    EXPECT_EQ(attributes("missing"), std::nullopt);

    // Only read-only files are asked for: the plain one is left out.
    QStringList files;
    GetFileList(root() + QStringLiteral("*.url"), fkReadOnly, files);
    EXPECT_EQ(relative(files), QStringList{QStringLiteral("locked.url")});
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
