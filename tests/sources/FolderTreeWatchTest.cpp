// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/FolderTreeWatch.h"

#include "platform/FileWatcher.h"
#include "sources/FolderSource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>

namespace {

// Every folder and link of a source as text lines.
QStringList drain(LinkSource &source)
{
    QStringList out;
    Link link;
    while (const Folder *folder = source.nextFolder()) {
        out.append(QStringLiteral("[%1]").arg(folder->path.join(QLatin1Char('/'))));
        while (source.nextLink(link))
            out.append(link.title + QLatin1Char(' ') + link.url +
                       (link.present ? QString() : QStringLiteral(" (gone)")));
    }
    return out;
}

class FolderTreeWatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (int f = 0; f < 10; ++f)
            for (int i = 0; i < 20; ++i)
                write(QStringLiteral("F%1/S/%2.url").arg(f).arg(i),
                      "http://x.example/" + QByteArray::number(f * 100 + i));
        write(QStringLiteral("Top.url"), "http://top.example/");
    }

    QString root() const { return m_dir.path() + QLatin1Char('/'); }
    QString at(const QString &relative) const { return m_dir.filePath(relative); }
    void write(const QString &relative, const QByteArray &url) const
    {
        QDir().mkpath(QFileInfo(at(relative)).path());
        QFile file(at(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[InternetShortcut]\r\nURL=" + url + "\r\n");
    }

    // Takes the changes until the watch has been told of one and no more come for a moment,
    // then refreshes it.
    void settle(FolderTreeWatch &watch)
    {
        std::vector<FileWatcher::Event> events;
        bool told = false;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < deadline) {
            events.clear();
            ASSERT_TRUE(m_watcher.wait(told ? 100 : 1000, events));
            if (events.empty() && told)
                break;
            for (const FileWatcher::Event &event : events)
                told = watch.take(event) || told;
        }
        ASSERT_TRUE(told);
        QString error;
        bool changed = false;
        ASSERT_TRUE(watch.refresh(m_watcher, error, changed)) << error.toStdString();
        EXPECT_TRUE(changed);
    }

    QStringList fresh() const
    {
        FolderSource source(root());
        return drain(source);
    }
    static QStringList held(const FolderTreeWatch &watch) { return drain(*watch.snapshot()); }

    QTemporaryDir m_dir;
    FileWatcher m_watcher;
};

} // namespace

// One changed shortcut is one file read; what is held is always what a fresh walk reads.
TEST_F(FolderTreeWatchTest, AChangeReadsOnlyWhatChanged)
{
    ASSERT_TRUE(m_watcher.isOpen());
    FolderTreeWatch watch(root());
    QString error;
    ASSERT_TRUE(watch.load(m_watcher, error));
    EXPECT_EQ(watch.filesRead(), 201);
    EXPECT_EQ(held(watch), fresh());

    write(QStringLiteral("F3/S/7.url"), "http://changed.example/");
    settle(watch);
    EXPECT_EQ(watch.filesRead(), 202);
    EXPECT_EQ(held(watch), fresh());

    // A file added lists its folder again; the others there are kept, not read.
    write(QStringLiteral("F3/S/new.url"), "http://new.example/");
    settle(watch);
    EXPECT_EQ(watch.filesRead(), 203);
    EXPECT_EQ(held(watch), fresh());

    // A folder renamed within the tree is found again at its new place, and one removed goes.
    ASSERT_TRUE(QDir().rename(at(QStringLiteral("F1")), at(QStringLiteral("F9/Moved"))));
    ASSERT_TRUE(QDir(at(QStringLiteral("F2"))).removeRecursively());
    settle(watch);
    EXPECT_EQ(held(watch), fresh());
    EXPECT_TRUE(held(watch).contains(QStringLiteral("[F9/Moved/S]")));
    // A change inside the moved folder is seen at its new place.
    const qint64 before = watch.filesRead();
    write(QStringLiteral("F9/Moved/S/3.url"), "http://moved.example/");
    settle(watch);
    EXPECT_EQ(watch.filesRead(), before + 1);
    EXPECT_EQ(held(watch), fresh());
}

// Checking everything (after lost changes, or without watches) reads only the files whose size,
// times or inode differ.
TEST_F(FolderTreeWatchTest, CheckingAllReadsOnlyFilesThatDiffer)
{
    FolderTreeWatch watch(root());
    QString error;
    ASSERT_TRUE(watch.load(m_watcher, error));
    write(QStringLiteral("F5/S/1.url"), "http://other-length.example/");
    watch.checkAll();
    bool changed = false;
    ASSERT_TRUE(watch.refresh(m_watcher, error, changed));
    EXPECT_TRUE(changed);
    EXPECT_EQ(watch.filesRead(), 202);
    EXPECT_EQ(held(watch), fresh());
    watch.checkAll();
    ASSERT_TRUE(watch.refresh(m_watcher, error, changed));
    EXPECT_FALSE(changed);
    EXPECT_EQ(watch.filesRead(), 202);
}
