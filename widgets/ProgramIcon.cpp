// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "widgets/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace {

QPolygonF starPolygon(QPointF centre, double outer, double inner)
{
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? outer : inner;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        star << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    return star;
}

} // namespace

void paintProgramIcon(QPainter &p)
{
    // The page, with its top right corner folded over.
    QPainterPath page;
    page.moveTo(6.5, 2.5);
    page.lineTo(21.5, 2.5);
    page.lineTo(27.5, 8.5);
    page.lineTo(27.5, 29.5);
    page.lineTo(6.5, 29.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(0x33, 0x4D, 0x80), 1.0));
    p.setBrush(Qt::white);
    p.drawPath(page);
    QPainterPath fold;
    fold.moveTo(21.5, 2.5);
    fold.lineTo(21.5, 8.5);
    fold.lineTo(27.5, 8.5);
    fold.closeSubpath();
    p.setBrush(QColor(0xC8, 0xD6, 0xF0));
    p.drawPath(fold);

    // A heading and link lines in the page's colours.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x00, 0x80, 0x40));
    p.drawRect(QRectF(10, 12, 9, 2));
    p.setBrush(QColor(0xFF, 0x00, 0x00));
    p.drawRect(QRectF(10, 16.5, 7, 1.5));
    p.setBrush(QColor(0x00, 0x33, 0xFF));
    for (int i = 0; i < 4; ++i)
        p.drawRect(QRectF(12, 20 + i * 2.5, 12 - (i % 2) * 3, 1.5));

    // The star of the favourites.
    p.setPen(QPen(QColor(0xB0, 0x70, 0x00), 0.8));
    p.setBrush(QColor(0xFF, 0xC8, 0x20));
    p.drawPolygon(starPolygon(QPointF(8.5, 8.5), 7.5, 3.2));
}

QImage programIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / double(ProgramIconGrid), size / double(ProgramIconGrid));
    paintProgramIcon(p);
    return image;
}

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addPixmap(QPixmap::fromImage(programIconImage(size)));
    return icon;
}
