// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "widgets/UrlLink.h"

#include "widgets/DialogSeam.h"
#include "widgets/RepaintingProperty.h"
#include "widgets/SystemPalette.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

// The small borderless window that shows the link target next to the pointer.
class TURLLink::HintWindow final : public QWidget
{
public:
    HintWindow()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowDoesNotAcceptFocus)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
        setObjectName(QStringLiteral("URLLinkHint"));
    }

    void setText(const QString &text)
    {
        m_text = text;
        update();
    }
    QString text() const { return m_text; }

    void setBackground(const QColor &color)
    {
        m_background = color;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), m_background);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::Active, QPalette::ToolTipText));
        painter.drawText(QRect(2, 2, width() - 2, height() - 2),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_text);
    }

private:
    QString m_text;
    QColor m_background;
};

TURLLink::TURLLink(QWidget *parent) : QLabel(parent), m_hintWindow(std::make_unique<HintWindow>())
{
    setCursor(Qt::PointingHandCursor);
    // Moves without a pressed button show the hint window.
    setMouseTracking(true);
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, toQColor(m_fontColor));
    setPalette(colors);
}

TURLLink::~TURLLink() = default;

void TURLLink::setURLType(TURLtype type)
{
    changeAndRepaint(*this, m_urlType, type);
}

void TURLLink::setLink(const QString &link)
{
    changeAndRepaint(*this, m_link, link);
}

void TURLLink::setLinkColor(TColor color)
{
    changeAndRepaint(*this, m_linkColor, color);
}

void TURLLink::setEnableShowHint(bool enable)
{
    changeAndRepaint(*this, m_enableShowHint, enable);
}

void TURLLink::setHintFormFont(const QFont &font)
{
    changeAndRepaint(*this, m_hintFormFont, font);
}

void TURLLink::setFontColor(TColor color)
{
    if (!changeAndRepaint(*this, m_fontColor, color))
        return;
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, toQColor(color));
    setPalette(colors);
}

QWidget *TURLLink::hintWindow() const
{
    return m_hintWindow.get();
}

QString TURLLink::target() const
{
    return m_urlType == tpMAIL ? QStringLiteral("mailto:") + m_link : m_link;
}

void TURLLink::enterEvent(QEnterEvent *event)
{
    QLabel::enterEvent(event);
    m_savedColor = m_fontColor;
    setFontColor(m_linkColor);
    update();
}

void TURLLink::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    setFontColor(m_savedColor);
    update();
    hideHint();
}

void TURLLink::mouseMoveEvent(QMouseEvent *event)
{
    // The move is not passed on: the label has no use for it but the hint.
    event->accept();
    if (!m_enableShowHint || m_hintShown)
        return;
    const QPoint pointer = event->globalPosition().toPoint();
    HintWindow &hint = *m_hintWindow;
    hint.setBackground(toQColor(HintFormColor));
    hint.setFont(m_hintFormFont);
    hint.setText(m_link);
    const QFontMetrics metrics(m_hintFormFont);
    hint.resize(metrics.horizontalAdvance(m_link) + 6, metrics.height() + 3);
    hint.move(pointer.x() + HintOffsetX, pointer.y() + HintOffsetY);
    hint.show();
    m_hintShown = true;
}

void TURLLink::mousePressEvent(QMouseEvent *event)
{
    update();
    QLabel::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    event->accept();
    // The link opens on the press, not on the release.
    dialogs().openUrl(nullptr, QUrl(target(), QUrl::TolerantMode));
    hideHint();
}

void TURLLink::hideHint()
{
    if (!m_hintShown)
        return;
    m_hintWindow->hide();
    m_hintShown = false;
}
