// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "widgets/PictureButton.h"

#include "widgets/RepaintingProperty.h"
#include "widgets/SystemPalette.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

#include <cmath>

namespace {

QColor systemColor(int index)
{
    return toQColor(systemColorReference(index));
}

// Where an item of the given length starts when centred in the given length: half the free
// space, a half rounded to the even neighbour (17 free pixels give 8, 19 give 10).
int centredHalfToEven(int length, int itemLength)
{
    return int(std::lrint(double(length - itemLength) / 2.0));
}

// A 1-pixel three-dimensional frame just inside r: the left column and the top row (but for
// their far corners) in topLeft, the right column and the bottom row in bottomRight. r shrinks
// by 1 on each side.
void drawFrame(QPainter &painter, QRect &r, const QColor &topLeft, const QColor &bottomRight)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    r.adjust(1, 1, -1, -1);
}

void drawBevel(QPainter &painter, QRect &r, TPanelBevel bevel)
{
    if (bevel == bvNone)
        return;
    const QColor highlight = systemColor(COLOR_BTNHIGHLIGHT);
    const QColor shadow = systemColor(COLOR_BTNSHADOW);
    if (bevel == bvRaised)
        drawFrame(painter, r, highlight, shadow);
    else
        drawFrame(painter, r, shadow, highlight);
}

// The dotted focus rectangle: every other pixel of the outline inverted, in a checkerboard
// aligned to the button's origin, so it shows on any face colour.
void drawFocusRect(QPainter &painter, const QRect &r)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const auto dot = [&painter](int x, int y) {
        if ((x + y) % 2 == 0)
            painter.fillRect(QRect(x, y, 1, 1), QColor(255, 255, 255));
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        dot(x, r.top());
        if (r.bottom() != r.top())
            dot(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        dot(r.left(), y);
        if (r.right() != r.left())
            dot(r.right(), y);
    }
    painter.restore();
}

// A picture without an alpha channel becomes transparent where it has the colour of its
// bottom-left pixel; a picture with one is kept as it is.
QPixmap transparentPicture(const QImage &source)
{
    if (source.isNull() || source.hasAlphaChannel())
        return QPixmap::fromImage(source);
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, image.height() - 1) | 0xFF000000u;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xFF000000u) == key)
                line[x] = 0;
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace

TPictureButton::TPictureButton(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setForegroundRole(QPalette::ButtonText);
    resize(36, 36);
}

TPictureButton::~TPictureButton() = default;

void TPictureButton::setButtonStyle(TButtonStyle style)
{
    if (style == m_buttonStyle)
        return;
    switch (style) {
    case bsLowered:
        m_bevelInner = bvNone;
        m_bevelOuter = bvLowered;
        break;
    case bsRaised:
        m_bevelInner = bvNone;
        m_bevelOuter = bvRaised;
        break;
    case bsFrame:
        m_bevelInner = bvLowered;
        m_bevelOuter = bvRaised;
        break;
    case bsGroove:
        m_bevelInner = bvRaised;
        m_bevelOuter = bvLowered;
        break;
    case bsNone:
    case bsIELike:
    case bsSpBtnLike:
    case bsStdButton:
        m_bevelInner = bvNone;
        m_bevelOuter = bvNone;
        break;
    }
    m_buttonStyle = style;
    update();
}

void TPictureButton::setColorChange(bool colorChange)
{
    changeAndRepaint(*this, m_colorChange, colorChange);
}

void TPictureButton::setCaption(const QString &caption)
{
    if (changeAndRepaint(*this, m_caption, caption))
        updateAccessKey();
}

void TPictureButton::setFocusStyle(TFocusStyle style)
{
    changeAndRepaint(*this, m_focusStyle, style);
}

void TPictureButton::setPicture(const QPixmap &picture)
{
    setPicture(picture.toImage());
}

void TPictureButton::setPicture(const QImage &picture)
{
    m_picture = transparentPicture(picture);
    update();
}

void TPictureButton::setInColor(TColor color)
{
    m_inColor = color;
}

void TPictureButton::setColor(TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    m_faceColor = color;
    update();
}

void TPictureButton::setPictureLeft(int left)
{
    changeAndRepaint(*this, m_pictureLeft, left);
}

void TPictureButton::setPictureTop(int top)
{
    changeAndRepaint(*this, m_pictureTop, top);
}

void TPictureButton::setCaptionLeft(int left)
{
    changeAndRepaint(*this, m_captionLeft, left);
}

void TPictureButton::setCaptionTop(int top)
{
    changeAndRepaint(*this, m_captionTop, top);
}

void TPictureButton::setStretch(bool stretch)
{
    changeAndRepaint(*this, m_stretch, stretch);
}

void TPictureButton::click()
{
    setDown(false);
    showPressed(false);
    repaint();
    Q_EMIT clicked();
}

QImage TPictureButton::renderToImage() const
{
    QImage image(size(), QImage::Format_RGB32);
    if (!image.isNull())
        paintButton(image);
    return image;
}

void TPictureButton::paintEvent(QPaintEvent *)
{
    if (width() <= 0 || height() <= 0)
        return;
    // Everything is drawn off-screen first and copied in one step, so a half-drawn face never
    // shows.
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    paintButton(image);
    QPainter(this).drawImage(0, 0, image);
}

void TPictureButton::paintButton(QImage &image) const
{
    QPainter painter(&image);
    const int w = width();
    const int h = height();
    const QRect client(0, 0, w, h);

    QRect r = client;
    drawBevel(painter, r, m_bevelOuter);
    drawBevel(painter, r, m_bevelInner);

    TColor face = m_faceColor;
    if (m_down)
        face = m_leaveShift != 0 ? m_color : m_inColor;
    if (m_focusStyle == bfsInColor && hasFocus())
        face = m_inColor;
    const QColor faceColor = toQColor(face);
    painter.fillRect(r, faceColor);

    // The contents move one pixel right and down while the button is held with the mouse on it.
    const int s = (m_down ? 1 : 0) + m_leaveShift;

    if (!m_picture.isNull()) {
        if (!m_stretch) {
            const int x =
                m_pictureLeft == -1 ? centredHalfToEven(w, m_picture.width()) : m_pictureLeft;
            const int y =
                m_pictureTop == -1 ? centredHalfToEven(h, m_picture.height()) : m_pictureTop;
            painter.drawPixmap(x + s, y + s, m_picture);
        } else {
            // The picture on the face colour, stretched over the face inside a 2-pixel margin.
            const int b = 2;
            QImage flat(m_picture.size(), QImage::Format_RGB32);
            flat.fill(faceColor);
            QPainter(&flat).drawPixmap(0, 0, m_picture);
            painter.drawImage(QRect(QPoint(b + s, b + s), QPoint(w - 2 * b - 1, h - 2 * b - 1)),
                              flat);
        }
    }

    if (!m_caption.isEmpty()) {
        painter.setFont(font());
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic;
        const QSize textSize = painter.boundingRect(QRect(), flags, m_caption).size();
        const int x = m_captionLeft == -1 ? (w - textSize.width()) / 2 : m_captionLeft;
        const int y = m_captionTop == -1 ? (h - textSize.height()) / 2 : m_captionTop;
        // The caption keeps its colour when the button is disabled: a disabled button looks
        // exactly like an enabled one.
        painter.setPen(palette().color(QPalette::Active, foregroundRole()));
        painter.drawText(QRect(x + s, y + s, w - (x + s), h - (y + s)), flags, m_caption);
    }

    if (m_buttonStyle == bsStdButton) {
        r = client;
        if (s == 1) {
            drawFrame(painter, r, systemColor(COLOR_BTNSHADOW), systemColor(COLOR_BTNSHADOW));
            drawFrame(painter, r, systemColor(COLOR_BTNFACE), systemColor(COLOR_BTNFACE));
        } else {
            drawFrame(painter, r, systemColor(COLOR_3DLIGHT), systemColor(COLOR_3DDKSHADOW));
            drawFrame(painter, r, systemColor(COLOR_BTNHIGHLIGHT), systemColor(COLOR_BTNSHADOW));
        }
    } else {
        r = client.adjusted(s, s, -s, -s);
    }

    if (m_focusStyle == bfsStdButton && hasFocus())
        drawFocusRect(painter, r.adjusted(2, 2, -2, -2));
}

void TPictureButton::showPressed(bool pressed)
{
    const TPanelBevel inner = m_bevelInner;
    const TPanelBevel outer = m_bevelOuter;
    switch (m_buttonStyle) {
    case bsNone:
        m_bevelOuter = pressed ? bvLowered : bvNone;
        break;
    case bsLowered:
        m_bevelInner = pressed ? bvLowered : bvNone;
        break;
    case bsRaised:
        m_bevelOuter = pressed ? bvLowered : bvRaised;
        break;
    case bsFrame:
        m_bevelOuter = pressed ? bvNone : bvRaised;
        break;
    case bsGroove:
        m_bevelInner = pressed ? bvNone : bvRaised;
        break;
    case bsIELike:
        m_bevelOuter = pressed ? bvLowered : (pointerInside() ? bvRaised : bvNone);
        break;
    case bsSpBtnLike:
        m_bevelOuter = pressed ? bvLowered : (m_bevelOuter == bvRaised ? bvNone : bvRaised);
        break;
    case bsStdButton:
        // The frame drawn by paintButton() shows the press.
        break;
    }
    if (inner != m_bevelInner || outer != m_bevelOuter)
        update();
}

bool TPictureButton::pointerInside() const
{
    return rect().contains(mapFromGlobal(QCursor::pos()));
}

void TPictureButton::pointerEntered(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                                    QPoint pos)
{
    Q_EMIT mouseEnter(modifiers, buttons, pos);
    switch (m_buttonStyle) {
    case bsIELike:
    case bsSpBtnLike:
        m_bevelOuter = buttons.testFlag(Qt::LeftButton) ? bvLowered : bvRaised;
        m_leaveShift = 0;
        repaint();
        break;
    case bsStdButton:
        if (m_captured) {
            m_leaveShift = 0;
            repaint();
        }
        break;
    default:
        break;
    }
    if (m_colorChange) {
        m_faceColor = m_inColor;
        update();
    }
}

void TPictureButton::pointerLeft(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                                 QPoint pos)
{
    Q_EMIT mouseLeave(modifiers, buttons, pos);
    switch (m_buttonStyle) {
    case bsIELike:
        m_bevelOuter = bvNone;
        m_leaveShift = m_down ? -1 : 0;
        repaint();
        break;
    case bsSpBtnLike:
        m_bevelOuter = buttons.testFlag(Qt::LeftButton) ? bvRaised : bvNone;
        m_leaveShift = m_down ? -1 : 0;
        repaint();
        break;
    case bsStdButton:
        m_leaveShift = m_down ? -1 : 0;
        repaint();
        break;
    default:
        break;
    }
    if (m_colorChange) {
        m_faceColor = m_color;
        update();
    }
}

void TPictureButton::setDown(bool down)
{
    m_down = down;
    if (!down)
        m_leaveShift = 0;
}

void TPictureButton::cancelPress()
{
    setDown(false);
    showPressed(false);
    repaint();
}

bool TPictureButton::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut) {
        auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcut->shortcutId() == m_shortcutId) {
            if (accessKeyUsable())
                click();
            return true;
        }
    }
    return QWidget::event(event);
}

void TPictureButton::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (m_mouseOver || !isEnabled())
        return;
    m_mouseOver = true;
    pointerEntered(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons(),
                   event->position().toPoint());
}

void TPictureButton::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (!m_mouseOver)
        return;
    m_mouseOver = false;
    pointerLeft(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons(),
                mapFromGlobal(QCursor::pos()));
}

void TPictureButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    // A press is proof that the pointer is over the button, whether or not an enter was seen.
    if (!m_mouseOver && rect().contains(pos)) {
        m_mouseOver = true;
        pointerEntered(event->modifiers(), event->buttons(), pos);
    }
    m_captured = true;
    setFocus(Qt::MouseFocusReason);
    showPressed(true);
    setDown(true);
    repaint();
    event->accept();
}

void TPictureButton::mouseMoveEvent(QMouseEvent *event)
{
    // While the left button holds the mouse, the pointer's way on and off the button is followed
    // here: the windowing system reports no enter or leave until the button is released.
    if (m_captured) {
        const QPoint pos = event->position().toPoint();
        const bool inside = rect().contains(pos);
        if (inside && !m_mouseOver) {
            m_mouseOver = true;
            pointerEntered(event->modifiers(), event->buttons(), pos);
        } else if (!inside && m_mouseOver) {
            m_mouseOver = false;
            pointerLeft(event->modifiers(), event->buttons(), pos);
        }
    }
    QWidget::mouseMoveEvent(event);
}

void TPictureButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_captured) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_captured = false;
    const QPoint pos = event->position().toPoint();
    const bool inside = rect().contains(pos);
    if (inside)
        click();
    showPressed(false);
    setDown(false);
    repaint();
    if (!inside && m_mouseOver) {
        m_mouseOver = false;
        pointerLeft(event->modifiers(), event->buttons(), pos);
    }
    event->accept();
}

void TPictureButton::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
        if (!m_down) {
            setDown(true);
            showPressed(true);
            repaint();
        }
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        showPressed(true);
        setDown(true);
        repaint();
        // Back to rest afterwards, also when a handler of the click throws.
        struct Release
        {
            TPictureButton *button;
            ~Release()
            {
                button->showPressed(false);
                button->setDown(false);
                button->repaint();
            }
        } release{this};
        click();
        event->accept();
        return;
    }
    default:
        break;
    }

    // Any other key cancels a press held with Space or Enter; no click follows.
    if (m_down)
        cancelPress();

    const QChar key = accessKey();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (!key.isNull() && (modifiers == Qt::NoModifier || modifiers == Qt::AltModifier) &&
        event->text().size() == 1 && event->text().at(0).toUpper() == key.toUpper() &&
        accessKeyUsable()) {
        click();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TPictureButton::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        if (m_down) {
            setDown(false);
            showPressed(false);
            repaint();
            click();
            repaint();
        }
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void TPictureButton::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void TPictureButton::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    // A press held with Space ends when the focus goes (Tab, say): its release would go to
    // another control and the button would stay down.
    if (m_down && !m_captured)
        cancelPress();
    update();
}

void TPictureButton::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::EnabledChange || isEnabled())
        return;
    // A disabled button gets no more mouse or key events, so a press or a hover in progress
    // would never end: both end here, without a click.
    m_captured = false;
    if (m_down)
        cancelPress();
    if (m_mouseOver) {
        m_mouseOver = false;
        if (m_colorChange) {
            m_faceColor = m_color;
            update();
        }
    }
}

void TPictureButton::updateAccessKey()
{
    if (m_shortcutId != 0) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    const QKeySequence sequence = QKeySequence::mnemonic(m_caption);
    if (!sequence.isEmpty())
        m_shortcutId = grabShortcut(sequence);
}

QChar TPictureButton::accessKey() const
{
    for (qsizetype i = 0; i + 1 < m_caption.size(); ++i) {
        if (m_caption.at(i) != u'&')
            continue;
        if (m_caption.at(i + 1) != u'&')
            return m_caption.at(i + 1);
        ++i; // "&&" is a literal "&"
    }
    return {};
}

bool TPictureButton::accessKeyUsable() const
{
    return isEnabled() && isVisible() && (!parentWidget() || parentWidget()->isVisible());
}
