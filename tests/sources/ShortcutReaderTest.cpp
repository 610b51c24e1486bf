// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/ShortcutReader.h"

#include "platform/ProfileRules.h"
#include "support/PageTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace {

ShortcutValues readAll(const QByteArray &bytes)
{
    ShortcutReader reader;
    reader.feed(bytes);
    reader.finish();
    return valuesOf(reader);
}

// The same bytes fed in two pieces, split at every position: the result must not depend on
// where a read ends.
void expectSameInPieces(const QByteArray &bytes)
{
    const ShortcutValues whole = readAll(bytes);
    for (qsizetype split = 0; split <= bytes.size(); ++split) {
        ShortcutReader reader;
        reader.feed(QByteArrayView(bytes).first(split));
        reader.feed(QByteArrayView(bytes).sliced(split));
        reader.finish();
        EXPECT_EQ(valuesOf(reader).url, whole.url) << "split at " << split;
        EXPECT_EQ(valuesOf(reader).comment, whole.comment) << "split at " << split;
    }
}

} // namespace

TEST(ShortcutReaderTest, ReadsBothValuesByTheProfileRules)
{
    const QByteArray file = "[DEFAULT]\r\nBASEURL=http://base/\r\n"
                            "  [ internetshortcut ]  \r\n"
                            "Other=1\r\n"
                            "  url  =   http://example.com/a b  \t\r\n"
                            "URL=http://second/\r\n"
                            "[COMMENT]\nComment=\tdaily use \n"
                            "[InternetShortcut]\rURL=http://later-section/\r";
    const ShortcutValues v = readAll(file);
    EXPECT_EQ(v.url, QByteArray("http://example.com/a b"));
    EXPECT_EQ(v.comment, QByteArray("daily use"));
    expectSameInPieces(file);

    // Keys outside their section, lines without "=", and a missing section give nothing.
    const ShortcutValues none =
        readAll("URL=http://nowhere/\r\n[InternetShortcut]\r\nURL\r\n[Other]\r\nComment=x\r\n");
    EXPECT_TRUE(none.url.isEmpty());
    EXPECT_TRUE(none.comment.isEmpty());
    // "[a=b" with no "]" is a key line, not a section.
    EXPECT_EQ(readAll("[InternetShortcut]\r\n[a=b\r\nURL=u\r\n").url, QByteArray("u"));
}

TEST(ShortcutReaderTest, BlanksInsideAValueKeepTheirBytesWhereverAReadEnds)
{
    // A tab held back at the end of one read is still a tab when the value goes on.
    const QByteArray file = "[Comment]\r\nComment=a\t \tb \t\r\n";
    EXPECT_EQ(readAll(file).comment, QByteArray("a\t \tb"));
    expectSameInPieces(file);
}

TEST(ShortcutReaderTest, KeepsValueBytesAndCutsAtCharacterBoundaries)
{
    // Shift-JIS bytes (表示 holds 0x5C, and "]" appears as a second byte in ソ]-like pairs)
    // come back exactly as stored.
    const QByteArray comment = sjis(QStringLiteral("表示 ソフト")) + "\x81\x5D&<b>\"";
    const QByteArray file = shortcutBytes("http://x/?a=1&b=2", comment);
    EXPECT_EQ(readAll(file).comment, comment);
    expectSameInPieces(file);

    // A section name whose double-byte character ends in "]" (0x81 0x5D) does not close there.
    const QByteArray odd = "[Comment\x81\x5D]\r\nComment=no\r\n[Comment]\r\nComment=yes\r\n";
    EXPECT_EQ(readAll(odd).comment, QByteArray("yes"));

    const QByteArray longAscii(3000, 'a');
    EXPECT_EQ(readAll(shortcutBytes(longAscii)).url, longAscii.first(2047));
    // 2046 bytes and then a double-byte character: the cut leaves the character out whole.
    const QByteArray edge = QByteArray(2046, 'b') + sjis(QStringLiteral("表")) + "tail";
    EXPECT_EQ(readAll(shortcutBytes(edge)).url, edge.first(2046));
    // Blanks inside the kept part stay; blanks at the end of the value are trimmed even after a
    // long run.
    const QByteArray padded = "x" + QByteArray(5000, ' ') + "y";
    EXPECT_EQ(readAll(shortcutBytes(padded)).url, padded.first(2047));
    EXPECT_EQ(readAll(shortcutBytes("z" + QByteArray(5000, ' '))).url, QByteArray("z"));
}

TEST(ShortcutReaderTest, Utf8FileGivesShiftJisValues)
{
    const QByteArray file = "\xEF\xBB\xBF[InternetShortcut]\r\nURL=http://x/\r\n[Comment]\r\n"
                            "Comment=" +
                            QStringLiteral("毎日 jürgen").toUtf8() + "\r\n";
    const ShortcutValues v = readAll(file);
    EXPECT_EQ(v.url, QByteArray("http://x/"));
    EXPECT_EQ(v.comment, sjis(QStringLiteral("毎日 j")) + "&#252;rgen");
    expectSameInPieces(file);
    // Only a whole mark switches: two of its bytes are ordinary bytes.
    EXPECT_EQ(readAll("\xEF\xBB[InternetShortcut]\r\nURL=u\r\n").url, QByteArray());
}

TEST(ShortcutReaderTest, JunkAndOversizedFilesGiveBoundedValues)
{
    QByteArray junk;
    for (int i = 0; i < 256; ++i)
        junk += char(i);
    const ShortcutValues binary = readAll(junk.repeated(50));
    EXPECT_LE(binary.url.size(), 2047);
    EXPECT_LE(binary.comment.size(), 2047);

    // A file of several megabytes, its value on a line longer than any buffer.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.url"));
    const QByteArray huge = QByteArray(3 << 20, 'h');
    writeBytes(path, QByteArray(1 << 20, '\n') + "[InternetShortcut]\r\nURL=" + huge + "\r\n" +
                         "[Comment]\r\nComment=" + huge + "\r\n");
    const std::optional<ShortcutValues> v = readShortcut(QFile::encodeName(path));
    ASSERT_TRUE(v);
    EXPECT_EQ(v->url, huge.first(2047));
    EXPECT_EQ(v->comment, huge.first(2047));

    EXPECT_FALSE(readShortcut(QFile::encodeName(dir.filePath("gone.url"))));
}

TEST(ShortcutReaderTest, ReadingAFifoDoesNotWait)
{
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("x.url")));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    // Opened without blocking: no writer means no values, at once.
    const std::optional<ShortcutValues> v = readShortcut(fifo);
    ASSERT_TRUE(v);
    EXPECT_TRUE(v->url.isEmpty());
}

TEST(ShortcutReaderTest, AValueInOnePairOfQuotesLosesThemWhereverAReadEnds)
{
    const QByteArray file = "[InternetShortcut]\r\nURL= \"http://a/\" \r\n"
                            "[Comment]\r\nComment='daily \"use\"'\r\n";
    EXPECT_EQ(readAll(file).url, QByteArray("http://a/"));
    EXPECT_EQ(readAll(file).comment, QByteArray("daily \"use\""));
    expectSameInPieces(file);

    const auto url = [](const QByteArray &value) {
        return readAll("[InternetShortcut]\r\nURL=" + value + "\r\n").url;
    };
    EXPECT_EQ(url("\"\""), QByteArray());
    EXPECT_EQ(url("\""), QByteArray("\""));
    EXPECT_EQ(url("\"http://a/'"), QByteArray("\"http://a/'"));
    EXPECT_EQ(url("http://a/\"b\""), QByteArray("http://a/\"b\""));

    // Long values: the closing quote lies far beyond the bytes the reader keeps. A quoted value
    // keeps 2047 bytes of its own, an unquoted one keeps its opening quote.
    const QByteArray body(5000, 'x');
    EXPECT_EQ(url("\"" + body + "\"  "), QByteArray(ProfileRules::MaxValueBytes, 'x'));
    EXPECT_EQ(url("\"" + body + "\" x"), "\"" + QByteArray(ProfileRules::MaxValueBytes - 1, 'x'));
    EXPECT_EQ(url("\"" + body), "\"" + QByteArray(ProfileRules::MaxValueBytes - 1, 'x'));
    // A double-byte character across the cut is left out whole after the quote is dropped.
    const QByteArray kanji = "\x95\x5C"; // 表, second byte 0x5C
    const QByteArray sjis = "\"" + QByteArray(ProfileRules::MaxValueBytes - 1, 'x') + kanji + "\"";
    EXPECT_EQ(url(sjis), QByteArray(ProfileRules::MaxValueBytes - 1, 'x'));
    expectSameInPieces("[InternetShortcut]\r\nURL=\"" + body + "\"\r\n");
}

// The page reads every file with one reader; what it gives must not depend on the files read
// before.
TEST(ShortcutReaderTest, OneReaderGivesWhatAFreshOneGives)
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
        const std::optional<ShortcutValues> fresh = readShortcut(path);
        ASSERT_TRUE(fresh);
        reader.reset();
        ASSERT_TRUE(reader.read(path.constData()));
        const ShortcutValues values = valuesOf(reader);
        EXPECT_EQ(values.url, fresh->url) << i;
        EXPECT_EQ(values.comment, fresh->comment) << i;
    }
    reader.reset();
    EXPECT_FALSE(reader.read(QFile::encodeName(dir.filePath(QStringLiteral("gone"))).constData()));
}

TEST(ShortcutReaderTest, UnicodeAddressOfTheWideSectionIsUsedWhenWellFormed)
{
    // Windows keeps "?" for what its code page cannot hold, and the address itself in UTF-7.
    const QByteArray file = "[InternetShortcut]\r\nURL=http://example.com/????\r\n"
                            "[InternetShortcut.A]\r\nURL=http://example.com/????\r\n"
                            "[InternetShortcut.W]\r\nURL=http://example.com/+ZeVnLIqe-?q=+-1 \r\n"
                            "[Comment]\r\nComment=note\r\n";
    const ShortcutValues v = readAll(file);
    EXPECT_EQ(v.url, QByteArray("http://example.com/%E6%97%A5%E6%9C%AC%E8%AA%9E?q=+1"));
    EXPECT_EQ(v.comment, QByteArray("note"));
    expectSameInPieces(file);

    // Malformed UTF-7 (a byte outside ASCII, an encoded run that breaks off), an empty value
    // or a section without URL: the address of [InternetShortcut].
    for (const QByteArray &wide :
         {QByteArray("URL=http://x/\x93\xFA\r\n"), QByteArray("URL=+ZeVn!\r\n"),
          QByteArray("URL=\r\n"), QByteArray("Other=1\r\n")}) {
        EXPECT_EQ(readAll("[InternetShortcut.W]\r\n" + wide +
                          "[InternetShortcut]\r\nURL=http://ansi/\r\n")
                      .url,
                  QByteArray("http://ansi/"))
            << wide.constData();
    }
}

TEST(ShortcutReaderTest, Utf16FileWithAByteOrderMarkIsRead)
{
    const QString text = QStringLiteral("[InternetShortcut]\r\nURL=http://例え.jp/\r\n"
                                        "[Comment]\r\nComment=毎日 😀\r\n");
    QByteArray little("\xFF\xFE");
    QByteArray big("\xFE\xFF");
    for (const QChar c : text) {
        little += char(c.unicode() & 0xFF);
        little += char(c.unicode() >> 8);
        big += char(c.unicode() >> 8);
        big += char(c.unicode() & 0xFF);
    }
    for (const QByteArray &file : {little, big}) {
        const ShortcutValues v = readAll(file);
        EXPECT_EQ(v.url, sjis(QStringLiteral("http://例え.jp/")));
        EXPECT_EQ(v.comment, sjis(QStringLiteral("毎日 ")) + "&#128512;");
        expectSameInPieces(file);
    }
    // Without the mark the bytes are taken as they are; a lone first byte of a mark is a byte.
    EXPECT_TRUE(readAll(little.sliced(2)).url.isEmpty());
    EXPECT_EQ(readAll("\xFF[InternetShortcut]\r\nURL=u\r\n").url, QByteArray(""));
    EXPECT_EQ(readAll("\xFE\r\n[InternetShortcut]\r\nURL=u\r\n").url, QByteArray("u"));
}

// Hangs: a device put in place of a listed shortcut file (a link to /dev/zero, which never
// ends) is read no further than one buffer, and gives no values. Run in a child process that
// an alarm stops if the read does not end. A reader that reads no dates looks at the file's kind
// only once the first buffer is full, and must stop there all the same.
TEST(ShortcutReaderTest, ADeviceInPlaceOfTheFileEndsTheRead)
{
    for (const bool dates : {true, false}) {
        EXPECT_EXIT(
            {
                ::alarm(20);
                ShortcutReader reader;
                reader.setReadsDates(dates);
                if (!reader.read("/dev/zero"))
                    std::_Exit(10);
                const ShortcutReader::ValueViews views = reader.valueViews();
                std::_Exit(
                    views.url.isEmpty() && views.comment.isEmpty() && views.modified == 0 ? 0 : 11);
            },
            ::testing::ExitedWithCode(0), "")
            << "dates read: " << dates;
    }
}
