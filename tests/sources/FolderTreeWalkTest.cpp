// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/FolderTreeWalk.h"

#include "support/PageTestSupport.h"
#include "sources/FolderFiles.h"
#include "sources/FileKindMatch.h"
#include "sources/FolderWalk.h"
#include "platform/NameCollation.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void makeLink(const char *target, const QString &at)
{
    ASSERT_EQ(::symlink(target, QFile::encodeName(at).constData()), 0) << at.toStdString();
}

} // namespace

// The page is written from one read of each folder, and the gauge's count comes from
// GetFolderTree: both must give the same folders in the same order. Each folder comes with its
// "*.url" files, FIFOs, folders and dangling links left out, each file opening by its native name.
TEST(FolderTreeWalkTest, GivesTheFoldersOfGetFolderTreeWithTheirShortcutFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path() + QStringLiteral("/Fav/");
    for (const char *file :
         {"b.url", "A.url", "c.URL", "news.url", "News.url", "notes.txt", "Tools/Web/deep.url",
          "Tools/x.url", "表示/表示.url", "表示/Ärger.url", "表示/ärger.url", ".hidden/never.url",
          "Tools/.shown.url", "Empty/Sub/z.url"})
        writeBytes(root + QString::fromUtf8(file), shortcutBytes("http://x/"));
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("folder.url")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(root + QStringLiteral("fifo.url")).constData(), 0644), 0);
    makeLink("..", root + QStringLiteral("Tools/up"));
    makeLink("../b.url", root + QStringLiteral("Tools/linked.url"));
    makeLink("gone", root + QStringLiteral("Tools/dangling.url"));
    const QMap<QString, QStringList> expectedFiles = {
        {QString(), {"A.url", "b.url", "c.URL", "news.url", "News.url"}},
        {"Tools/", {".shown.url", "linked.url", "x.url"}},
        {"Tools/Web/", {"deep.url"}},
        {"表示/", {"表示.url", "Ärger.url", "ärger.url"}},
        {"Empty/", {}},
        {"Empty/Sub/", {"z.url"}},
        {"folder.url/", {}},
    };

    QStringList tree;
    GetFolderTree(root, tree);
    ASSERT_EQ(tree.size(), expectedFiles.size());

    FolderTreeWalk walk(root, "*.url", AllFileKinds);
    for (const QString &expected : std::as_const(tree)) {
        const std::optional<FolderTreeWalk::Folder> folder = walk.next();
        ASSERT_TRUE(folder) << expected.toStdString();
        EXPECT_EQ(folder->path, expected);

        QStringList files;
        for (const FolderFiles::Entry &entry : folder->files->entries()) {
            files.append(entry.name);
            struct stat st;
            EXPECT_EQ(::fstatat(folder->files->fd(), entry.nativeName, &st, 0), 0)
                << entry.nativeName;
        }
        files.sort(); // the order is checked where the files are sorted
        QStringList want = expectedFiles.value(expected.mid(root.size()), {"(no such folder)"});
        want.sort();
        EXPECT_EQ(files, want) << expected.toStdString();
    }
    EXPECT_FALSE(walk.next());

    // A root that does not exist is still the one folder, with no files.
    FolderTreeWalk missing(root + QStringLiteral("missing/"), "*.url", AllFileKinds);
    const std::optional<FolderTreeWalk::Folder> only = missing.next();
    ASSERT_TRUE(only);
    EXPECT_EQ(only->path, root + QStringLiteral("missing/"));
    EXPECT_TRUE(only->files->entries().empty());
    EXPECT_EQ(only->files->fd(), -1);
    EXPECT_FALSE(missing.next());
}

// In the C locale the order is that of the case-folded names (then of the names themselves);
// the names are folded character by character without a QString each.
TEST(NameCollationTest, CLocaleOrderFollowsCaseFoldedText)
{
    const QStringList names = {
        QStringLiteral("b"),
        QStringLiteral("B"),
        QStringLiteral("ä"),
        QStringLiteral("Ä"),
        QStringLiteral("z"),
        QStringLiteral("ß"),
        QStringLiteral("SS"),
        QStringLiteral("Σίσυφος"),
        QStringLiteral("σίσυφος"),
        QStringLiteral("ΣΊΣΥΦΟΣ"),
        QStringLiteral("表示"),
        QStringLiteral("ａｂｃ"),
        QStringLiteral("ＡＢＣ"),
        QStringLiteral("İ"),
        QStringLiteral("i"),
        QString::fromUtf8("\xF0\x90\x90\x80"), // DESERET CAPITAL LONG I, folds to U+10428
        QString::fromUtf8("\xF0\x90\x90\xA8"),
        QString::fromUtf8("\xEF\xBD\x9A"),            // FULLWIDTH z, above the surrogates
        QString(QChar(0xDC95)) + QStringLiteral("x"), // an escaped byte of a file name
        QStringLiteral(""),
        QStringLiteral("a b"),
        QStringLiteral("A B")};
    std::vector<QStringView> views(names.begin(), names.end());
    const std::vector<qsizetype> order = NameCollation(QLocale::c()).sortedOrder(views);

    QStringList expected = names;
    std::sort(expected.begin(), expected.end(), [](const QString &a, const QString &b) {
        const int folded = a.toCaseFolded().compare(b.toCaseFolded());
        return folded != 0 ? folded < 0 : a.compare(b) < 0;
    });
    QStringList got;
    for (const qsizetype i : order)
        got.append(names[i]);
    EXPECT_EQ(got, expected);
}
