// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/ReadAhead.h"

#include "support/PageTestSupport.h"
#include "sources/FolderFiles.h"
#include "sources/FolderSource.h"
#include "sources/FolderTreeWalk.h"
#include "sources/FileKindMatch.h"
#include "sources/FolderWalk.h"
#include "platform/ProfileRules.h"
#include "sources/PathText.h"
#include "sources/ShortcutReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What the page gets for one link: its title, its address and comment as page bytes, and its
// date (the file's modification time).
struct PageLink
{
    bool present = false;
    QString title;
    QByteArray url;
    QByteArray comment;
    qint64 modified = 0;
    bool operator==(const PageLink &) const = default;
};

// Prints a link when a comparison fails.
void PrintTo(const PageLink &link, std::ostream *os)
{
    *os << (link.present ? "" : "(gone) ") << link.title.toStdString() << " <"
        << link.url.left(60).toStdString() << "> [" << link.comment.left(60).toStdString() << "]";
}

struct Section
{
    QString caption;
    std::vector<PageLink> links;
    bool operator==(const Section &) const = default;
};

void PrintTo(const Section &section, std::ostream *os)
{
    *os << "section \"" << section.caption.toStdString() << "\", " << section.links.size()
        << " links";
}

PageLink pageLinkOf(const Link &link)
{
    if (!link.present)
        return {false, link.title, {}, {}, 0};
    const ShortcutValues values = pageValuesOf(link);
    EXPECT_EQ(link.added, link.modified);
    return {true, link.title, values.url, values.comment, link.modified};
}

PageLink linkOf(std::optional<ShortcutReader::ValueViews> values, const QString &title = {})
{
    Link link;
    link.title = title;
    if (values)
        ShortcutReader::fillLink(*values, link);
    else
        link.present = false;
    return pageLinkOf(link);
}

// The tree read one file after another: the walk, and each file read as its turn comes.
std::vector<Section> readOneAfterAnother(const QString &root)
{
    std::vector<Section> sections;
    FolderTreeWalk walk(root, "*.url", AllFileKinds);
    while (std::optional<FolderTreeWalk::Folder> folder = walk.next()) {
        Section section{FolderCaption(folder->path, root), {}};
        for (const FolderFiles::Entry &entry : folder->files->entries()) {
            ShortcutReader reader;
            const bool present = reader.read(entry.nativeName, folder->files->fd());
            section.links.push_back(
                linkOf(present ? std::optional(reader.valueViews()) : std::nullopt,
                       ShortcutTitle(entry.name).toString()));
        }
        sections.push_back(std::move(section));
    }
    return sections;
}

// The tree as the folder source gives it. With takeAtMost, only that many links of each folder
// are asked for; the rest are passed over.
std::vector<Section> readThroughSource(FolderSource &source, size_t takeAtMost = SIZE_MAX)
{
    std::vector<Section> sections;
    Link link;
    while (const Folder *folder = source.nextFolder()) {
        Section section{folder->path.join(QLatin1Char('/')), {}};
        while (section.links.size() < takeAtMost && source.nextLink(link))
            section.links.push_back(pageLinkOf(link));
        sections.push_back(std::move(section));
    }
    return sections;
}

// A window of a cold cache; with batchFiles, the readers read runs of that many files at once
// where the system can.
ReadAhead::Window coldWindow(int files, qsizetype bytes, int readers, int batchFiles = 1)
{
    ReadAhead::Window window;
    window.files = files;
    window.bytes = bytes;
    window.readers = readers;
    window.batchReaders = readers;
    window.batchFiles = batchFiles;
    window.cold = true;
    return window;
}

class ReadAheadTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString root() const { return m_dir.filePath(QStringLiteral("Fav/")); }
    QString fav(const QString &relative) const { return root() + relative; }
    QByteArray native(const QString &relative) const { return QFile::encodeName(fav(relative)); }

    QTemporaryDir m_dir;
};

} // namespace

// Whatever the window and the number of readers, and whether they read ahead or not, the source
// gives what reading one file after another gives: the same folders, the same links in the same
// order, with the same values.
TEST_F(ReadAheadTest, GivesWhatReadingOneFileAfterAnotherGives)
{
    // Folders of very different sizes, empty ones, one with more files than a window holds, and
    // files of every kind the reader meets.
    for (int i = 0; i < 300; ++i) {
        const QString folder =
            QStringList{QStringLiteral(""), QStringLiteral("A/"), QStringLiteral("A/B/"),
                        QStringLiteral("表示/"), QStringLiteral("C/D/E/")}[i % 5];
        writeBytes(
            fav(QStringLiteral("%1link %2.url").arg(folder).arg(i)),
            shortcutBytes("http://example.org/" + QByteArray::number(i),
                          i % 3 ? QByteArray("memo ") + QByteArray::number(i) : QByteArray()));
    }
    for (int i = 0; i < 700; ++i)
        writeBytes(fav(QStringLiteral("Many/%1.url").arg(i)),
                   shortcutBytes("http://many/" + QByteArray::number(i)));
    QDir().mkpath(fav(QStringLiteral("Empty/Deeper/Still")));
    writeBytes(fav(QStringLiteral("Odd/utf8.url")),
               "\xEF\xBB\xBF[InternetShortcut]\r\nURL=http://ü/\r\n[Comment]\r\nComment=😀\r\n");
    writeBytes(fav(QStringLiteral("Odd/empty.url")), QByteArray());
    writeBytes(fav(QStringLiteral("Odd/garbage.url")),
               QByteArray::fromRawData("\0\x01\xFF not ini", 11));
    writeBytes(fav(QStringLiteral("Odd/long.url")),
               shortcutBytes(QByteArray(5000, 'u'), QByteArray(5000, 'c')));
    // The values at the end of a large file, after more than one read's worth of other lines.
    writeBytes(fav(QStringLiteral("Odd/large.url")),
               QByteArray("[Other]\r\n") + QByteArray(200000, 'x') + "\r\n" +
                   shortcutBytes("http://large/", "at the end"));
    ASSERT_EQ(::mkfifo(native(QStringLiteral("Odd/fifo.url")).constData(), 0644), 0);
    ASSERT_EQ(::symlink("..", native(QStringLiteral("A/up")).constData()), 0);

    const std::vector<Section> expected = readOneAfterAnother(root());
    ASSERT_EQ(expected.size(), 12u);

    const std::vector<ReadAhead::Window> windows = {
        ReadAhead::Window(), // as the program reads: the tree is in memory here
        [] {
            ReadAhead::Window window; // as it reads a tree on disk
            window.cold = true;
            return window;
        }(),
        coldWindow(1, 1 << 20, 1),        // one file at a time
        coldWindow(3, 100, 2),            // a byte budget smaller than one file's values
        coldWindow(7, 1 << 20, 0),        // no reader thread at all
        coldWindow(1000, 1 << 20, 40),    // more readers than files in most folders
        coldWindow(1000, 1 << 20, 3, 16), // runs of files read at once
        coldWindow(5, 1 << 20, 2, 4),     // runs cut short by the window
        coldWindow(3, 100, 2, 3),         // and by the byte budget
    };
    for (const ReadAhead::Window &window : windows) {
        SCOPED_TRACE(testing::Message() << "window " << window.files << " files, " << window.bytes
                                        << " bytes, " << window.readers << " readers, runs of "
                                        << window.batchFiles << ", cold " << window.cold);
        FolderSource source(root(), window);
        EXPECT_EQ(readThroughSource(source), expected);

        // Asking for the count first (a gauge) walks the tree once more, and changes nothing.
        FolderSource counted(root(), window);
        QStringList folders;
        GetFolderTree(root(), folders);
        EXPECT_EQ(counted.folderCount(), folders.size());
        EXPECT_EQ(readThroughSource(counted), expected);

        // Links that are not asked for are passed over, and the next folders' links stay in
        // their places.
        FolderSource skipping(root(), window);
        const std::vector<Section> firstTwo = readThroughSource(skipping, 2);
        ASSERT_EQ(firstTwo.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const std::vector<PageLink> &all = expected[i].links;
            EXPECT_EQ(
                firstTwo[i].links,
                std::vector<PageLink>(all.begin(), all.begin() + std::min<size_t>(2, all.size())));
        }
    }
}

// A file is read when a reader comes to it, which may be long after its folder was listed. What
// is read then is what reading it at that moment gives: a file gone, a FIFO or a folder in its
// place (also one that a writer holds open, with nothing to read), a file grown or emptied, a
// link that cannot be followed.
TEST_F(ReadAheadTest, FilesChangedBetweenListingAndReading)
{
    const QStringList names = {QStringLiteral("a gone.url"),    QStringLiteral("b fifo.url"),
                               QStringLiteral("c folder.url"),  QStringLiteral("d grown.url"),
                               QStringLiteral("e emptied.url"), QStringLiteral("f loop.url"),
                               QStringLiteral("g kept.url"),    QStringLiteral("h held.url")};
    for (const QString &name : names)
        writeBytes(fav(name), shortcutBytes("http://" + QFile::encodeName(name).left(1) + "/"));
    const FolderFiles listed(root(), "*.url", AllFileKinds);
    ASSERT_EQ(listed.entries().size(), size_t(names.size()));

    ASSERT_TRUE(QFile::remove(fav(names[0])));
    ASSERT_TRUE(QFile::remove(fav(names[1])));
    ASSERT_EQ(::mkfifo(native(names[1]).constData(), 0644), 0);
    ASSERT_TRUE(QFile::remove(fav(names[2])));
    ASSERT_TRUE(QDir().mkpath(fav(names[2])));
    {
        QFile grown(fav(names[3]));
        ASSERT_TRUE(grown.open(QIODevice::Append));
        grown.write(QByteArray(50000, ';') + "\r\n[Comment]\r\nComment=added later\r\n");
    }
    writeBytes(fav(names[4]), QByteArray());
    ASSERT_TRUE(QFile::remove(fav(names[5])));
    ASSERT_EQ(::symlink("f loop.url", native(names[5]).constData()), 0);
    ASSERT_TRUE(QFile::remove(fav(names[7])));
    ASSERT_EQ(::mkfifo(native(names[7]).constData(), 0644), 0);
    const int heldOpen = ::open(native(names[7]).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(heldOpen, 0);

    std::vector<PageLink> expected;
    for (const FolderFiles::Entry &entry : listed.entries()) {
        ShortcutReader reader;
        expected.push_back(linkOf(reader.read(entry.nativeName, listed.fd())
                                      ? std::optional(reader.valueViews())
                                      : std::nullopt));
    }
    // What each of them gives, so that the comparison below compares something.
    const std::vector<PageLink> plain = {
        {false, {}, {}, {}},         {true, {}, {}, {}},
        {true, {}, {}, {}},          {true, {}, "http://d/", "added later"},
        {true, {}, {}, {}},          {true, {}, {}, {}},
        {true, {}, "http://g/", {}}, {true, {}, {}, {}},
    };
    std::vector<PageLink> undated = expected;
    for (PageLink &link : undated)
        link.modified = 0;
    EXPECT_EQ(undated, plain);

    for (const ReadAhead::Window &window :
         {ReadAhead::Window(), coldWindow(4, 1 << 20, 3), coldWindow(64, 1 << 20, 16),
          coldWindow(64, 1 << 20, 2, 7)}) {
        SCOPED_TRACE(testing::Message() << window.readers << " readers, runs of "
                                        << window.batchFiles << ", cold " << window.cold);
        ReadAhead readAhead(window);
        std::vector<PageLink> read;
        size_t queued = 0;
        while (read.size() < listed.entries().size()) {
            while (queued < listed.entries().size() &&
                   readAhead.add(listed.fd(), listed.entries()[queued].nativeName))
                ++queued;
            read.push_back(linkOf(readAhead.take()));
        }
        EXPECT_EQ(read, expected);
    }
    ::close(heldOpen);
}

// A file that keeps growing while it is read: its URL, in its first line, is read whole, and the
// read ends.
TEST_F(ReadAheadTest, FileGrowingWhileItIsRead)
{
    const QString path = fav(QStringLiteral("growing.url"));
    writeBytes(path, shortcutBytes("http://growing/"));
    writeBytes(fav(QStringLiteral("next.url")), shortcutBytes("http://next/"));
    const FolderFiles listed(root(), "*.url", AllFileKinds);
    ASSERT_EQ(listed.entries().size(), 2u);

    std::atomic<bool> stop = false;
    std::thread writer([&] {
        QFile file(path);
        if (!file.open(QIODevice::Append))
            return;
        const QByteArray line = QByteArray(1000, ';') + "\r\n";
        for (int i = 0; i < 2000 && !stop; ++i) {
            file.write(line);
            file.flush();
        }
        file.write("[Comment]\r\nComment=late\r\n");
    });
    for (int round = 0; round < 20; ++round) {
        ReadAhead readAhead(coldWindow(2, 1 << 20, 2, round % 2 ? 2 : 1));
        ASSERT_TRUE(readAhead.add(listed.fd(), listed.entries()[0].nativeName));
        ASSERT_TRUE(readAhead.add(listed.fd(), listed.entries()[1].nativeName));
        const std::optional<ShortcutReader::ValueViews> growing = readAhead.take();
        ASSERT_TRUE(growing);
        EXPECT_EQ(growing->url, "http://growing/");
        // Either the comment was not written yet, or it was: never a part of another line.
        EXPECT_TRUE(QByteArrayView("late").startsWith(growing->comment))
            << growing->comment.toByteArray().toStdString();
        const std::optional<ShortcutReader::ValueViews> next = readAhead.take();
        ASSERT_TRUE(next);
        EXPECT_EQ(next->url, "http://next/");
    }
    stop = true;
    writer.join();
}

// Files whose values are as long as they may be fill the byte budget long before the count of
// files: the window moves on by its bytes, and every file's values come whole and in order.
TEST_F(ReadAheadTest, HugeFilesPassThroughAWindowOfFewBytes)
{
    constexpr int Files = 60;
    for (int i = 0; i < Files; ++i)
        writeBytes(
            fav(QStringLiteral("huge %1.url").arg(i, 2, 10, QLatin1Char('0'))),
            shortcutBytes(QByteArray::number(i) + QByteArray(10000, 'u'), QByteArray(10000, 'c')) +
                QByteArray(20000, '\n'));
    const FolderFiles listed(root(), "*.url", AllFileKinds);
    ASSERT_EQ(listed.entries().size(), size_t(Files));

    constexpr qsizetype Budget = 16 * 1024;
    constexpr int Readers = 4;
    for (const int batchFiles : {1, 8}) {
        SCOPED_TRACE(testing::Message() << "runs of " << batchFiles);
        ReadAhead readAhead(coldWindow(Files, Budget, Readers, batchFiles));
        int queued = 0;
        for (int taken = 0; taken < Files; ++taken) {
            while (queued < Files &&
                   readAhead.add(listed.fd(), listed.entries()[queued].nativeName))
                ++queued;
            const std::optional<ShortcutReader::ValueViews> values = readAhead.take();
            ASSERT_TRUE(values);
            EXPECT_TRUE(values->url.startsWith(QByteArray::number(taken) + "uuu"));
            EXPECT_EQ(values->url.size(), ProfileRules::MaxValueBytes);
            EXPECT_EQ(values->comment, QByteArray(ProfileRules::MaxValueBytes, 'c'));
        }
    }
}
