// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/FolderWindow.h"

#include "platform/SpecialFolders.h"
#include "settings/GlobalVariant.h"
#include "widgets/PictureButton.h"
#include "widgets/ShellTreeView.h"
#include "widgets/SystemPalette.h"
#include "WindowTestSupport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using windows_test::processEventsUntil;

namespace {

class FolderWindowTest : public windows_test::SecondaryWindowTest<TfrmFavoriteFolderSelect>
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        // The desktop holds two folders, a hidden one and a file.
        const QString desktop = SpecialFolderPath(CSIDL_DESKTOP);
        ASSERT_TRUE(QDir().mkpath(desktop + QStringLiteral("/Projects/Web")));
        ASSERT_TRUE(QDir().mkpath(desktop + QStringLiteral("/Music")));
        ASSERT_TRUE(QDir().mkpath(desktop + QStringLiteral("/.cache")));
        QFile file(desktop + QStringLiteral("/notes.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        m_user = path(QStringLiteral("chosen"));
        ASSERT_TRUE(QDir().mkpath(m_user));
        createWindow();
    }

    TShellTreeView *tree() { return control<TShellTreeView>("ShellTreeView1"); }

    QStringList childCaptions(QTreeWidgetItem *item)
    {
        QStringList captions;
        for (int i = 0; i < item->childCount(); ++i)
            captions << item->child(i)->text(0);
        return captions;
    }

    QString m_user;
};

TEST_F(FolderWindowTest, LayoutAndStartingState)
{
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("お気に入りフォルダの変更"));
    EXPECT_EQ(m_window->size(), QSize(321, 368));
    // The ground is the button face.
    EXPECT_EQ(m_window->palette().color(QPalette::Window), toQColor(GetSysColor(COLOR_BTNFACE)));
    EXPECT_TRUE(m_window->autoFillBackground());
    EXPECT_EQ(m_window->parentWidget(), nullptr);
    EXPECT_TRUE(control<QRadioButton>("rbDefault")->isChecked());
    EXPECT_EQ(control<QRadioButton>("rbDefault")->text(),
              QStringLiteral("Windows標準のお気に入りフォルダ"));
    EXPECT_EQ(control<QRadioButton>("rbUser")->text(), QStringLiteral("ユーザ指定のフォルダ"));
    EXPECT_EQ(control<QLabel>("lblDefaultFavorite")->text(), SpecialFolderPath(CSIDL_FAVORITES));
    auto *close = control<TPictureButton>("btnClose");
    EXPECT_EQ(close->caption(), QStringLiteral("戻る"));
    EXPECT_EQ(close->geometry(), QRect(168, 328, 137, 33));
    EXPECT_FALSE(tree()->isEnabled());
    EXPECT_EQ(tree()->indentation(), 19);
    EXPECT_FALSE(tree()->rootIsDecorated());

    m_main.setEnabled(false);
    EXPECT_TRUE(m_window->isEnabled());
}

TEST_F(FolderWindowTest, TreeShowsTheDesktopWithHomeRootAndItsFolders)
{
    TShellTreeView *view = tree();
    ASSERT_EQ(view->topLevelItemCount(), 1);
    QTreeWidgetItem *top = view->topLevelItem(0);
    EXPECT_EQ(top, view->desktopItem());
    EXPECT_TRUE(top->isExpanded());
    EXPECT_TRUE(top->isSelected());
    EXPECT_EQ(view->path(), SpecialFolderPath(CSIDL_DESKTOP));
    // Home, the root, then the desktop's folders; no hidden folder, no file.
    EXPECT_EQ(childCaptions(top),
              (QStringList{QStringLiteral("home"), QStringLiteral("/"), QStringLiteral("Music"),
                           QStringLiteral("Projects")}));

    // A folder is read when it is opened.
    QTreeWidgetItem *projects = top->child(3);
    EXPECT_EQ(projects->childCount(), 0);
    EXPECT_EQ(projects->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    view->expandItem(projects);
    EXPECT_EQ(childCaptions(projects), QStringList{QStringLiteral("Web")});
    QTreeWidgetItem *home = top->child(0);
    view->expandItem(home);
    EXPECT_TRUE(childCaptions(home).contains(QStringLiteral("Favorites")));
    EXPECT_TRUE(childCaptions(home).contains(QStringLiteral("Desktop")));

    // A right click selects too.
    view->setEnabled(true);
    m_window->show();
    const QRect music = view->visualItemRect(top->child(2));
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, music.center());
    EXPECT_EQ(view->path(), SpecialFolderPath(CSIDL_DESKTOP) + QStringLiteral("/Music"));

    view->clearSelection();
    EXPECT_EQ(view->path(), QString());
}

TEST_F(FolderWindowTest, TimerFollowsTheRadioButtons)
{
    open();
    auto *timer = control<QTimer>("Timer1");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 100);
    auto *userLabel = control<QLabel>("lblUserFavorite");
    EXPECT_TRUE(
        processEventsUntil([&] { return userLabel->text() == SpecialFolderPath(CSIDL_DESKTOP); }));
    EXPECT_FALSE(tree()->isEnabled());
    control<QRadioButton>("rbUser")->setChecked(true);
    EXPECT_TRUE(processEventsUntil([&] { return tree()->isEnabled(); }));
    control<QRadioButton>("rbDefault")->setChecked(true);
    EXPECT_TRUE(processEventsUntil([&] { return !tree()->isEnabled(); }));
}

TEST_F(FolderWindowTest, NoLeavesTheFolderLabelAndFileUnchanged)
{
    GlobalVariant.FavoriteFolder = m_user;
    SaveSettings();
    const QByteArray fileBefore = settingsFileBytes();
    open();
    auto *selected = control<QLabel>("lblSelectedFolder");
    EXPECT_EQ(selected->text(), m_user);
    control<QRadioButton>("rbUser")->setChecked(true);
    m_dialogs.confirmAnswer = false;
    QTest::mouseClick(control<TPictureButton>("btnClose"), Qt::LeftButton);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_dialogs.confirmations, QStringList{QStringLiteral("設定を保存しますか？")});
    EXPECT_EQ(GlobalVariant.FavoriteFolder, m_user);
    EXPECT_EQ(selected->text(), m_user);
    EXPECT_EQ(settingsFileBytes(), fileBefore);
    EXPECT_TRUE(m_main.isEnabled());
}

TEST_F(FolderWindowTest, YesWithDefaultStoresTheFavoritesFolderLookedUpNow)
{
    const QString favoritesAtStart = SpecialFolderPath(CSIDL_FAVORITES);
    // The user's home moves after the window was created.
    const QString otherHome = path(QStringLiteral("other-home"));
    ASSERT_TRUE(QDir().mkpath(otherHome + QStringLiteral("/Favorites")));
    setHomeFolderOverride(otherHome);

    GlobalVariant.FavoriteFolder = m_user;
    open();
    control<QRadioButton>("rbDefault")->setChecked(true);
    m_dialogs.confirmAnswer = true;
    m_window->close();
    const QString favoritesNow = otherHome + QStringLiteral("/Favorites");
    EXPECT_EQ(GlobalVariant.FavoriteFolder, favoritesNow);
    EXPECT_EQ(control<QLabel>("lblSelectedFolder")->text(), favoritesNow);
    EXPECT_EQ(control<QLabel>("lblDefaultFavorite")->text(), favoritesAtStart);
    EXPECT_TRUE(m_main.isEnabled());

    GlobalVariant = TGlobalVariant{};
    LoadSettings();
    EXPECT_EQ(GlobalVariant.FavoriteFolder, favoritesNow);
}

// Opened just to look and closed with Yes (the default answer), the window keeps the user's own
// folder, also one the tree does not list (a hidden one); the standard folder stays as it was.
TEST_F(FolderWindowTest, FirstShowingShowsTheStoredChoice)
{
    const QString hidden = SpecialFolderPath(CSIDL_DESKTOP) + QStringLiteral("/.cache/links");
    for (const QString &stored : {m_user, hidden}) {
        createWindow();
        ASSERT_TRUE(QDir().mkpath(stored));
        GlobalVariant.FavoriteFolder = stored;
        open();
        EXPECT_TRUE(control<QRadioButton>("rbUser")->isChecked());
        EXPECT_EQ(tree()->path(), stored);
        EXPECT_TRUE(tree()->isEnabled());
        EXPECT_EQ(control<QLabel>("lblUserFavorite")->text(), stored);
        m_dialogs.confirmAnswer = true;
        QTest::mouseClick(control<TPictureButton>("btnClose"), Qt::LeftButton);
        EXPECT_EQ(GlobalVariant.FavoriteFolder, stored);
    }

    // A browser's bookmark file is kept as well, and both labels show the file.
    const QString bookmarks = m_user + QStringLiteral("/places.sqlite");
    {
        QFile file(bookmarks);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    createWindow();
    GlobalVariant.FavoriteFolder = bookmarks;
    open();
    EXPECT_TRUE(control<QRadioButton>("rbUser")->isChecked());
    EXPECT_EQ(control<QLabel>("lblSelectedFolder")->text(), bookmarks);
    EXPECT_EQ(control<QLabel>("lblUserFavorite")->text(), bookmarks);
    m_dialogs.confirmAnswer = true;
    QTest::mouseClick(control<TPictureButton>("btnClose"), Qt::LeftButton);
    EXPECT_EQ(GlobalVariant.FavoriteFolder, bookmarks);

    createWindow();
    GlobalVariant.FavoriteFolder = SpecialFolderPath(CSIDL_FAVORITES);
    open();
    EXPECT_TRUE(control<QRadioButton>("rbDefault")->isChecked());
    m_window->close();
    EXPECT_EQ(GlobalVariant.FavoriteFolder, SpecialFolderPath(CSIDL_FAVORITES));
}

TEST_F(FolderWindowTest, YesWithTheTreeStoresItsPath)
{
    open();
    control<QRadioButton>("rbUser")->setChecked(true);
    m_dialogs.confirmAnswer = true;
    m_window->close();
    // The desktop, still selected from the start.
    EXPECT_EQ(GlobalVariant.FavoriteFolder, SpecialFolderPath(CSIDL_DESKTOP));

    // The choice is kept for the next showing; a sub-folder picked in the tree is stored.
    open();
    EXPECT_TRUE(control<QRadioButton>("rbUser")->isChecked());
    EXPECT_EQ(tree()->path(), SpecialFolderPath(CSIDL_DESKTOP));
    tree()->setCurrentItem(tree()->desktopItem()->child(2));
    QTest::mouseClick(control<TPictureButton>("btnClose"), Qt::LeftButton);
    EXPECT_EQ(GlobalVariant.FavoriteFolder,
              SpecialFolderPath(CSIDL_DESKTOP) + QStringLiteral("/Music"));

    // Nothing selected: the empty text.
    open();
    tree()->clearSelection();
    m_window->close();
    EXPECT_EQ(GlobalVariant.FavoriteFolder, QString());
    EXPECT_EQ(m_dialogs.confirmations.size(), 3);
}

TEST_F(FolderWindowTest, CloseBoxAndBackBehaveAlike)
{
    for (const bool byCloseBox : {true, false}) {
        m_dialogs.confirmations.clear();
        m_dialogs.confirmAnswer = true;
        GlobalVariant.FavoriteFolder = m_user;
        open();
        closeBy(byCloseBox, "btnClose");
        EXPECT_FALSE(m_window->isVisible());
        EXPECT_EQ(m_dialogs.confirmations.size(), 1);
        EXPECT_EQ(GlobalVariant.FavoriteFolder, m_user);
        EXPECT_TRUE(m_main.isEnabled());
        EXPECT_FALSE(control<QTimer>("Timer1")->isActive());
    }
}

TEST_F(FolderWindowTest, FailedSaveIsReportedAndTheWindowStillCloses)
{
    makeSettingsFileUnwritable();
    open();
    m_dialogs.confirmAnswer = true;
    m_window->close();
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(m_main.isEnabled());
    EXPECT_EQ(m_dialogs.errors,
              QStringList{SettingsFilePath + QStringLiteral(" に書き込めません.")});
    EXPECT_EQ(GlobalVariant.FavoriteFolder, SpecialFolderPath(CSIDL_FAVORITES));
}

} // namespace
