// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "widgets/UrlLink.h"

#include "platform/SystemColors.h"
#include "support/ScriptedDialogs.h"
#include "widgets/SystemPalette.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Counts the paint events a widget receives.
class PaintCounter final : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

class UrlLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setDialogs(&m_dialogs);
        // The pointer starts outside every window, so the first move enters this one.
        QCursor::setPos(-100, -100);
        m_link = new TURLLink(&m_window);
        m_link->setText(QStringLiteral("example.org"));
        m_link->setGeometry(20, 20, 120, 20);
        m_edit = new QLineEdit(&m_window);
        m_edit->setGeometry(20, 60, 120, 20);
        m_window.resize(200, 100);
        m_window.show();
        m_window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_window));
        m_edit->setFocus();
        QTest::mouseMove(&m_window, QPoint(2, 2));
    }

    void TearDown() override { setDialogs(nullptr); }

    QStringList opened() const { return m_dialogs.openedTargets(); }

    QColor textColor() const { return m_link->palette().color(QPalette::WindowText); }

    test_support::ScriptedDialogs m_dialogs;
    QWidget m_window;
    TURLLink *m_link = nullptr;
    QLineEdit *m_edit = nullptr;
};

TEST_F(UrlLinkTest, NewLabelHasDocumentedDefaults)
{
    TURLLink link;
    EXPECT_EQ(link.urlType(), tpURL);
    EXPECT_EQ(link.link(), QStringLiteral("http://"));
    EXPECT_EQ(link.linkColor(), TColor(0x0000FF));
    EXPECT_EQ(link.fontColor(), TColor(0xFF0000));
    EXPECT_EQ(link.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(link.enableShowHint());
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);
    ASSERT_NE(link.hintWindow(), nullptr);
    EXPECT_FALSE(link.hintWindow()->isVisible());
}

TEST_F(UrlLinkTest, TextTakesLinkColorWhileThePointerIsOverIt)
{
    m_link->setFontColor(0x008000);
    m_link->setLinkColor(0x0000FF);
    QTest::mouseMove(m_link, QPoint(5, 5));
    EXPECT_EQ(m_link->fontColor(), TColor(0x0000FF));
    EXPECT_EQ(textColor(), QColor(255, 0, 0));
    QTest::mouseMove(&m_window, QPoint(2, 2));
    EXPECT_EQ(m_link->fontColor(), TColor(0x008000));
    EXPECT_EQ(textColor(), QColor(0, 128, 0));
}

TEST_F(UrlLinkTest, HintWindowShowsTheLinkNextToThePointer)
{
    m_link->setLink(QStringLiteral("https://example.org/talvensa"));
    QFont font = m_link->hintFormFont();
    font.setPixelSize(13);
    m_link->setHintFormFont(font);
    QWidget *hint = m_link->hintWindow();

    QTest::mouseMove(m_link, QPoint(5, 6));
    ASSERT_TRUE(hint->isVisible());
    const QPoint pointer = m_link->mapToGlobal(QPoint(5, 6));
    const QFontMetrics metrics(font);
    EXPECT_EQ(hint->geometry(),
              QRect(pointer + QPoint(15, 15),
                    QSize(metrics.horizontalAdvance(m_link->link()) + 6, metrics.height() + 3)));
    EXPECT_TRUE(hint->isWindow());
    EXPECT_TRUE(hint->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(hint->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(hint->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(hint->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(hint->font(), font);
    // Shown without taking the focus.
    EXPECT_TRUE(m_edit->hasFocus());
    EXPECT_EQ(QApplication::activeWindow(), &m_window);
    // Its background is the system's tooltip colour; the text starts 2 pixels in.
    const QImage picture = hint->grab().toImage();
    const QColor tooltip = toQColor(GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(picture.pixelColor(0, 0), tooltip);
    EXPECT_EQ(picture.pixelColor(1, picture.height() - 1), tooltip);

    // It stays where it was placed while the pointer moves on.
    QTest::mouseMove(m_link, QPoint(40, 10));
    EXPECT_EQ(hint->pos(), pointer + QPoint(15, 15));

    // A left press opens the link and hides it; the next move shows it again, at the pointer.
    QTest::mousePress(m_link, Qt::LeftButton, {}, QPoint(40, 10));
    QTest::mouseRelease(m_link, Qt::LeftButton, {}, QPoint(40, 10));
    EXPECT_FALSE(hint->isVisible());
    QTest::mouseMove(m_link, QPoint(41, 10));
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->pos(), m_link->mapToGlobal(QPoint(41, 10)) + QPoint(15, 15));

    // Leaving the label hides it.
    QTest::mouseMove(&m_window, QPoint(2, 2));
    EXPECT_FALSE(hint->isVisible());

    // A mail link's hint shows the address alone, without "mailto:".
    m_link->setURLType(tpMAIL);
    m_link->setLink(QStringLiteral("someone@example.org"));
    QTest::mouseMove(m_link, QPoint(5, 6));
    EXPECT_EQ(hint->width(), metrics.horizontalAdvance(QStringLiteral("someone@example.org")) + 6);
}

TEST_F(UrlLinkTest, NoHintWhenDisabledButTheLinkStillOpens)
{
    m_link->setEnableShowHint(false);
    m_link->setLink(QStringLiteral("https://example.org/"));
    QTest::mouseMove(m_link, QPoint(5, 6));
    QTest::mouseMove(m_link, QPoint(9, 6));
    EXPECT_FALSE(m_link->hintWindow()->isVisible());
    QTest::mouseClick(m_link, Qt::LeftButton, {}, QPoint(9, 6));
    EXPECT_EQ(opened(), QStringList{QStringLiteral("https://example.org/")});
}

TEST_F(UrlLinkTest, LeftPressOpensTheTargetOfEachLinkType)
{
    m_link->setLink(QStringLiteral("https://example.org/a b"));
    QTest::mousePress(m_link, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mousePress(m_link, Qt::MiddleButton, {}, QPoint(5, 5));
    QTest::mouseRelease(m_link, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseRelease(m_link, Qt::MiddleButton, {}, QPoint(5, 5));
    EXPECT_TRUE(opened().isEmpty());

    // The press opens it, not the release.
    QTest::mousePress(m_link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(opened(), QStringList{QStringLiteral("https://example.org/a%20b")});
    QTest::mouseRelease(m_link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(opened().size(), 1);

    m_link->setURLType(tpMAIL);
    m_link->setLink(QStringLiteral("someone@example.org"));
    QTest::mouseClick(m_link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(opened().value(1), QStringLiteral("mailto:someone@example.org"));

    // An empty link opens an empty target, or "mailto:" alone.
    m_link->setLink(QString());
    QTest::mouseClick(m_link, Qt::LeftButton, {}, QPoint(5, 5));
    m_link->setURLType(tpURL);
    QTest::mouseClick(m_link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(opened().mid(2), (QStringList{QStringLiteral("mailto:"), QString()}));
}

TEST_F(UrlLinkTest, SettingAPropertyToItsValueDoesNotRepaint)
{
    PaintCounter paints;
    m_link->installEventFilter(&paints);
    QApplication::processEvents();
    const int before = paints.count;

    m_link->setURLType(m_link->urlType());
    m_link->setLink(m_link->link());
    m_link->setLinkColor(m_link->linkColor());
    m_link->setEnableShowHint(m_link->enableShowHint());
    m_link->setHintFormFont(m_link->hintFormFont());
    m_link->setFontColor(m_link->fontColor());
    QApplication::processEvents();
    EXPECT_EQ(paints.count, before);

    m_link->setLinkColor(m_link->linkColor() + 1);
    QApplication::processEvents();
    EXPECT_GT(paints.count, before);
}

} // namespace
