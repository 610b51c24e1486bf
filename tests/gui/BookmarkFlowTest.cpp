// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// 作成 with the Favourites setting naming a browser's bookmark database.

#include "GuiTest.h"

#include "support/PlacesTestSupport.h"

namespace {

class BookmarkFlowTest : public GuiTest
{};

} // namespace

TEST_F(BookmarkFlowTest, CreateWritesThePageOfAPlacesDatabase)
{
    const QString places = path(QStringLiteral("profile/places.sqlite"));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("profile"))));
    {
        PlacesDatabase db(places);
        db.addRoots();
        db.add(10, PlacesDatabase::Bookmark, 2, 0, "Menu link", "http://menu.example/");
        db.add(11, PlacesDatabase::Folder, 3, 0, "Tools");
        db.add(12, PlacesDatabase::Bookmark, 11, 0, QString(), "http://tools.example/");
    }
    writeFile(settingsPath(), "[Document]\r\nFavoriteFolder=" + places.toUtf8() + "\r\n");
    start();
    clickCreate();
    const QString page = path(QStringLiteral("bookmarks.html"));
    saveAs(expectSaveDialog(), page);
    dismissMessage();
    const QByteArray written = readFile(page);
    EXPECT_TRUE(
        written.contains("\tBookmarks Menu\r\n</div>\r\n<div class=\"FileList\">\r\n"
                         "\t<a href=\"http://menu.example/\" target=\"_blank\">Menu link</a>"))
        << written.constData();
    EXPECT_TRUE(written.contains("\tBookmarks Toolbar/Tools\r\n</div>\r\n<div class=\"FileList\">"
                                 "\r\n\t<a href=\"http://tools.example/\" target=\"_blank\">"
                                 "http://tools.example/</a>"));
    EXPECT_TRUE(written.endsWith("</html>\r\n"));
    EXPECT_TRUE(isRunning());
}
