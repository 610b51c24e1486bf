// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/SystemColors.h"

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QWidget>

// How the bevels of a picture button behave (resting look, pressed look, hover look).
enum TButtonStyle : quint8
{
    bsNone,
    bsLowered,
    bsRaised,
    bsFrame,
    bsGroove,
    bsIELike,
    bsSpBtnLike,
    bsStdButton,
};

// How a picture button shows that it has the keyboard focus.
enum TFocusStyle : quint8
{
    bfsNone,      // not at all
    bfsStdButton, // a dotted rectangle 2 pixels inside the bevels (4 inside the standard frame)
    bfsInColor,   // the face takes InColor
};

// One 1-pixel bevel of the button's edge.
enum TPanelBevel : quint8
{
    bvNone,
    bvLowered,
    bvRaised,
};

// The program's push button: a control that paints itself completely, with an optional picture
// and an optional caption on a coloured face, one of eight bevel styles, a hover colour, a
// one-pixel shift of its contents while it is held down and a dotted focus rectangle. It is also
// the colour swatch of the settings window (bsFrame, no caption, no picture).
//
// Naming: every property has a setter setName() and a getter name() (isDown() for Down).
// Colours are TColor values, so system colour references (systemColorReference(COLOR_BTNFACE))
// work; they are resolved through GetSysColor each time the button paints. The caption is drawn
// with the widget font in the palette's active ButtonText colour; "&" marks the access key.
//
// Painting goes to one off-screen image that is copied to the screen in one step;
// renderToImage() runs the same drawing and returns that image.
class TPictureButton final : public QWidget
{
    Q_OBJECT

public:
    explicit TPictureButton(QWidget *parent = nullptr);
    ~TPictureButton() override;

    // Bevel behaviour; default bsStdButton. A change applies the style's resting bevels.
    void setButtonStyle(TButtonStyle style);
    TButtonStyle buttonStyle() const { return m_buttonStyle; }

    // Whether the face shows InColor while the mouse is over the button; default true.
    void setColorChange(bool colorChange);
    bool colorChange() const { return m_colorChange; }

    // The caption; default empty. "&x" makes x the access key (Alt+x, or x while focused).
    void setCaption(const QString &caption);
    QString caption() const { return m_caption; }

    // How focus is shown; default bfsStdButton.
    void setFocusStyle(TFocusStyle style);
    TFocusStyle focusStyle() const { return m_focusStyle; }

    // The picture; default none. A copy is kept; a picture without an alpha channel is made
    // transparent where it has the colour of its bottom-left pixel.
    void setPicture(const QPixmap &picture);
    void setPicture(const QImage &picture);
    QPixmap picture() const { return m_picture; }

    // Face colour under the mouse and while pressed; default COLOR_3DLIGHT. Only stored: the
    // face takes it at the next hover or press.
    void setInColor(TColor color);
    TColor inColor() const { return m_inColor; }

    // Resting face colour; default COLOR_BTNFACE. A change also sets the current face colour.
    void setColor(TColor color);
    TColor color() const { return m_color; }

    // Picture and caption position in client pixels; -1 (the default) centres on that axis.
    void setPictureLeft(int left);
    int pictureLeft() const { return m_pictureLeft; }
    void setPictureTop(int top);
    int pictureTop() const { return m_pictureTop; }
    void setCaptionLeft(int left);
    int captionLeft() const { return m_captionLeft; }
    void setCaptionTop(int top);
    int captionTop() const { return m_captionTop; }

    // Whether the picture is stretched over the face; default false.
    void setStretch(bool stretch);
    bool stretch() const { return m_stretch; }

    // Run-time state.
    bool isDown() const { return m_down; }           // held by the left button, Space or Enter
    int leaveShift() const { return m_leaveShift; }  // -1 while held down with the mouse off it
    TColor faceColor() const { return m_faceColor; } // Color or InColor, following the mouse
    TPanelBevel bevelInner() const { return m_bevelInner; }
    TPanelBevel bevelOuter() const { return m_bevelOuter; }

    // Clicks the button as a left click does: back to rest, then clicked().
    void click();

    // The button as it would appear on the screen now, at one image pixel per client pixel.
    QImage renderToImage() const;

Q_SIGNALS:
    void clicked();
    // The mouse pointer entered or left the button. The modifiers and buttons are the keyboard
    // and mouse state at that moment, pos the pointer in client pixels.
    void mouseEnter(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos);
    void mouseLeave(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void paintButton(QImage &image) const;
    void showPressed(bool pressed);
    bool pointerInside() const;
    void pointerEntered(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos);
    void pointerLeft(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos);
    void setDown(bool down);
    void cancelPress();
    void updateAccessKey();
    QChar accessKey() const;
    bool accessKeyUsable() const;

    TButtonStyle m_buttonStyle = bsStdButton;
    bool m_colorChange = true;
    QPixmap m_picture;
    TColor m_inColor = systemColorReference(COLOR_3DLIGHT);
    TColor m_color = systemColorReference(COLOR_BTNFACE);
    bool m_stretch = false;
    TFocusStyle m_focusStyle = bfsStdButton;
    bool m_down = false;
    int m_leaveShift = 0;
    int m_captionLeft = -1;
    int m_pictureLeft = -1;
    int m_pictureTop = -1;
    int m_captionTop = -1;

    QString m_caption;
    TColor m_faceColor = systemColorReference(COLOR_BTNFACE);
    TPanelBevel m_bevelInner = bvNone;
    TPanelBevel m_bevelOuter = bvNone;
    bool m_mouseOver = false; // the pointer is over the button as far as enter and leave tell
    bool m_captured = false;  // the left button was pressed on the button and is still held
    int m_shortcutId = 0;
};
