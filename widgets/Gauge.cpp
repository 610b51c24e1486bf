// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "widgets/Gauge.h"

#include <QPainter>

#include <algorithm>

namespace {

const QColor groundColor(0xFF, 0xFF, 0xFF);
const QColor barColor(0x00, 0x00, 0xFF);
const QColor borderColor(0x00, 0x00, 0x00);

} // namespace

TGauge::TGauge(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int TGauge::percentDone() const
{
    if (m_maximum <= 0)
        return 0;
    return int(qint64(m_position) * 100 / m_maximum);
}

void TGauge::setMaximum(int maximum)
{
    maximum = std::max(maximum, 0);
    if (maximum == m_maximum)
        return;
    m_maximum = maximum;
    m_position = std::min(m_position, m_maximum);
    repaint();
}

void TGauge::setPosition(int position)
{
    position = std::clamp(position, 0, m_maximum);
    if (position == m_position)
        return;
    const int before = percentDone();
    m_position = position;
    if (percentDone() != before)
        repaint();
}

void TGauge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect outer = rect();
    painter.setPen(borderColor);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outer.adjusted(0, 0, -1, -1));

    const QRect inner = outer.adjusted(1, 1, -1, -1);
    const int filled = m_maximum > 0 ? int(qint64(m_position) * inner.width() / m_maximum) : 0;
    const QRect bar(inner.left(), inner.top(), filled, inner.height());
    const QRect rest(inner.left() + filled, inner.top(), inner.width() - filled, inner.height());
    painter.fillRect(bar, barColor);
    painter.fillRect(rest, groundColor);

    // The percentage reads in blue on the white part and in white on the bar.
    const QString text = QString::number(percentDone()) + QLatin1Char('%');
    painter.setFont(font());
    painter.setClipRect(rest);
    painter.setPen(barColor);
    painter.drawText(inner, Qt::AlignCenter, text);
    painter.setClipRect(bar);
    painter.setPen(groundColor);
    painter.drawText(inner, Qt::AlignCenter, text);
}
