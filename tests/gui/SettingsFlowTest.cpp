// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// The design settings window, closed with 戻る and its question answered with the mouse.

#include "GuiTest.h"

namespace {

class SettingsFlowTest : public GuiTest
{
protected:
    // Settings window, 戻る, いいえ, 作成: the save dialog must come each time.
    void backNoThenCreate(int rounds)
    {
        writeSettings();
        start();
        const QByteArray settings = readFile(settingsPath());
        for (int round = 0; round < rounds; ++round) {
            SCOPED_TRACE(round);
            clickToolbar(ToolbarItem::Settings);
            const TestDisplay::Window window = expectWindow(QStringLiteral("デザインの 設定"));
            display().click(window, 588, 520);
            const TestDisplay::Window box = expectWindow(QStringLiteral("確認"));
            answer(box, false);
            ASSERT_TRUE(display().waitUntilGone(box.id));
            ASSERT_TRUE(display().waitUntilGone(window.id));
            clickCreate();
            const TestDisplay::Window dialog = expectSaveDialog();
            pressKeys(dialog, QStringLiteral("Escape"));
            ASSERT_TRUE(display().waitUntilGone(dialog.id));
        }
        EXPECT_EQ(readFile(settingsPath()), settings);
        EXPECT_TRUE(isRunning());
    }
};

} // namespace

TEST_F(SettingsFlowTest, BackAnsweredNoWithTheMouseKeepsTheSaveDialogWorking)
{
    backNoThenCreate(50);
}

TEST_F(SettingsFlowTest, BackAnsweredNoWithTheMouseKeepsTheSaveDialogWorkingUnderLoad)
{
    const BusyProcesses busy;
    backNoThenCreate(50);
}

// The user changes the design, saves it with はい, and the next page has every change.
TEST_F(SettingsFlowTest, ChangesSavedWithYesReachTheFileAndThePage)
{
    writeSettings();
    start();
    clickToolbar(ToolbarItem::Settings);
    const TestDisplay::Window window = expectWindow(QStringLiteral("デザインの 設定"));

    // The page heading's text, its size and bold (on by default), then its colour through the
    // colour dialog's HTML box.
    display().click(window, 528, 58); // txtTitle
    pressKeys(window, QStringLiteral("ctrl+a"));
    display().type(QStringLiteral("My Links"));
    display().click(window, 484, 82); // cmbTitleFontSize
    pressKeys(window, QStringLiteral("ctrl+a"));
    display().type(QStringLiteral("24px"));
    display().click(window, 472, 132); // chkTitleBold
    display().click(window, 480, 104); // btnTitleColor
    const TestDisplay::Window colours = expectWindow(QStringLiteral("色を選択"));
    display().click(colours, 426, 347);
    pressKeys(colours, QStringLiteral("ctrl+a"));
    display().type(QStringLiteral("#123456"));
    pressKeys(colours, QStringLiteral("Return"));
    ASSERT_TRUE(display().waitUntilGone(colours.id));

    display().click(window, 588, 520); // 戻る
    const TestDisplay::Window box = expectWindow(QStringLiteral("確認"));
    answer(box, true);
    ASSERT_TRUE(display().waitUntilGone(window.id));

    clickCreate();
    saveAs(expectSaveDialog(), path(QStringLiteral("links.html")));
    dismissMessage();

    const QByteArray settings = readFile(settingsPath());
    EXPECT_TRUE(settings.contains("[Title]\r\nTitle=My Links\r\nFont=<<")) << settings.constData();
    EXPECT_TRUE(settings.contains("\r\nSize=24px\r\nColor=123456\r\nBold=0\r\n"));
    const QByteArray page = readFile(path(QStringLiteral("links.html")));
    EXPECT_TRUE(page.contains("My Links")) << page.constData();
    EXPECT_TRUE(page.contains("#123456"));
    EXPECT_TRUE(page.contains("http://beta.example/"));
    EXPECT_TRUE(page.contains("</html>"));

    // Both of Qt's dialogs were used; Qt keeps nothing of them.
    clickToolbar(ToolbarItem::End);
    answer(expectWindow(QStringLiteral("確認")), true);
    EXPECT_EQ(waitForExit(), 0);
    EXPECT_FALSE(qtLeftItsSettings());
}
