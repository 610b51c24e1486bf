#include "widgets/VersionWindow.h"

#include "widgets/PictureButton.h"
#include "widgets/UrlLink.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(VersionWindowTest, ShowsNameAndVersionAndLocksTheMainWindowWhileOpen)
{
    QWidget main;
    TfrmVersion window(&main);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(window.size(), QSize(345, 224));
    EXPECT_EQ(window.parentWidget(), nullptr);

    auto *name = window.findChild<QLabel *>(QStringLiteral("Label1"));
    auto *version = window.findChild<QLabel *>(QStringLiteral("Label2"));
    auto *icon = window.findChild<QLabel *>(QStringLiteral("Image2"));
    auto *close = window.findChild<TPictureButton *>(QStringLiteral("btnClose"));
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
        if (round == 0)
            QTest::mouseClick(close, Qt::LeftButton);
        else
            window.close();
        EXPECT_FALSE(window.isVisible());
        EXPECT_TRUE(main.isEnabled());
    }
}

TEST(VersionWindowTest, LinksShowNoHintAndOpenTheirPages)
{
    QWidget main;
    TfrmVersion window(&main);
    QStringList opened;
    TURLLink::setUrlOpener([&](const QString &target) { opened << target; });
    window.show();
    for (const char *name : {"URLLink1", "URLLink3"}) {
        auto *link = window.findChild<TURLLink *>(QLatin1String(name));
        ASSERT_NE(link, nullptr) << name;
        EXPECT_FALSE(link->enableShowHint()) << name;
        EXPECT_TRUE(link->link().startsWith(QStringLiteral("https://"))) << name;
        QTest::mouseMove(link, QPoint(3, 3));
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_FALSE(link->hintWindow()->isVisible()) << name;
    }
    TURLLink::setUrlOpener({});
    EXPECT_EQ(opened.size(), 2);
    window.close();
}

} // namespace
