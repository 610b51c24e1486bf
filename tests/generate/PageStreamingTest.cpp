// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "generate/PageWriter.h"

#include "support/PageTestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using PageStreamingTest = PageTest;

// With a gauge the tree is walked once more first, for the folder count. The page must not
// tell, and the count must be that of the folders written.
TEST_F(PageStreamingTest, SamePageWithAndWithoutAGauge)
{
    m_job.settings.Document.BVKCommentFlag = true;
    for (int i = 0; i < 40; ++i) {
        const QString folder = QStringList{QStringLiteral("A"), QStringLiteral("A/B"),
                                           QStringLiteral("表示"), QStringLiteral("C/D/E")}[i % 4];
        writeBytes(fav(QStringLiteral("%1/link %2.url").arg(folder).arg(i)),
                   shortcutBytes("http://example.org/" + QByteArray::number(i), "memo"));
    }
    writeBytes(fav(QStringLiteral("Root.url")), shortcutBytes("http://root/"));
    QDir().mkpath(fav(QStringLiteral("Empty")));
    ASSERT_EQ(::symlink("..", QFile::encodeName(fav(QStringLiteral("A/up"))).constData()), 0);

    const QByteArray streamed = page();
    const qint64 links = m_report.links;
    RecordingGauge gauge;
    m_job.progress = &gauge;
    const QByteArray walkedFirst = page();
    EXPECT_EQ(walkedFirst, streamed);
    EXPECT_EQ(links, 41);
    EXPECT_EQ(m_report.links, 41);
    // Root, A, A/B, 表示, C, C/D, C/D/E, Empty.
    EXPECT_EQ(m_report.folders, 8);
    QStringList calls{QStringLiteral("max 7")};
    for (int i = 0; i <= 7; ++i)
        calls.append(QStringLiteral("pos %1").arg(i));
    EXPECT_EQ(gauge.calls, calls);
}

// The page is gathered in a buffer of a fixed size; a line longer than that goes out whole.
TEST_F(PageStreamingTest, LinesLongerThanTheBufferGoOutWhole)
{
    m_job.settings.Document.Title = QString(300000, QLatin1Char('t')) + QStringLiteral("表示");
    m_job.settings.Document.BVKCommentFlag = true;
    for (int i = 0; i < 3000; ++i)
        writeBytes(fav(QStringLiteral("f/%1.url").arg(i, 4, 10, QLatin1Char('0'))),
                   shortcutBytes(QByteArray(1000, 'u'), QByteArray(1000, 'c')));
    const QByteArray bytes = page();
    const QByteArray title =
        "<title>" + QByteArray(300000, 't') + sjis(QStringLiteral("表示")) + "</title>\r\n";
    EXPECT_TRUE(bytes.contains(title));
    EXPECT_EQ(bytes.count("<div class=\"FileList\">\r\n\t<a href=\"" + QByteArray(1000, 'u') +
                          "\" target=\"_blank\">"),
              3000);
    EXPECT_TRUE(bytes.endsWith("</body>\r\n</html>\r\n"));
    EXPECT_EQ(m_report.bytes, bytes.size());
}
