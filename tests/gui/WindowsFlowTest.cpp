// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// The version window, and quitting.

#include "GuiTest.h"

#include <QFileInfo>
#include <QThread>

namespace {

class WindowsFlowTest : public GuiTest
{};

} // namespace

TEST_F(WindowsFlowTest, VersionWindowClosesAndCreateStillWrites)
{
    writeSettings();
    start();
    clickToolbar(ToolbarItem::Version);
    const TestDisplay::Window version = expectWindow(QStringLiteral("バージョン情報"));
    EXPECT_EQ(version.geometry.size(), QSize(345, 224));
    display().click(version, 172, 204); // 閉じる
    ASSERT_TRUE(display().waitUntilGone(version.id));

    clickCreate();
    const QString page = path(QStringLiteral("links.html"));
    saveAs(expectSaveDialog(), page);
    dismissMessage();
    EXPECT_TRUE(readFile(page).contains("http://alpha.example/"));
    EXPECT_TRUE(isRunning());
}

// A name that is taken: the save dialog asks its own question, and はい replaces the old file.
TEST_F(WindowsFlowTest, OverwriteAnsweredYesInTheSaveDialogReplacesTheFile)
{
    writeSettings();
    const QString page = path(QStringLiteral("links.html"));
    writeFile(page, "the old page");
    start();
    clickCreate();
    const TestDisplay::Window dialog = expectSaveDialog();
    saveAs(dialog, page);
    answer(expectWindowBesides(SaveDialogCaption, dialog.id), true);
    dismissMessage();
    const QByteArray written = readFile(page);
    EXPECT_TRUE(written.startsWith("<!DOCTYPE HTML")) << written.constData();
    EXPECT_TRUE(written.contains("http://beta.example/"));
    EXPECT_TRUE(written.endsWith("</html>\r\n"));
}

TEST_F(WindowsFlowTest, QuitAsksAndOnlyYesEndsWithStatusZero)
{
    writeSettings();
    start();
    clickToolbar(ToolbarItem::End);
    const TestDisplay::Window no = expectWindow(QStringLiteral("確認"));
    answer(no, false);
    ASSERT_TRUE(display().waitUntilGone(no.id));
    EXPECT_TRUE(isRunning());
    mainWindow();

    clickToolbar(ToolbarItem::End);
    answer(expectWindow(QStringLiteral("確認")), true);
    EXPECT_EQ(waitForExit(), 0);
}

// Started with an output path on a display: the window shows, the page is written after the
// timer, and the program ends by itself with status 0.
TEST_F(WindowsFlowTest, BatchRunWithADisplayWritesAndExits)
{
    writeSettings();
    const QString page = path(QStringLiteral("batch.html"));
    start({page});
    EXPECT_EQ(waitForExit(), 0) << output().toStdString();
    const QByteArray written = readFile(page);
    EXPECT_TRUE(written.contains("http://alpha.example/"));
    EXPECT_TRUE(written.contains("</html>"));
}

// Settings with a colour that is no colour, started with an output path on a display: the error
// box comes first; once it is dismissed the window stays as an interactive one (no batch run),
// 作成 still writes a page, and only the quit question ends the program.
TEST_F(WindowsFlowTest, BadColourWithADisplayShowsTheErrorAndLeavesAnInteractiveWindow)
{
    writeSettings("[Link]\r\nLinkColor=#0000FF\r\n");
    const QString batchPage = path(QStringLiteral("batch.html"));
    launch({batchPage});
    // The error box has the main window's caption and comes before it.
    clickUntilGone(expectWindow(QStringLiteral("Talvensa")), 50, 22);
    expectMainWindow();
    // Well after the batch run's timer would have fired.
    QThread::msleep(2500);
    EXPECT_TRUE(isRunning()) << output().toStdString();
    EXPECT_FALSE(QFileInfo::exists(batchPage));

    clickCreate();
    const QString page = path(QStringLiteral("links.html"));
    saveAs(expectSaveDialog(), page);
    dismissMessage();
    EXPECT_TRUE(readFile(page).contains("http://alpha.example/"));

    clickToolbar(ToolbarItem::End);
    answer(expectWindow(QStringLiteral("確認")), true);
    EXPECT_EQ(waitForExit(), 0);
    EXPECT_FALSE(QFileInfo::exists(batchPage));
}

// The folder window: another folder picked in the tree with the keyboard, 戻る, はい; 作成 then
// writes the page of that folder's tree, and the settings file keeps it.
TEST_F(WindowsFlowTest, FolderPickedInTheTreeIsTheNextPagesSource)
{
    writeSettings();
    start();
    clickToolbar(ToolbarItem::Folder);
    const TestDisplay::Window window = expectWindow(QStringLiteral("お気に入りフォルダの変更"));
    // The stored folder is the user's own, selected in the tree when the window opens. A click
    // on its choice and Tab give the tree the focus; its first sub-folder is then picked.
    display().click(window, 60, 152); // ユーザ指定のフォルダ
    pressKeys(window, QStringLiteral("Tab"));
    display().key(QStringLiteral("Right"));
    display().key(QStringLiteral("Down"));
    display().click(window, 236, 344); // 戻る
    answer(expectWindow(QStringLiteral("確認")), true);
    ASSERT_TRUE(display().waitUntilGone(window.id));

    clickCreate();
    const QString page = path(QStringLiteral("news.html"));
    saveAs(expectSaveDialog(), page);
    dismissMessage();
    const QByteArray written = readFile(page);
    EXPECT_TRUE(written.contains("http://beta.example/")) << written.constData();
    EXPECT_FALSE(written.contains("http://alpha.example/"));
    EXPECT_TRUE(
        readFile(settingsPath()).contains("FavoriteFolder=" + favorites().toUtf8() + "/News"));
}

// 中止 pressed while a page of 100,000 shortcuts is written: the write ends early with a whole
// page. The click follows Enter in the save dialog at once, so it reaches the window while the
// page is being written, where the stop button stands over 作成.
TEST_F(WindowsFlowTest, StopDuringALargeWriteLeavesAWholeShorterPage)
{
    const QString generator = QStringLiteral(TALVENSA_MAKE_FAVORITES);
    ASSERT_TRUE(QFileInfo::exists(generator)) << generator.toStdString();
    const QString tree = path(QStringLiteral("Large"));
    QProcess make;
    make.start(QStringLiteral("python3"),
               {generator, QStringLiteral("--links"), QStringLiteral("100000"), tree});
    ASSERT_TRUE(make.waitForFinished(300000) && make.exitCode() == 0)
        << make.readAllStandardError().constData();
    writeFile(settingsPath(), "[Document]\r\nFavoriteFolder=" + tree.toUtf8() + "\r\n");
    start();

    clickCreate();
    const QString page = path(QStringLiteral("large.html"));
    saveAs(expectSaveDialog(), page);
    clickCreate(); // 中止
    dismissMessage();
    const QByteArray written = readFile(page);
    EXPECT_TRUE(written.endsWith("</body>\r\n</html>\r\n"));
    EXPECT_LT(written.count("<a href="), 100000);
    EXPECT_GT(written.count("<div class=\"FolderName\">"), 0);
    EXPECT_TRUE(isRunning());
}

// The file types of the save dialog as a user picks them: the entry below the designed one
// writes a bookmark file, and the next save proposes that entry again.
TEST_F(WindowsFlowTest, FileTypeChosenInTheSaveDialogPicksTheDocumentAndIsProposedAgain)
{
    writeSettings();
    start();
    clickCreate();
    TestDisplay::Window dialog = expectSaveDialog();
    const int width = dialog.geometry.width();
    const int height = dialog.geometry.height();
    // The file type list is the dialog's last line, the name box the one above it. One turn of
    // the wheel over the list selects the next entry without opening the list, so no key can
    // arrive before a list that is still opening.
    display().scrollDown(dialog, width / 2, height - 24);
    const QString bookmarks = path(QStringLiteral("bookmarks.html"));
    display().click(dialog, width / 2, height - 54);
    pressKeys(dialog, QStringLiteral("ctrl+a"));
    display().type(bookmarks);
    display().key(QStringLiteral("Return"));
    dismissMessage();
    const QByteArray written = readFile(bookmarks);
    EXPECT_TRUE(written.startsWith("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n")) << written.constData();
    EXPECT_TRUE(written.contains(">News</H3>\n"));

    clickCreate();
    dialog = expectSaveDialog();
    const QString again = path(QStringLiteral("again.html"));
    saveAs(dialog, again);
    dismissMessage();
    EXPECT_TRUE(readFile(again).startsWith("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"));
}
