#include "generate/PageWriter.h"

#include "PageTestSupport.h"
#include "generate/PageText.h"
#include "generate/ShortcutReader.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

class CountingGauge final : public ProgressGauge
{
public:
    void setMaximum(int maximum) override { this->maximum = maximum; }
    void setPosition(int position) override { positions.append(position); }
    int maximum = -1;
    QList<int> positions;
};

using PageStreamingTest = PageTest;

} // namespace

// Without a gauge the tree is walked while the page is written; with one it is walked first.
// The page must not tell which.
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
    CountingGauge gauge;
    m_job.progress = &gauge;
    const QByteArray walkedFirst = page();
    EXPECT_EQ(walkedFirst, streamed);
    EXPECT_EQ(links, 41);
    EXPECT_EQ(m_report.links, 41);
    // Root, A, A/B, 表示, C, C/D, C/D/E, Empty.
    EXPECT_EQ(m_report.folders, 8);
    EXPECT_EQ(gauge.maximum, 7);
    EXPECT_EQ(gauge.positions, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7}));
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

// The page reads every file with one reader; what it gives must not depend on the files read
// before.
TEST(ShortcutReaderReuseTest, OneReaderGivesWhatAFreshOneGives)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QList<QByteArray> files = {
        "\xEF\xBB\xBF[InternetShortcut]\r\nURL=http://utf8/\xE2\x9C\x93\r\n[Comment]\r\n"
        "Comment=\xE8\xA1\xA8\xE7\xA4\xBA\r\n",
        shortcutBytes("http://sjis/", sjis(QStringLiteral("表示"))),
        "[InternetShortcut]\r\nURL=" + QByteArray(3000, 'x') + "\r\n",
        "[Comment]\r\nComment=only a comment\r\n",
        "[InternetShortcut]\r\nURL=  \t  \r\n",
        QByteArray(),
        "[InternetShortcut]\r\nURL=last\r\n[Comment]\r\nComment=\tkept\ttabs\t\r\n",
    };
    ShortcutReader reader;
    for (int i = 0; i < files.size(); ++i) {
        const QByteArray path = QFile::encodeName(dir.filePath(QString::number(i)));
        writeBytes(QFile::decodeName(path), files[i]);
        const std::optional<ShortcutReader::Values> fresh =
            ShortcutReader::readFile(path.constData());
        ASSERT_TRUE(fresh);
        reader.reset();
        ASSERT_TRUE(reader.read(path.constData()));
        const ShortcutReader::ValueViews views = reader.valueViews();
        EXPECT_EQ(views.url, fresh->url) << i;
        EXPECT_EQ(views.comment, fresh->comment) << i;
        EXPECT_EQ(reader.values().url, fresh->url) << i;
        EXPECT_EQ(reader.values().comment, fresh->comment) << i;
    }
    reader.reset();
    EXPECT_FALSE(reader.read(QFile::encodeName(dir.filePath(QStringLiteral("gone"))).constData()));
}
