// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "settings/ProfileFile.h"

#include "platform/ProfileRules.h"
#include "platform/ShiftJis.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class ProfileFileTest : public ::testing::Test
{
protected:
    QString pathOf(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    QString writeFile(const char *name, const QByteArray &bytes) const
    {
        const QString path = pathOf(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ProfileFileTest, ReadsByTheProfileRules)
{
    const QString path = writeFile("a.ini", "; comment\r\n"
                                            "  [ Section ]  \r\n"
                                            "  Key  =  spaced value \t\r\n"
                                            "empty=\r\n"
                                            "key=second occurrence is not used\r\n"
                                            "[other]\r\n"
                                            "Key=other\r\n");
    ProfileFile file(path);
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.value(u"section", u"KEY"), QStringLiteral("spaced value"));
    EXPECT_EQ(file.value(u"SECTION", u"empty"), QString());
    EXPECT_EQ(file.value(u"Other", u"key"), QStringLiteral("other"));
    EXPECT_EQ(file.value(u"Section", u"missing"), std::nullopt);
    EXPECT_EQ(file.value(u"missing", u"Key"), std::nullopt);
}

TEST_F(ProfileFileTest, CutsLongValuesAtWholeCharacters)
{
    QByteArray ascii(3000, 'a');
    // 2046 ASCII bytes and then a double-byte character: the cut must not split it.
    QByteArray japanese = QByteArray(2046, 'b') + toShiftJis(u"表示");
    const QString path = writeFile("long.ini", "[s]\r\nascii=" + ascii + "\r\nsjis=" + japanese);
    ProfileFile file(path);
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.value(u"s", u"ascii")->size(), 2047);
    EXPECT_EQ(*file.value(u"s", u"sjis"), QString(2046, QLatin1Char('b')));
}

TEST_F(ProfileFileTest, FindsBracketsAndKeysInsideDoubleByteNames)
{
    // The second byte of "ソ" is 0x5D (']') in Shift-JIS, and of "表" 0x5C.
    const QString path = writeFile("dbcs.ini", toShiftJis(u"[ソフト]\r\n表示=はい\r\n"));
    ProfileFile file(path);
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.value(u"ソフト", u"表示"), QStringLiteral("はい"));
}

TEST_F(ProfileFileTest, WritesInPlaceAndKeepsEveryOtherLine)
{
    const QByteArray original = "; my notes\r\n"
                                "[Document]\r\n"
                                "Title = old\r\n"
                                "Unknown=kept\r\n"
                                "\r\n"
                                "[Mine]\n"
                                "x=1\n";
    const QString path = writeFile("keep.ini", original);
    ProfileFile file(path);
    ASSERT_TRUE(file.load());
    ASSERT_TRUE(file.write(u"document", u"TITLE", QStringLiteral("new")));
    ASSERT_TRUE(file.write(u"Document", u"Added", QStringLiteral("1")));
    ASSERT_TRUE(file.write(u"Link", u"Size", QStringLiteral("14px")));
    EXPECT_EQ(readFile(path), QByteArray("; my notes\r\n"
                                         "[Document]\r\n"
                                         "Title =new\r\n"
                                         "Unknown=kept\r\n"
                                         "Added=1\r\n"
                                         "\r\n"
                                         "[Mine]\n"
                                         "x=1\n"
                                         "[Link]\r\n"
                                         "Size=14px\r\n"));
}

TEST_F(ProfileFileTest, SwitchesToUtf8WhenAValueDoesNotFitShiftJis)
{
    const QString path = writeFile("utf8.ini", toShiftJis(u"[Document]\r\nTitle=お気に入り\r\n"));
    ProfileFile file(path);
    ASSERT_TRUE(file.load());
    ASSERT_TRUE(file.write(u"Document", u"FavoriteFolder", QStringLiteral("/home/jürgen/Fav")));
    const QByteArray bytes = readFile(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.contains(QStringLiteral("お気に入り").toUtf8()));

    ProfileFile again(path);
    ASSERT_TRUE(again.load());
    EXPECT_TRUE(again.isUtf8());
    EXPECT_EQ(again.value(u"Document", u"FavoriteFolder"), QStringLiteral("/home/jürgen/Fav"));
    EXPECT_EQ(again.value(u"Document", u"Title"), QStringLiteral("お気に入り"));
}

TEST_F(ProfileFileTest, SwitchingToUtf8KeepsLinesThatAreNotShiftJis)
{
    // A broken double-byte character (0x8C alone, 0xFF) cannot be converted; its line is kept
    // byte for byte rather than losing the byte or merging with the next line.
    const QByteArray junk("[\xFF\xFF]\r"
                          "\x8C\n"
                          "Name=\x81");
    // A Japanese line after them is converted all the same.
    const QString path = writeFile(
        "junk.ini", junk + "\r\n[Document]\r\nTitle=" + toShiftJis(u"お気に入り") + "\r\n");
    ProfileFile file(path);
    ASSERT_TRUE(file.load());
    ASSERT_TRUE(file.write(u"Document", u"FavoriteFolder", QStringLiteral("/home/jürgen")));
    const QByteArray bytes = readFile(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF" + junk + "\r\n")) << bytes.toHex(' ').constData();

    ProfileFile again(path);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.value(u"Document", u"FavoriteFolder"), QStringLiteral("/home/jürgen"));
    EXPECT_EQ(again.value(u"Document", u"Title"), QStringLiteral("お気に入り"));
}

TEST_F(ProfileFileTest, AValueStartingWithAByteOrderMarkReadsBack)
{
    ProfileFile file(pathOf("bom-value.ini"));
    ASSERT_TRUE(file.load());
    const QString value = QStringLiteral("\uFEFFvalue");
    ASSERT_TRUE(file.write(u"s", u"k", value));
    ProfileFile again(file.path());
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.value(u"s", u"k"), value);
}

TEST_F(ProfileFileTest, AFailedWriteLeavesTheFileAsItWas)
{
    const QString path = writeFile("ro.ini", "[s]\r\nk=v\r\n");
    QFile::setPermissions(path, QFile::ReadOwner);
    ProfileFile file(path);
    ASSERT_TRUE(file.load());
    EXPECT_FALSE(file.write(u"s", u"k", QStringLiteral("changed")));
    EXPECT_EQ(file.value(u"s", u"k"), QStringLiteral("v"));
    EXPECT_EQ(readFile(path), QByteArray("[s]\r\nk=v\r\n"));

    ProfileFile missingFolder(m_dir.filePath(QStringLiteral("no/such/folder/x.ini")));
    ASSERT_TRUE(missingFolder.load());
    EXPECT_FALSE(missingFolder.write(u"s", u"k", QStringLiteral("v")));
}

TEST_F(ProfileFileTest, ALineBreakInAValueCannotAddLines)
{
    const QString path = pathOf("inject.ini");
    ProfileFile file(path);
    ASSERT_TRUE(file.write(u"s", u"k", QStringLiteral("a\r\n[evil]\nx=1")));
    ProfileFile again(path);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.value(u"evil", u"x"), std::nullopt);
    EXPECT_EQ(again.value(u"s", u"k"), QStringLiteral("a  [evil] x=1"));
}

// Files that make no sense as settings: they load without a crash or hang, and a write keeps
// every line it does not own byte for byte.
TEST_F(ProfileFileTest, SurvivesBadFilesAndKeepsTheirBytes)
{
    const QDir data(QStringLiteral(TALVENSA_TEST_DATA "/settings"));
    QList<QByteArray> samples;
    for (const QString &name : data.entryList({QStringLiteral("bad-*")}, QDir::Files))
        samples.append(readFile(data.filePath(name)));
    ASSERT_GE(samples.size(), 3);
    samples.append(QByteArray("[Document\r\nTitle=x\r\n"));
    samples.append(QByteArray("[Document]\rTitle=cr only\r[Link]\rSize=1px"));
    samples.append(QByteArray("[Document]\nTitle=lf only\n"));
    samples.append(QByteArray("no equals sign\r\n\0\0\0=\r\n[]\r\n=\r\n", 30));
    // Large, but within the size a settings file may have.
    QByteArray big(3 * 1024 * 1024, 'x');
    for (qsizetype i = 100; i < big.size(); i += 997)
        big[i] = (i % 3) ? '\n' : '\0';
    samples.append(big);

    QString crOnlyPath;
    int index = 0;
    for (const QByteArray &bytes : samples) {
        const QString path = writeFile(qPrintable(QStringLiteral("bad%1.ini").arg(index++)), bytes);
        if (bytes.contains("cr only"))
            crOnlyPath = path;
        ProfileFile file(path);
        ASSERT_TRUE(file.load());
        file.value(u"Document", u"Title");
        ASSERT_TRUE(file.write(u"Talvensa", u"Key", QStringLiteral("value")));
        const QByteArray after = readFile(path);
        // Everything that was there is still there, in front of the appended section.
        EXPECT_TRUE(after.startsWith(bytes)) << "sample " << index - 1;
        EXPECT_TRUE(after.endsWith("[Talvensa]\r\nKey=value\r\n")) << "sample " << index - 1;
    }
    // Lines ended by CR alone are still lines.
    ProfileFile crOnly(crOnlyPath);
    ASSERT_TRUE(crOnly.load());
    EXPECT_EQ(crOnly.value(u"Link", u"Size"), QStringLiteral("1px"));
}

TEST_F(ProfileFileTest, AValueInOnePairOfQuotesIsReadWithoutThem)
{
    ProfileFile file(writeFile("q.ini", "[Document]\r\n"
                                        "FavoriteFolder=\"/home/x/Favorites\"\r\n"
                                        "Single=  'it''s'  \r\n"
                                        "Empty=\"\"\r\n"
                                        "Lone=\"\r\n"
                                        "Mixed=\"a'\r\n"
                                        "Open=\"a\r\n"
                                        "Inside=a\"b\"\r\n"
                                        "Twice=\"\"a\"\"\r\n"
                                        "Blanks=\" a \"\r\n"));
    ASSERT_TRUE(file.load());
    const auto value = [&file](const char16_t *key) {
        return file.value(u"Document", QStringView(key)).value_or(QStringLiteral("(none)"));
    };
    EXPECT_EQ(value(u"FavoriteFolder"), QStringLiteral("/home/x/Favorites"));
    EXPECT_EQ(value(u"Single"), QStringLiteral("it''s"));
    EXPECT_EQ(value(u"Empty"), QString());
    // Only a matching pair around the whole value counts, and only one pair goes.
    EXPECT_EQ(value(u"Lone"), QStringLiteral("\""));
    EXPECT_EQ(value(u"Mixed"), QStringLiteral("\"a'"));
    EXPECT_EQ(value(u"Open"), QStringLiteral("\"a"));
    EXPECT_EQ(value(u"Inside"), QStringLiteral("a\"b\""));
    EXPECT_EQ(value(u"Twice"), QStringLiteral("\"a\""));
    EXPECT_EQ(value(u"Blanks"), QStringLiteral(" a "));

    // The quotes go before the cut, so a quoted long value keeps 2047 bytes of its own.
    const QByteArray longValue(3000, 'x');
    ProfileFile quotedLong(writeFile("long.ini", "[S]\r\nK=\"" + longValue + "\"\r\n"));
    ASSERT_TRUE(quotedLong.load());
    EXPECT_EQ(quotedLong.value(u"S", u"K"), QString(ProfileRules::MaxValueBytes, QLatin1Char('x')));
}

TEST_F(ProfileFileTest, AValueWrittenWithItsOwnQuotesReadsBackWithThem)
{
    const QString path = pathOf("w.ini");
    for (const QString &value :
         {QStringLiteral("\"My links\""), QStringLiteral("'a'"), QStringLiteral("\"\""),
          QStringLiteral("  \"padded\"  "), QStringLiteral("\"open"), QStringLiteral("plain")}) {
        ProfileFile file(path);
        ASSERT_TRUE(file.load());
        ASSERT_TRUE(file.write(u"S", u"K", value));
        ProfileFile reread(path);
        ASSERT_TRUE(reread.load());
        EXPECT_EQ(reread.value(u"S", u"K"), value.trimmed()) << value.toStdString();
    }
    // A value that needs no protection is written as it is.
    EXPECT_EQ(readFile(path), QByteArray("[S]\r\nK=plain\r\n"));
}

// Each write replaces the file by a new one: it must still be the user's file as they set it
// up, with its permission bits, and a settings file kept elsewhere behind a symbolic link stays
// behind it.
TEST_F(ProfileFileTest, AReplacedFileKeepsItsPermissionsAndItsSymbolicLink)
{
    for (const mode_t mode : {mode_t(0600), mode_t(0604), mode_t(0660)}) {
        const QString path = writeFile("mode.ini", "[s]\r\nk=v\r\n");
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
        ProfileFile file(path);
        ASSERT_TRUE(file.load());
        ASSERT_TRUE(file.write(u"s", u"k", QStringLiteral("changed")));
        struct stat status;
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, mode);
        EXPECT_EQ(readFile(path), QByteArray("[s]\r\nk=changed\r\n"));
    }

    // A new file is made as any new file of the user's: 0666 less the umask.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    ProfileFile created(pathOf("new.ini"));
    ASSERT_TRUE(created.load());
    ASSERT_TRUE(created.write(u"s", u"k", QStringLiteral("v")));
    struct stat status;
    ASSERT_EQ(::stat(QFile::encodeName(created.path()).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0666 & ~mask);

    ASSERT_TRUE(QDir().mkpath(pathOf("dotfiles")));
    const QString target = writeFile("dotfiles/talvensa.ini", "; mine\r\n[s]\r\nk=v\r\n");
    const QString link = pathOf("talvensa.ini");
    ASSERT_EQ(::symlink("dotfiles/talvensa.ini", QFile::encodeName(link).constData()), 0);
    ProfileFile file(link);
    ASSERT_TRUE(file.load());
    ASSERT_TRUE(file.write(u"s", u"k", QStringLiteral("through the link")));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), QFileInfo(target).absoluteFilePath());
    EXPECT_EQ(readFile(target), QByteArray("; mine\r\n[s]\r\nk=through the link\r\n"));
    // Nothing is left beside either file.
    EXPECT_EQ(QDir(pathOf("dotfiles")).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{QStringLiteral("talvensa.ini")});
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{QStringLiteral("mode.ini"), QStringLiteral("new.ini"),
                           QStringLiteral("talvensa.ini")}));
}
