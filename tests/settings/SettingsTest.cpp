// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "settings/GlobalVariant.h"

#include "platform/ShiftJis.h"
#include "platform/SpecialFolders.h"
#include "settings/ColorText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        setHomeFolderOverride(m_dir.filePath(QStringLiteral("home")));
        SettingsFilePath = m_dir.filePath(QStringLiteral("talvensa.ini"));
        GlobalVariant = TGlobalVariant();
    }
    void TearDown() override { setHomeFolderOverride(QString()); }

    void writeSettings(const QByteArray &bytes) const
    {
        QFile file(SettingsFilePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray readSettings()
    {
        QFile file(SettingsFilePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString favorites() const { return m_dir.filePath(QStringLiteral("home/Favorites")); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(SettingsTest, NoFileGivesEveryDefault)
{
    LoadSettings();
    const TGlobalVariant &g = GlobalVariant;
    EXPECT_EQ(g.FavoriteFolder, favorites());
    EXPECT_EQ(g.Document.Title, QStringLiteral("お気に入り一覧"));
    EXPECT_EQ(g.Document.BackColor, 0xFFFFFFu);
    EXPECT_FALSE(g.Document.BVKCommentFlag);
    EXPECT_EQ(g.Document.BVK.Font, NoFontSpecified);
    EXPECT_EQ(g.Document.BVK.Size, QStringLiteral("12px"));
    EXPECT_EQ(g.Document.BVK.Color, 0u);
    EXPECT_EQ(g.Document.Link.Font, NoFontSpecified);
    EXPECT_EQ(g.Document.Link.Size, QStringLiteral("14px"));
    EXPECT_EQ(g.Document.Link.LinkColor, 0xFF0000u);
    EXPECT_EQ(g.Document.Link.VisitedColor, 0xFF0000u);
    EXPECT_EQ(g.Document.Link.HoverColor, 0xFF0000u);
    EXPECT_EQ(g.Document.Link.ActiveColor, 0xFF0000u);
    EXPECT_FALSE(g.Document.Link.UnderbarFlag);
    EXPECT_TRUE(g.Document.Link.BackColorFlag);
    EXPECT_EQ(g.Document.Link.BackColor, 0x00FFFFu);
    EXPECT_FALSE(g.Document.Link.OpenRightWindowFlag);
    EXPECT_EQ(g.Title.Title, QStringLiteral("Favorite"));
    EXPECT_EQ(g.Title.Font, NoFontSpecified);
    EXPECT_EQ(g.Title.Size, QStringLiteral("20px"));
    EXPECT_EQ(g.Title.Color, 0x408000u);
    EXPECT_TRUE(g.Title.Bold);
    EXPECT_FALSE(g.Title.Italic);
    EXPECT_EQ(g.Folder.Font, NoFontSpecified);
    EXPECT_EQ(g.Folder.Size, QStringLiteral("16px"));
    EXPECT_EQ(g.Folder.Color, 0x0000FFu);
    EXPECT_FALSE(g.Folder.Bold);
    EXPECT_FALSE(g.Folder.Italic);
}

TEST_F(SettingsTest, FirstSaveWritesAllKeysInFileOrder)
{
    LoadSettings();
    SaveSettings();
    const QByteArray expected = toShiftJis(
        QStringLiteral(
            "[Document]\r\nFavoriteFolder=%1\r\nTitle=お気に入り一覧\r\nBackColor=FFFFFF\r\n"
            "BVKCommentFlag=0\r\n"
            "[BVK]\r\nFont=<<指定無し>>\r\nSize=12px\r\nColor=000000\r\n"
            "[Link]\r\nFont=<<指定無し>>\r\nSize=14px\r\nLinkColor=0000FF\r\n"
            "VisitedColor=0000FF\r\nHoverColor=0000FF\r\nActiveColor=0000FF\r\n"
            "UnderbarFlag=0\r\nBackColorFlag=1\r\nBackColor=FFFF00\r\n"
            "OpenRightWindowFlag=0\r\n"
            "[Title]\r\nTitle=Favorite\r\nFont=<<指定無し>>\r\nSize=20px\r\nColor=008040\r\n"
            "Bold=1\r\nItalic=0\r\n"
            "[Folder]\r\nFont=<<指定無し>>\r\nSize=16px\r\nColor=FF0000\r\nBold=0\r\n"
            "Italic=0\r\n")
            .arg(favorites()));
    EXPECT_EQ(readSettings(), expected);
}

TEST_F(SettingsTest, LoadThenSaveKeepsTheFileAndUpperCasesColours)
{
    QDir().mkpath(m_dir.filePath(QStringLiteral("fav")));
    const QByteArray original = toShiftJis(
        QStringLiteral(
            "; hand-written notes stay\r\n[Mine]\r\nAnything=goes\r\n"
            "[Document]\r\nFavoriteFolder=%1\r\nTitle=一覧\r\nBackColor=ffffff\r\nBVKCommentFlag="
            "1\r\n"
            "Extra=kept\r\n[BVK]\r\nFont=serif\r\nSize=1.2em\r\nColor=abcdef\r\n[Link]\r\n"
            "Font=<<指定無し>>\r\nSize=14px\r\nLinkColor=0000FF\r\nVisitedColor=0000FF\r\n"
            "HoverColor=0000FF\r\nActiveColor=0000FF\r\nUnderbarFlag=0\r\nBackColorFlag=1\r\n"
            "BackColor=FFFF00\r\nOpenRightWindowFlag=1\r\n[Title]\r\nTitle=Favorite\r\n"
            "Font=<<指定無し>>\r\nSize=20px\r\nColor=008040\r\nBold=1\r\nItalic=0\r\n[Folder]\r\n"
            "Font=<<指定無し>>\r\nSize=16px\r\nColor=FF0000\r\nBold=0\r\nItalic=0\r\n")
            .arg(m_dir.filePath(QStringLiteral("fav"))));
    writeSettings(original);
    LoadSettings();
    EXPECT_EQ(GlobalVariant.Document.BVK.Color, HexTextToColor(u"ABCDEF"));
    EXPECT_TRUE(GlobalVariant.Document.Link.OpenRightWindowFlag);
    SaveSettings();
    QByteArray expected = original;
    expected.replace("BackColor=ffffff", "BackColor=FFFFFF");
    expected.replace("Color=abcdef", "Color=ABCDEF");
    EXPECT_EQ(readSettings(), expected);
}

TEST_F(SettingsTest, FlagsAcceptWholeIntegersOnly)
{
    struct Case
    {
        const char *text;
        bool expected; // Folder.Bold defaults to false, Title.Bold to true
    };
    const Case cases[] = {
        {"1", true},   {"0", false},   {"2", true},     {"-1", true},
        {"+0", false}, {"0x10", true}, {"0X0", false},  {"$10", true},
        {"x1", true},  {"$0", false},  {"true", false}, {"yes", false},
        {"1a", false}, {"", false},    {"0x", false},   {"99999999999", false},
    };
    for (const Case &c : cases) {
        writeSettings(QByteArray("[Folder]\r\nBold=") + c.text + "\r\n[Title]\r\nBold=" + c.text +
                      "\r\n");
        LoadSettings();
        EXPECT_EQ(GlobalVariant.Folder.Bold, c.expected) << c.text;
        // Text that is not an integer gives the key's default, which is true here.
        const bool number = parseProfileInteger(QString::fromLatin1(c.text)).has_value();
        EXPECT_EQ(GlobalVariant.Title.Bold, number ? c.expected : true) << c.text;
    }
}

TEST_F(SettingsTest, ColourAndFolderEdgeValues)
{
    writeSettings("[Document]\r\nFavoriteFolder=/no/such/folder\r\nBackColor=\r\n");
    LoadSettings();
    EXPECT_EQ(GlobalVariant.FavoriteFolder, favorites());
    EXPECT_EQ(GlobalVariant.Document.BackColor, 0xFFFFFFu);

    writeSettings(QStringLiteral("[Document]\r\nFavoriteFolder=%1\r\n").arg(m_dir.path()).toUtf8());
    LoadSettings();
    EXPECT_EQ(GlobalVariant.FavoriteFolder, m_dir.path());
}

TEST_F(SettingsTest, ABadColourStopsTheLoadAtThatKey)
{
    GlobalVariant.Document.Link.Size = QStringLiteral("before");
    GlobalVariant.Document.Link.HoverColor = 0x123456;
    GlobalVariant.Title.Title = QStringLiteral("before");
    writeSettings("[Document]\r\nTitle=loaded\r\n[Link]\r\nSize=9px\r\nVisitedColor=#FF0000\r\n");
    try {
        LoadSettings();
        FAIL() << "no error";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("'$#F' is not a valid integer value"));
    }
    // Read before the bad key: new values.
    EXPECT_EQ(GlobalVariant.Document.Title, QStringLiteral("loaded"));
    EXPECT_EQ(GlobalVariant.Document.Link.Size, QStringLiteral("9px"));
    EXPECT_EQ(GlobalVariant.Document.Link.LinkColor, 0xFF0000u);
    EXPECT_EQ(GlobalVariant.FavoriteFolder, favorites());
    // The bad key and those after it: as they were.
    EXPECT_EQ(GlobalVariant.Document.Link.VisitedColor, 0u);
    EXPECT_EQ(GlobalVariant.Document.Link.HoverColor, 0x123456u);
    EXPECT_EQ(GlobalVariant.Title.Title, QStringLiteral("before"));
}

TEST_F(SettingsTest, AnUnwritableFolderGivesTheError)
{
    // A "folder" that is a plain file cannot hold the settings file, whatever the user's rights.
    const QString notAFolder = m_dir.filePath(QStringLiteral("plain-file"));
    QFile(notAFolder).open(QIODevice::WriteOnly);
    SettingsFilePath = QDir(notAFolder).filePath(QStringLiteral("talvensa.ini"));
    LoadSettings();
    try {
        SaveSettings();
        FAIL() << "no error";
    } catch (const ESettingsWriteError &e) {
        EXPECT_EQ(e.message(), SettingsFilePath + QStringLiteral(" に書き込めません"));
    }
}

TEST_F(SettingsTest, AReadOnlyFileIsNotReplaced)
{
    // A read-only settings file refuses the first key already; nothing in it changes.
    writeSettings("[Document]\r\nTitle=old\r\n");
    QFile::setPermissions(SettingsFilePath, QFile::ReadOwner);
    LoadSettings();
    GlobalVariant.Document.Title = QStringLiteral("new");
    EXPECT_THROW(SaveSettings(), ESettingsWriteError);
    EXPECT_EQ(readSettings(), QByteArray("[Document]\r\nTitle=old\r\n"));
}

TEST_F(SettingsTest, AFolderOutsideShiftJisSurvivesSaveAndLoad)
{
    const QString folder = m_dir.filePath(QStringLiteral("jürgen/Favorites 😀"));
    QDir().mkpath(folder);
    LoadSettings();
    GlobalVariant.FavoriteFolder = folder;
    GlobalVariant.Document.Title = QStringLiteral("お気に入り");
    SaveSettings();
    GlobalVariant = TGlobalVariant();
    LoadSettings();
    EXPECT_EQ(GlobalVariant.FavoriteFolder, folder);
    EXPECT_EQ(GlobalVariant.Document.Title, QStringLiteral("お気に入り"));
}

TEST_F(SettingsTest, SettingsPathSitsBesideTheExecutable)
{
    EXPECT_EQ(settingsPathForExecutable(QStringLiteral("/opt/t/talvensa")),
              QStringLiteral("/opt/t/talvensa.ini"));
    EXPECT_EQ(settingsPathForExecutable(QStringLiteral("/opt/t.d/Talvensa.exe")),
              QStringLiteral("/opt/t.d/Talvensa.ini"));
}

TEST_F(SettingsTest, QuotedValuesAreReadWithoutTheirQuotes)
{
    const QString folder = m_dir.filePath(QStringLiteral("My Favorites"));
    QDir().mkpath(folder);
    writeSettings("[Document]\r\nFavoriteFolder=\"" + folder.toUtf8() +
                  "\"\r\nTitle='Links'\r\n[Title]\r\nColor=\"FF0000\"\r\nBold=\"0\"\r\n");
    LoadSettings();
    EXPECT_EQ(GlobalVariant.FavoriteFolder, folder);
    EXPECT_EQ(GlobalVariant.Document.Title, QStringLiteral("Links"));
    EXPECT_EQ(GlobalVariant.Title.Color, 0x0000FFu);
    EXPECT_FALSE(GlobalVariant.Title.Bold);

    // A title that is itself in quotes comes back with them.
    GlobalVariant.Title.Title = QStringLiteral("\"Favorite\"");
    SaveSettings();
    GlobalVariant = TGlobalVariant();
    LoadSettings();
    EXPECT_EQ(GlobalVariant.Title.Title, QStringLiteral("\"Favorite\""));
}

// A settings file that is there but cannot be read: every setting takes its default, the load
// reports the file, and a save refuses to replace it, which would drop every line it holds.
// Root reads any file, so the check runs in a child process as an ordinary user.
TEST_F(SettingsTest, AnUnreadableFileIsReportedAndNeverReplaced)
{
    const QByteArray original = "; mine\r\n[Document]\r\nTitle=mine\r\n[Other]\r\nKeep=1\r\n";
    writeSettings(original);
    // Writable, not readable: the one case in which a save would succeed.
    ASSERT_TRUE(QFile::setPermissions(SettingsFilePath, QFile::WriteOwner));
    const QByteArray path = QFile::encodeName(SettingsFilePath);
    const QByteArray folder = QFile::encodeName(m_dir.path());
    EXPECT_EXIT(
        {
            if (::geteuid() == 0) {
                constexpr uid_t nobody = 65534;
                if (::chmod(folder.constData(), 0777) != 0 ||
                    ::chown(path.constData(), nobody, nobody) != 0 || ::setgid(nobody) != 0 ||
                    ::setuid(nobody) != 0)
                    std::_Exit(10);
            }
            const QString expected = SettingsFilePath + QStringLiteral(" を読み込めません");
            try {
                LoadSettings();
                std::_Exit(11);
            } catch (const ESettingsReadError &e) {
                if (e.message() != expected)
                    std::_Exit(12);
            }
            if (GlobalVariant.Document.Title != QStringLiteral("お気に入り一覧") ||
                !GlobalVariant.Title.Bold || GlobalVariant.FavoriteFolder != favorites())
                std::_Exit(13);
            try {
                SaveSettings();
                std::_Exit(14);
            } catch (const ESettingsReadError &e) {
                if (e.message() != expected)
                    std::_Exit(15);
            }
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    ASSERT_TRUE(QFile::setPermissions(SettingsFilePath, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(readSettings(), original);
}

// Data loss: a save that cannot be written whole (a full disk, a quota, a file-size limit)
// raises the write error and leaves the file as one whole version: never empty or cut, with
// every line of the user's own, and no temporary file beside it. The write is made to fail by a
// file-size limit in a child process (so no root and no full disk is needed); a write beyond it
// fails with EFBIG, as one on a full disk fails with ENOSPC.
TEST_F(SettingsTest, ASaveThatCannotBeWrittenWholeKeepsTheFileWhole)
{
    const QByteArray original =
        "; my notes\r\n[Document]\r\nTitle=old\r\n[Mine]\r\nKeep=1\r\n[Folder]\r\nSize=9px\r\n";
    // At 16 bytes not even the first key's file fits; at 200 the first keys are saved and a
    // later one fails.
    for (const qint64 limit : {qint64(16), qint64(200)}) {
        writeSettings(original);
        ASSERT_EQ(::chmod(QFile::encodeName(SettingsFilePath).constData(), 0640), 0);
        EXPECT_EXIT(
            {
                LoadSettings();
                GlobalVariant.Document.Title = QStringLiteral("new");
                std::signal(SIGXFSZ, SIG_IGN);
                rlimit size{};
                ::getrlimit(RLIMIT_FSIZE, &size);
                size.rlim_cur = rlim_t(limit);
                if (::setrlimit(RLIMIT_FSIZE, &size) != 0)
                    std::_Exit(10);
                try {
                    SaveSettings();
                    std::_Exit(11);
                } catch (const ESettingsWriteError &e) {
                    if (e.message() != SettingsFilePath + QStringLiteral(" に書き込めません"))
                        std::_Exit(12);
                }
                std::_Exit(0);
            },
            ::testing::ExitedWithCode(0), "")
            << "limit " << limit;

        const QByteArray after = readSettings();
        if (limit == 16) {
            EXPECT_EQ(after.toStdString(), original.toStdString());
        } else {
            // The keys saved before the failure stay saved; the file is whole.
            EXPECT_TRUE(after.startsWith("; my notes\r\n[Document]\r\nTitle=new\r\n"
                                         "FavoriteFolder="))
                << after.constData();
            EXPECT_TRUE(after.contains("[Mine]\r\nKeep=1\r\n[Folder]\r\nSize=9px\r\n"));
            EXPECT_LE(after.size(), limit);
        }
        struct stat status;
        ASSERT_EQ(::stat(QFile::encodeName(SettingsFilePath).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0640u);
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  QStringList{QStringLiteral("talvensa.ini")});
    }
}

// Hangs and limits: a settings path that names a FIFO, a device or a file far larger than any
// settings file is reported at once as a file that cannot be read (a FIFO would block the load
// for ever, /dev/zero would fill the memory), and a save refuses to replace it. The child
// process is stopped by an alarm if the load blocks.
TEST_F(SettingsTest, AFifoADeviceOrAHugeFileIsReportedAtOnceAndNeverReplaced)
{
    const QString fifo = m_dir.filePath(QStringLiteral("fifo.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString huge = m_dir.filePath(QStringLiteral("huge.ini"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Document]\r\nTitle=huge\r\n");
        ASSERT_TRUE(file.resize(qint64(64) << 20)); // sparse: no disk taken
    }
    for (const QString &path : {fifo, QStringLiteral("/dev/zero"), huge}) {
        SettingsFilePath = path;
        EXPECT_EXIT(
            {
                ::alarm(20);
                const QString expected = SettingsFilePath + QStringLiteral(" を読み込めません");
                try {
                    LoadSettings();
                    std::_Exit(11);
                } catch (const ESettingsReadError &e) {
                    if (e.message() != expected)
                        std::_Exit(12);
                }
                if (GlobalVariant.Document.Title != QStringLiteral("お気に入り一覧"))
                    std::_Exit(13);
                try {
                    SaveSettings();
                    std::_Exit(14);
                } catch (const ESettingsReadError &e) {
                    if (e.message() != expected)
                        std::_Exit(15);
                }
                std::_Exit(0);
            },
            ::testing::ExitedWithCode(0), "")
            << path.toStdString();
    }
    struct stat status;
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_EQ(QFileInfo(huge).size(), qint64(64) << 20);
}
