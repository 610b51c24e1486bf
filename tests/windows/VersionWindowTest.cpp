// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/VersionWindow.h"

#include "widgets/PictureButton.h"
#include "widgets/UrlLink.h"
#include "WindowTestSupport.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using VersionWindowTest = windows_test::SecondaryWindowTest<TfrmVersion>;

TEST_F(VersionWindowTest, ShowsNameAndVersionAndLocksTheMainWindowWhileOpen)
{
    TfrmVersion &window = *m_window;
    QWidget &main = m_main;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(window.size(), QSize(345, 224));
    EXPECT_EQ(window.parentWidget(), nullptr);

    auto *name = control<QLabel>("Label1");
    auto *version = control<QLabel>("Label2");
    auto *icon = control<QLabel>("Image2");
    auto *close = control<TPictureButton>("btnClose");
    ASSERT_TRUE(name && version && icon && close);
    EXPECT_EQ(close->caption(), QStringLiteral("閉じる"));
    EXPECT_EQ(icon->pixmap().size(), QSize(32, 32));

    for (int round = 0; round < 2; ++round) {
        window.show();
        EXPECT_FALSE(main.isEnabled());
        EXPECT_TRUE(window.isEnabled());
        EXPECT_EQ(name->text(), QStringLiteral("Talvensa"));
        EXPECT_EQ(version->text(), QStringLiteral("Version: 5.0.0"));
        EXPECT_EQ(version->x() + version->width(), 324);
        EXPECT_EQ(version->y(), 40);
        closeBy(round == 1, "btnClose");
        EXPECT_FALSE(window.isVisible());
        EXPECT_TRUE(main.isEnabled());
    }
}

TEST_F(VersionWindowTest, LinksShowNoHintAndOpenTheirPages)
{
    open();
    QStringList links;
    for (const char *name : {"URLLink1", "URLLink3"}) {
        auto *link = control<TURLLink>(name);
        ASSERT_NE(link, nullptr) << name;
        links << link->link();
        EXPECT_FALSE(link->enableShowHint()) << name;
        EXPECT_TRUE(link->link().startsWith(QStringLiteral("https://"))) << name;
        QTest::mouseMove(link, QPoint(3, 3));
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_FALSE(link->hintWindow()->isVisible()) << name;
    }
    EXPECT_EQ(m_dialogs.openedTargets(), links);
    m_window->close();
}

} // namespace
