// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "widgets/PictureButton.h"

#include "platform/SystemColors.h"
#include "widgets/SystemPalette.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <optional>

namespace {

constexpr TColor rgb(int r, int g, int b)
{
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

// The colour of a pixel in the TColor layout, so it compares with the values the button uses.
TColor pixelAt(const QImage &image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return rgb(qRed(p), qGreen(p), qBlue(p));
}

// The smallest rectangle holding every pixel of the given colour inside the area, if any.
std::optional<QRect> boundsOf(const QImage &image, TColor color, const QRect &area)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (pixelAt(image, x, y) == color)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    if (bounds.isNull())
        return std::nullopt;
    return bounds;
}

QImage solidPicture(int w, int h, QColor color)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

constexpr TColor Face = rgb(212, 208, 200);
constexpr TColor Highlight = rgb(255, 255, 255);
constexpr TColor Shadow = rgb(128, 128, 128);
constexpr TColor DarkShadow = rgb(64, 64, 64);
constexpr TColor Light = rgb(227, 223, 215);
constexpr TColor Hover = rgb(204, 214, 227);
constexpr TColor IconRed = rgb(255, 0, 0);
constexpr TColor CaptionInk = rgb(0, 0, 0);

class PictureButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Distinct system colours, so every bevel and frame edge can be told apart.
        for (std::size_t i = 0; i < kIndexes.size(); ++i)
            m_saved[i] = GetSysColor(kIndexes[i]);
        setSystemColor(COLOR_BTNFACE, Face);
        setSystemColor(COLOR_BTNHIGHLIGHT, Highlight);
        setSystemColor(COLOR_BTNSHADOW, Shadow);
        setSystemColor(COLOR_3DDKSHADOW, DarkShadow);
        setSystemColor(COLOR_3DLIGHT, Light);
        // The pointer starts outside every window, so the first move enters this one.
        QCursor::setPos(-100, -100);
    }

    void TearDown() override
    {
        for (std::size_t i = 0; i < kIndexes.size(); ++i)
            setSystemColor(kIndexes[i], m_saved[i]);
    }

    // A button in a shown and active window, placed away from the window's edges.
    TPictureButton *showButton(QSize size)
    {
        auto *button = new TPictureButton(&m_window);
        button->setGeometry(QRect(QPoint(20, 20), size));
        QPalette colors = button->palette();
        colors.setColor(QPalette::ButtonText, QColor(0, 0, 0));
        button->setPalette(colors);
        m_window.resize(size.width() + 60, size.height() + 60);
        m_window.show();
        m_window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_window));
        pointerAway();
        return button;
    }

    // The create button of the main window.
    TPictureButton *showCreateButton()
    {
        TPictureButton *button = showButton(QSize(321, 41));
        button->setCaption(QStringLiteral("作成"));
        QFont font = button->font();
        font.setPixelSize(16);
        font.setBold(true);
        button->setFont(font);
        button->setPicture(solidPicture(16, 16, Qt::red));
        button->setPictureLeft(30);
        button->setPictureTop(10);
        button->setInColor(Hover);
        return button;
    }

    // Moves the pointer over the window, outside the button.
    void pointerAway() { QTest::mouseMove(&m_window, QPoint(2, 2)); }

    QWidget m_window;

private:
    static constexpr std::array<int, 5> kIndexes = {
        COLOR_BTNFACE, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT};
    std::array<TColor, 5> m_saved{};
};

TEST_F(PictureButtonTest, NewButtonHasDocumentedDefaults)
{
    TPictureButton button;
    EXPECT_EQ(button.buttonStyle(), bsStdButton);
    EXPECT_EQ(button.bevelInner(), bvNone);
    EXPECT_EQ(button.bevelOuter(), bvNone);
    EXPECT_TRUE(button.colorChange());
    EXPECT_TRUE(button.caption().isEmpty());
    EXPECT_EQ(button.focusStyle(), bfsStdButton);
    EXPECT_TRUE(button.picture().isNull());
    EXPECT_EQ(button.inColor(), systemColorReference(COLOR_3DLIGHT));
    EXPECT_EQ(button.color(), systemColorReference(COLOR_BTNFACE));
    EXPECT_EQ(button.faceColor(), button.color());
    EXPECT_EQ(button.pictureLeft(), -1);
    EXPECT_EQ(button.pictureTop(), -1);
    EXPECT_EQ(button.captionLeft(), -1);
    EXPECT_EQ(button.captionTop(), -1);
    EXPECT_FALSE(button.stretch());
    EXPECT_FALSE(button.focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(button.size(), QSize(36, 36));

    // InColor is only stored; Color also becomes the face at once.
    button.setInColor(Hover);
    EXPECT_EQ(button.faceColor(), systemColorReference(COLOR_BTNFACE));
    button.setColor(rgb(1, 2, 3));
    EXPECT_EQ(button.faceColor(), rgb(1, 2, 3));
}

TEST_F(PictureButtonTest, SystemColoursComeFromThePalette)
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Light, QColor(4, 5, 6));
    palette.setColor(QPalette::Active, QPalette::Dark, QColor(7, 8, 9));
    palette.setColor(QPalette::Active, QPalette::Shadow, QColor(10, 11, 12));
    palette.setColor(QPalette::Active, QPalette::Midlight, QColor(13, 14, 15));
    palette.setColor(QPalette::Active, QPalette::ToolTipBase, QColor(16, 17, 18));
    const TColor infoBackground = GetSysColor(COLOR_INFOBK);
    applyPaletteToSystemColors(palette);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), rgb(1, 2, 3));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), rgb(4, 5, 6));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), rgb(7, 8, 9));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), rgb(10, 11, 12));
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), rgb(13, 14, 15));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), rgb(16, 17, 18));
    setSystemColor(COLOR_INFOBK, infoBackground);

    // A button paints with the table's current values.
    TPictureButton button;
    button.setButtonStyle(bsNone);
    EXPECT_EQ(pixelAt(button.renderToImage(), 18, 18), rgb(1, 2, 3));
}

TEST_F(PictureButtonTest, CreateButtonIconAndCaptionShiftOnePixelWhileHeld)
{
    TPictureButton *button = showCreateButton();
    QSignalSpy clicks(button, &TPictureButton::clicked);
    const QRect captionArea(60, 2, 321 - 64, 41 - 4);

    const QImage rest = button->renderToImage();
    EXPECT_EQ(pixelAt(rest, 30, 10), IconRed);
    EXPECT_EQ(pixelAt(rest, 45, 25), IconRed);
    EXPECT_EQ(pixelAt(rest, 29, 10), Face);
    EXPECT_EQ(pixelAt(rest, 46, 26), Face);
    // The raised standard frame.
    EXPECT_EQ(pixelAt(rest, 0, 0), Light);
    EXPECT_EQ(pixelAt(rest, 320, 40), DarkShadow);
    EXPECT_EQ(pixelAt(rest, 1, 1), Highlight);
    EXPECT_EQ(pixelAt(rest, 319, 39), Shadow);
    const auto restCaption = boundsOf(rest, CaptionInk, captionArea);
    ASSERT_TRUE(restCaption.has_value());

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(160, 20));
    EXPECT_TRUE(button->isDown());
    const QImage held = button->renderToImage();
    EXPECT_EQ(pixelAt(held, 31, 11), IconRed);
    EXPECT_EQ(pixelAt(held, 46, 26), IconRed);
    EXPECT_EQ(pixelAt(held, 30, 10), Hover);
    EXPECT_EQ(pixelAt(held, 30, 11), Hover);
    // The pushed frame: shadow outside, face inside.
    EXPECT_EQ(pixelAt(held, 0, 0), Shadow);
    EXPECT_EQ(pixelAt(held, 320, 40), Shadow);
    EXPECT_EQ(pixelAt(held, 1, 1), Face);
    EXPECT_EQ(pixelAt(held, 319, 39), Face);
    const auto heldCaption = boundsOf(held, CaptionInk, captionArea);
    ASSERT_TRUE(heldCaption.has_value());
    EXPECT_EQ(*heldCaption, restCaption->translated(1, 1));

    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(160, 20));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(button->isDown());
    const QImage after = button->renderToImage();
    EXPECT_EQ(pixelAt(after, 30, 10), IconRed);
    EXPECT_EQ(pixelAt(after, 0, 0), Light);
}

TEST_F(PictureButtonTest, CentredPictureRoundsHalvesToEven)
{
    const QRect everything(0, 0, 35, 19);
    for (const auto &[size, expected] :
         {std::pair{QSize(33, 17), QPoint(8, 0)}, std::pair{QSize(35, 17), QPoint(10, 0)},
          std::pair{QSize(34, 19), QPoint(9, 2)}, std::pair{QSize(33, 20), QPoint(8, 2)}}) {
        TPictureButton button;
        button.setButtonStyle(bsNone);
        button.resize(size);
        button.setPicture(solidPicture(16, 16, Qt::red));
        const auto bounds =
            boundsOf(button.renderToImage(), IconRed, everything.intersected(button.rect()));
        ASSERT_TRUE(bounds.has_value());
        EXPECT_EQ(*bounds, QRect(expected, QSize(16, 16))) << size.width() << "x" << size.height();
    }
}

TEST_F(PictureButtonTest, FrameSwatchShowsItsColourInsideARaisedBevel)
{
    TPictureButton *swatch = showButton(QSize(33, 17));
    constexpr TColor Swatch = rgb(10, 200, 30);
    swatch->setButtonStyle(bsFrame);
    swatch->setColor(Swatch);
    swatch->setInColor(Swatch);
    EXPECT_EQ(swatch->bevelOuter(), bvRaised);
    EXPECT_EQ(swatch->bevelInner(), bvLowered);

    const QImage rest = swatch->renderToImage();
    // Outer bevel raised: highlight on the top and left, shadow on the bottom and right
    // (including the top-right and bottom-left corners).
    EXPECT_EQ(pixelAt(rest, 0, 0), Highlight);
    EXPECT_EQ(pixelAt(rest, 31, 0), Highlight);
    EXPECT_EQ(pixelAt(rest, 0, 15), Highlight);
    EXPECT_EQ(pixelAt(rest, 32, 0), Shadow);
    EXPECT_EQ(pixelAt(rest, 0, 16), Shadow);
    EXPECT_EQ(pixelAt(rest, 32, 16), Shadow);
    // Inner bevel lowered: the other way round.
    EXPECT_EQ(pixelAt(rest, 1, 1), Shadow);
    EXPECT_EQ(pixelAt(rest, 31, 15), Highlight);
    // Everything else is the swatch colour.
    EXPECT_EQ(boundsOf(rest, Swatch, rest.rect()), QRect(2, 2, 29, 13));

    // Hovering changes nothing when InColor equals Color.
    QTest::mouseMove(swatch, QPoint(10, 8));
    EXPECT_EQ(swatch->renderToImage(), rest);

    // A press takes the outer bevel away.
    QTest::mousePress(swatch, Qt::LeftButton, {}, QPoint(10, 8));
    EXPECT_EQ(swatch->bevelOuter(), bvNone);
    QTest::mouseRelease(swatch, Qt::LeftButton, {}, QPoint(10, 8));
    EXPECT_EQ(swatch->bevelOuter(), bvRaised);
}

TEST_F(PictureButtonTest, HoverShowsInColorUnlessColorChangeIsOff)
{
    TPictureButton *button = showButton(QSize(60, 30));
    button->setColor(rgb(100, 110, 120));
    button->setInColor(Hover);
    QSignalSpy enters(button, &TPictureButton::mouseEnter);
    QSignalSpy leaves(button, &TPictureButton::mouseLeave);

    EXPECT_EQ(pixelAt(button->renderToImage(), 30, 15), rgb(100, 110, 120));
    QTest::mouseMove(button, QPoint(7, 9));
    EXPECT_EQ(button->faceColor(), Hover);
    EXPECT_EQ(pixelAt(button->renderToImage(), 30, 15), Hover);
    ASSERT_EQ(enters.count(), 1);
    EXPECT_EQ(enters.at(0).at(2).toPoint(), QPoint(7, 9));
    EXPECT_EQ(enters.at(0).at(1).value<Qt::MouseButtons>(), Qt::NoButton);

    pointerAway();
    EXPECT_EQ(button->faceColor(), rgb(100, 110, 120));
    ASSERT_EQ(leaves.count(), 1);
    EXPECT_EQ(leaves.at(0).at(2).toPoint(),
              button->mapFromGlobal(m_window.mapToGlobal(QPoint(2, 2))));

    button->setColorChange(false);
    QTest::mouseMove(button, QPoint(7, 9));
    EXPECT_EQ(pixelAt(button->renderToImage(), 30, 15), rgb(100, 110, 120));
    EXPECT_EQ(enters.count(), 2);
}

TEST_F(PictureButtonTest, DisabledButtonPaintsLikeAnEnabledOne)
{
    TPictureButton *button = showCreateButton();
    const QImage enabled = button->renderToImage();
    button->setEnabled(false);
    EXPECT_EQ(button->renderToImage(), enabled);

    // A press that is under way when the button is disabled ends without a click.
    button->setEnabled(true);
    QSignalSpy clicks(button, &TPictureButton::clicked);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(100, 20));
    button->setEnabled(false);
    EXPECT_FALSE(button->isDown());
    EXPECT_EQ(button->faceColor(), button->color());
    EXPECT_EQ(button->renderToImage(), enabled);
    button->setEnabled(true);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(100, 20));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(PictureButtonTest, ReleasingOutsideAfterMovingOffGivesNoClick)
{
    TPictureButton *button = showCreateButton();
    QSignalSpy clicks(button, &TPictureButton::clicked);
    QSignalSpy leaves(button, &TPictureButton::mouseLeave);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(100, 20));
    QTest::mouseMove(button, QPoint(400, 20));
    // Held down with the mouse off it: face Color, contents in place, raised frame.
    EXPECT_TRUE(button->isDown());
    EXPECT_EQ(button->leaveShift(), -1);
    ASSERT_EQ(leaves.count(), 1);
    EXPECT_EQ(leaves.at(0).at(1).value<Qt::MouseButtons>(), Qt::LeftButton);
    const QImage off = button->renderToImage();
    EXPECT_EQ(pixelAt(off, 30, 10), IconRed);
    EXPECT_EQ(pixelAt(off, 46, 26), Face);
    EXPECT_EQ(pixelAt(off, 0, 0), Light);

    // Back on it: held-down look again.
    QTest::mouseMove(button, QPoint(100, 21));
    EXPECT_EQ(button->leaveShift(), 0);
    EXPECT_EQ(pixelAt(button->renderToImage(), 31, 11), IconRed);

    QTest::mouseMove(button, QPoint(100, 60));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(100, 60));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(button->isDown());
    EXPECT_EQ(button->leaveShift(), 0);
    EXPECT_EQ(button->faceColor(), button->color());

    // Moving off and back before releasing still clicks.
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(100, 20));
    QTest::mouseMove(button, QPoint(-5, 20));
    QTest::mouseMove(button, QPoint(100, 20));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(100, 20));
    EXPECT_EQ(clicks.count(), 1);

    // Other mouse buttons do not press it.
    QTest::mouseClick(button, Qt::RightButton, {}, QPoint(100, 20));
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(PictureButtonTest, SpaceClicksOnReleaseUnlessAnotherKeyCancels)
{
    TPictureButton *button = showCreateButton();
    button->setFocus();
    QSignalSpy clicks(button, &TPictureButton::clicked);

    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_TRUE(button->isDown());
    EXPECT_EQ(pixelAt(button->renderToImage(), 31, 11), IconRed);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(button, &repeat);
    EXPECT_TRUE(button->isDown());
    EXPECT_EQ(clicks.count(), 0);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(button->isDown());

    // Another key while Space is held cancels; releasing Space then does nothing.
    QTest::keyPress(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_A);
    EXPECT_FALSE(button->isDown());
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);

    // So does losing the focus.
    QTest::keyPress(button, Qt::Key_Space);
    button->clearFocus();
    EXPECT_FALSE(button->isDown());
    button->setFocus();
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);

    // Space held while the mouse moves off still clicks, and the button returns to rest with
    // its contents in place.
    QTest::mouseMove(button, QPoint(100, 20));
    QTest::keyPress(button, Qt::Key_Space);
    pointerAway();
    EXPECT_EQ(button->leaveShift(), -1);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_FALSE(button->isDown());
    EXPECT_EQ(button->leaveShift(), 0);
    EXPECT_EQ(pixelAt(button->renderToImage(), 30, 10), IconRed);
}

TEST_F(PictureButtonTest, EnterClicksAtOnceWithTheButtonDrawnAtRest)
{
    TPictureButton *button = showCreateButton();
    button->setFocus();
    int clicks = 0;
    bool downDuringClick = true;
    TColor cornerDuringClick = 0;
    QObject::connect(button, &TPictureButton::clicked, button, [&] {
        ++clicks;
        downDuringClick = button->isDown();
        cornerDuringClick = pixelAt(button->renderToImage(), 0, 0);
    });
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(downDuringClick);
    EXPECT_EQ(cornerDuringClick, Light);
    EXPECT_FALSE(button->isDown());
    QTest::keyClick(button, Qt::Key_Enter);
    EXPECT_EQ(clicks, 2);
}

TEST_F(PictureButtonTest, AccessKeyClicksOnlyAVisibleEnabledButton)
{
    TPictureButton *button = showButton(QSize(105, 25));
    button->setCaption(QStringLiteral("閉じる(&C)"));
    auto *other = new TPictureButton(&m_window);
    other->setGeometry(0, 0, 10, 10);
    other->show();
    other->setFocus();
    QSignalSpy clicks(button, &TPictureButton::clicked);

    QTest::keyClick(other, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);
    // Without Alt the letter works while the button itself has the focus.
    QTest::keyClick(other, Qt::Key_C);
    EXPECT_EQ(clicks.count(), 1);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_C);
    EXPECT_EQ(clicks.count(), 2);
    QTest::keyClick(button, Qt::Key_D);
    EXPECT_EQ(clicks.count(), 2);

    other->setFocus();
    button->setEnabled(false);
    QTest::keyClick(other, Qt::Key_C, Qt::AltModifier);
    button->setEnabled(true);
    button->hide();
    QTest::keyClick(other, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 2);

    // "&&" is a literal ampersand, not an access key.
    button->show();
    button->setCaption(QStringLiteral("A&&B"));
    QTest::keyClick(other, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(PictureButtonTest, FocusIsShownByStyle)
{
    TPictureButton *button = showButton(QSize(40, 30));
    button->setColor(rgb(200, 200, 200));
    button->setInColor(Hover);
    const QImage unfocused = button->renderToImage();
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());

    // A dotted rectangle 4 pixels inside the standard frame: every other pixel inverted.
    QImage focused = button->renderToImage();
    EXPECT_EQ(pixelAt(focused, 4, 4), rgb(55, 55, 55));
    EXPECT_EQ(pixelAt(focused, 5, 4), rgb(200, 200, 200));
    EXPECT_EQ(pixelAt(focused, 6, 4), rgb(55, 55, 55));
    EXPECT_EQ(pixelAt(focused, 35, 25), rgb(55, 55, 55));
    EXPECT_EQ(pixelAt(focused, 4, 7), rgb(200, 200, 200));
    EXPECT_EQ(pixelAt(focused, 4, 8), rgb(55, 55, 55));
    EXPECT_EQ(pixelAt(focused, 5, 5), rgb(200, 200, 200));
    EXPECT_EQ(pixelAt(focused, 3, 3), rgb(200, 200, 200));

    // Other styles: R is the client rectangle, so the rectangle lies 2 pixels inside.
    button->setButtonStyle(bsNone);
    focused = button->renderToImage();
    EXPECT_EQ(pixelAt(focused, 2, 2), rgb(55, 55, 55));

    button->setFocusStyle(bfsInColor);
    focused = button->renderToImage();
    EXPECT_EQ(pixelAt(focused, 2, 2), Hover);
    EXPECT_EQ(pixelAt(focused, 20, 15), Hover);

    button->setFocusStyle(bfsNone);
    button->setButtonStyle(bsStdButton);
    EXPECT_EQ(button->renderToImage(), unfocused);
}

TEST_F(PictureButtonTest, StylesSetBevelsAtRestAndWhilePressed)
{
    struct Case
    {
        TButtonStyle style;
        TPanelBevel restInner, restOuter, pressedInner, pressedOuter;
    };
    const Case cases[] = {
        {bsNone, bvNone, bvNone, bvNone, bvLowered},
        {bsLowered, bvNone, bvLowered, bvLowered, bvLowered},
        {bsRaised, bvNone, bvRaised, bvNone, bvLowered},
        {bsFrame, bvLowered, bvRaised, bvLowered, bvNone},
        {bsGroove, bvRaised, bvLowered, bvNone, bvLowered},
        {bsStdButton, bvNone, bvNone, bvNone, bvNone},
    };
    TPictureButton *button = showButton(QSize(40, 30));
    for (const Case &c : cases) {
        button->setButtonStyle(bsIELike);
        button->setButtonStyle(c.style);
        EXPECT_EQ(button->bevelInner(), c.restInner) << int(c.style);
        EXPECT_EQ(button->bevelOuter(), c.restOuter) << int(c.style);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 15));
        EXPECT_EQ(button->bevelInner(), c.pressedInner) << int(c.style);
        EXPECT_EQ(button->bevelOuter(), c.pressedOuter) << int(c.style);
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 15));
        EXPECT_EQ(button->bevelInner(), c.restInner) << int(c.style);
        EXPECT_EQ(button->bevelOuter(), c.restOuter) << int(c.style);
        pointerAway();
    }

    // A raised outer bevel draws highlight on top and left, shadow on bottom and right; a
    // lowered one swaps them.
    button->setButtonStyle(bsRaised);
    QImage image = button->renderToImage();
    EXPECT_EQ(pixelAt(image, 0, 10), Highlight);
    EXPECT_EQ(pixelAt(image, 39, 10), Shadow);
    button->setButtonStyle(bsLowered);
    image = button->renderToImage();
    EXPECT_EQ(pixelAt(image, 0, 10), Shadow);
    EXPECT_EQ(pixelAt(image, 39, 10), Highlight);
}

TEST_F(PictureButtonTest, HoverStylesRaiseUnderThePointer)
{
    TPictureButton *button = showButton(QSize(40, 30));
    button->setButtonStyle(bsIELike);
    QTest::mouseMove(button, QPoint(20, 15));
    EXPECT_EQ(button->bevelOuter(), bvRaised);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_EQ(button->bevelOuter(), bvLowered);
    QTest::mouseMove(button, QPoint(60, 15));
    EXPECT_EQ(button->bevelOuter(), bvNone);
    EXPECT_EQ(button->leaveShift(), -1);
    QTest::mouseMove(button, QPoint(20, 15));
    EXPECT_EQ(button->bevelOuter(), bvLowered);
    EXPECT_EQ(button->leaveShift(), 0);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_EQ(button->bevelOuter(), bvRaised);
    pointerAway();
    EXPECT_EQ(button->bevelOuter(), bvNone);

    // The flat speed-button look stays raised while the button is dragged off.
    button->setButtonStyle(bsSpBtnLike);
    QTest::mouseMove(button, QPoint(20, 15));
    EXPECT_EQ(button->bevelOuter(), bvRaised);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_EQ(button->bevelOuter(), bvLowered);
    QTest::mouseMove(button, QPoint(60, 15));
    EXPECT_EQ(button->bevelOuter(), bvRaised);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(60, 15));
    pointerAway();
    EXPECT_EQ(button->bevelOuter(), bvNone);
}

TEST_F(PictureButtonTest, PicturesAreTransparentAndStretchInsideAMargin)
{
    TPictureButton *button = showButton(QSize(40, 30));
    button->setButtonStyle(bsNone);
    button->setColor(rgb(50, 60, 70));

    // Without an alpha channel the colour of the bottom-left pixel is see-through.
    QImage bitmap(4, 4, QImage::Format_RGB32);
    bitmap.fill(QColor(255, 0, 255));
    bitmap.setPixelColor(1, 1, Qt::red);
    button->setPicture(bitmap);
    QImage image = button->renderToImage();
    EXPECT_EQ(pixelAt(image, 18, 13), rgb(50, 60, 70));
    EXPECT_EQ(pixelAt(image, 19, 14), IconRed);
    EXPECT_EQ(boundsOf(image, rgb(255, 0, 255), image.rect()), std::nullopt);

    // Stretched: the picture on the face colour fills left/top 2 to right/bottom size - 4.
    button->setPicture(solidPicture(4, 4, Qt::red));
    button->setStretch(true);
    image = button->renderToImage();
    EXPECT_EQ(boundsOf(image, IconRed, image.rect()), QRect(QPoint(2, 2), QPoint(35, 25)));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 15));
    image = button->renderToImage();
    EXPECT_EQ(boundsOf(image, IconRed, image.rect()), QRect(QPoint(3, 3), QPoint(35, 25)));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 15));
}

} // namespace
