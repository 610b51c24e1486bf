// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/Artwork.h"

#include <QBitmap>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace {

constexpr int iconSize = 16;

QImage emptyIcon()
{
    QImage image(iconSize, iconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void beginSmooth(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
}

QImage drawCog()
{
    QImage image = emptyIcon();
    QPainter painter(&image);
    beginSmooth(painter);
    const QPointF centre(8, 8);
    constexpr int teeth = 8;
    constexpr double outerRadius = 7.4;
    constexpr double rootRadius = 5.4;
    QPainterPath wheel;
    for (int i = 0; i < teeth * 4; ++i) {
        // Each tooth is four corners: rise, top, top, fall.
        const double angle = (i - 0.5) * std::numbers::pi * 2 / (teeth * 4);
        const bool onTop = (i % 4) == 1 || (i % 4) == 2;
        const double radius = onTop ? outerRadius : rootRadius;
        const QPointF point(centre.x() + radius * std::cos(angle),
                            centre.y() + radius * std::sin(angle));
        if (i == 0)
            wheel.moveTo(point);
        else
            wheel.lineTo(point);
    }
    wheel.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(centre, 2.2, 2.2);
    wheel = wheel.subtracted(hole);

    QLinearGradient metal(0, 0, 16, 16);
    metal.setColorAt(0, QColor(0xB4, 0xC0, 0xCE));
    metal.setColorAt(1, QColor(0x55, 0x63, 0x75));
    painter.setPen(QPen(QColor(0x3A, 0x44, 0x52), 0.9));
    painter.setBrush(metal);
    painter.drawPath(wheel);
    return image;
}

void drawFolder(QPainter &painter, const QRectF &body)
{
    QPainterPath folder;
    folder.moveTo(body.left(), body.top() + 2);
    folder.lineTo(body.left(), body.bottom());
    folder.lineTo(body.right(), body.bottom());
    folder.lineTo(body.right(), body.top() + 2);
    folder.lineTo(body.left() + 6.5, body.top() + 2);
    folder.lineTo(body.left() + 5, body.top());
    folder.lineTo(body.left() + 1, body.top());
    folder.closeSubpath();
    QLinearGradient paper(0, body.top(), 0, body.bottom());
    paper.setColorAt(0, QColor(0xFF, 0xE3, 0x8A));
    paper.setColorAt(1, QColor(0xE8, 0xB0, 0x30));
    painter.setPen(QPen(QColor(0xA8, 0x74, 0x10), 1));
    painter.setBrush(paper);
    painter.drawPath(folder);
}

void drawArrow(QPainter &painter, QPointF from, QPointF to, const QColor &color)
{
    painter.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(from, to);
    const double direction = to.x() > from.x() ? 1 : -1;
    QPainterPath head;
    head.moveTo(to + QPointF(direction * 1.2, 0));
    head.lineTo(to + QPointF(-direction * 2.2, -2.4));
    head.lineTo(to + QPointF(-direction * 2.2, 2.4));
    head.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(head);
}

QImage drawFolderExchange()
{
    QImage image = emptyIcon();
    QPainter painter(&image);
    beginSmooth(painter);
    drawFolder(painter, QRectF(0.5, 1.5, 11, 9));
    // Two arrows in opposite directions over the folder's lower corner.
    const QColor green(0x1E, 0x8C, 0x2E);
    const QColor blue(0x1F, 0x5F, 0xC8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawRoundedRect(QRectF(5.5, 8.5, 10, 7), 2, 2);
    drawArrow(painter, QPointF(6.5, 10.5), QPointF(13.5, 10.5), green);
    drawArrow(painter, QPointF(14.5, 13.8), QPointF(7.5, 13.8), blue);
    return image;
}

QImage drawQuestionTile()
{
    QImage image = emptyIcon();
    QPainter painter(&image);
    beginSmooth(painter);
    QLinearGradient tile(0, 0, 0, 16);
    tile.setColorAt(0, QColor(0x6F, 0x9C, 0xF0));
    tile.setColorAt(1, QColor(0x1F, 0x4F, 0xB4));
    painter.setPen(QPen(QColor(0x17, 0x3A, 0x85), 1));
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);

    // The question mark: a hook, a short stem and a dot.
    QPainterPath hook;
    hook.moveTo(5.2, 6.0);
    hook.cubicTo(5.2, 2.6, 10.8, 2.6, 10.8, 5.6);
    hook.cubicTo(10.8, 7.6, 8.0, 7.8, 8.0, 10.0);
    painter.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(8.0, 12.9), 1.3, 1.3);
    return image;
}

QImage drawWindowFrame()
{
    QImage image = emptyIcon();
    QPainter painter(&image);
    const QRect frame(1, 2, 14, 12);
    painter.fillRect(frame, QColor(0xFF, 0xFF, 0xFF));
    QLinearGradient title(frame.left(), 0, frame.right(), 0);
    title.setColorAt(0, QColor(0x0A, 0x24, 0x6A));
    title.setColorAt(1, QColor(0x3A, 0x6E, 0xD5));
    painter.fillRect(QRect(frame.left(), frame.top(), frame.width(), 3), title);
    painter.setPen(QColor(0x44, 0x4C, 0x5C));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    return image;
}

QImage drawCross()
{
    QImage image = emptyIcon();
    QPainter painter(&image);
    beginSmooth(painter);
    QPainterPath cross;
    cross.moveTo(3.5, 3.5);
    cross.lineTo(12.5, 12.5);
    cross.moveTo(12.5, 3.5);
    cross.lineTo(3.5, 12.5);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x8A, 0x10, 0x10), 4.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(cross);
    painter.setPen(QPen(QColor(0xE0, 0x3A, 0x3A), 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(cross);
    return image;
}

} // namespace

QImage bannerImage()
{
    QImage image(350, 50, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("IPAPGothic")});
    font.setPixelSize(36);
    font.setBold(true);
    font.setItalic(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    font.setStyleStrategy(QFont::PreferAntialias);
    painter.setFont(font);
    painter.setPen(QColor(0x00, 0x33, 0xFF));
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Talvensa"));
    return image;
}

QPixmap transparentPicture(const QImage &image)
{
    QPixmap pixmap = QPixmap::fromImage(image);
    if (image.isNull())
        return pixmap;
    const QColor ground = image.pixelColor(0, image.height() - 1);
    pixmap.setMask(pixmap.createMaskFromColor(ground, Qt::MaskInColor));
    return pixmap;
}

QImage createButtonIcon()
{
    QImage image = emptyIcon();
    QPainter painter(&image);

    // The page behind, with a folded corner and lines of text.
    QPainterPath page;
    page.moveTo(5.5, 0.5);
    page.lineTo(12.5, 0.5);
    page.lineTo(15.5, 3.5);
    page.lineTo(15.5, 12.5);
    page.lineTo(5.5, 12.5);
    page.closeSubpath();
    painter.setPen(QColor(0x6A, 0x6A, 0x6A));
    painter.setBrush(Qt::white);
    painter.drawPath(page);
    painter.drawLine(QPointF(12.5, 0.5), QPointF(12.5, 3.5));
    painter.drawLine(QPointF(12.5, 3.5), QPointF(15.5, 3.5));
    painter.setPen(QColor(0x8C, 0xA8, 0xD8));
    for (int y = 5; y <= 9; y += 2)
        painter.drawLine(11, y, 14, y);

    // The floppy disk in front: dark body, metal shutter at the top, white label below. The
    // bottom row stays empty: a picture shown transparently loses the colour of that corner.
    const QRect disk(0, 4, 11, 11);
    painter.fillRect(disk, QColor(0x23, 0x3E, 0x7A));
    painter.setPen(QColor(0x10, 0x1E, 0x40));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(disk.adjusted(0, 0, -1, -1));
    painter.fillRect(QRect(3, 5, 5, 3), QColor(0xC8, 0xCE, 0xD6));
    painter.fillRect(QRect(6, 5, 1, 2), QColor(0x23, 0x3E, 0x7A));
    painter.fillRect(QRect(2, 10, 7, 4), QColor(0xFF, 0xFF, 0xFF));
    painter.setPen(QColor(0xD0, 0x40, 0x40));
    painter.drawLine(2, 10, 8, 10);
    return image;
}

QIcon toolbarIcon(ToolbarIcon motif)
{
    QImage image;
    switch (motif) {
    case ToolbarIcon::Cog:
        image = drawCog();
        break;
    case ToolbarIcon::FolderExchange:
        image = drawFolderExchange();
        break;
    case ToolbarIcon::QuestionTile:
        image = drawQuestionTile();
        break;
    case ToolbarIcon::WindowFrame:
        image = drawWindowFrame();
        break;
    case ToolbarIcon::Cross:
        image = drawCross();
        break;
    }
    return QIcon(QPixmap::fromImage(image));
}
