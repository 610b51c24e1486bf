// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/SamplePictures.h"

#include "widgets/WindowLook.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygon>

namespace {

// The default design of a generated page.
const QColor PageBackground(0xFF, 0xFF, 0xFF);
const QColor TitleColor(0x00, 0x80, 0x40);
const QColor FolderColor(0xFF, 0x00, 0x00);
const QColor LinkColor(0x00, 0x00, 0xFF);
const QColor HoverBackground(0xFF, 0xFF, 0x00);

const QColor FrameFace(0xEC, 0xE9, 0xD8);
const QColor FrameShadow(0x9D, 0x9D, 0xA1);

// A browser window's frame around the page area; returns the page area.
QRect drawBrowserFrame(QPainter &p, const QRect &outer, const QString &title, bool withToolbar)
{
    p.fillRect(outer, FrameFace);
    p.setPen(FrameShadow);
    p.drawRect(outer.adjusted(0, 0, -1, -1));

    const int titleHeight = withToolbar ? 18 : 10;
    const QRect titleBar(outer.left() + 1, outer.top() + 1, outer.width() - 2, titleHeight);
    QLinearGradient gradient(titleBar.topLeft(), titleBar.topRight());
    gradient.setColorAt(0.0, QColor(0x0A, 0x24, 0x6A));
    gradient.setColorAt(1.0, QColor(0xA6, 0xCA, 0xF0));
    p.fillRect(titleBar, gradient);

    if (withToolbar) {
        p.setPen(Qt::white);
        p.setFont(windowFont(10, true));
        p.drawText(titleBar.adjusted(4, 0, -40, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
        // Minimise, maximise and close boxes.
        for (int i = 0; i < 3; ++i) {
            const QRect box(titleBar.right() - 12 - i * 13, titleBar.top() + 3, 11, 11);
            p.fillRect(box, FrameFace);
            p.setPen(FrameShadow);
            p.drawRect(box.adjusted(0, 0, -1, -1));
        }
        p.setPen(QPen(Qt::black, 1));
        const QRect close(titleBar.right() - 12, titleBar.top() + 3, 11, 11);
        p.drawLine(close.left() + 3, close.top() + 3, close.right() - 3, close.bottom() - 3);
        p.drawLine(close.right() - 3, close.top() + 3, close.left() + 3, close.bottom() - 3);

        // Back and forward buttons, then the address field.
        const int toolTop = titleBar.bottom() + 3;
        p.setRenderHint(QPainter::Antialiasing, true);
        for (int i = 0; i < 2; ++i) {
            const QRect round(outer.left() + 5 + i * 16, toolTop, 13, 13);
            p.setPen(QColor(0x2E, 0x7D, 0x32));
            p.setBrush(QColor(0x66, 0xBB, 0x6A));
            p.drawEllipse(round);
            p.setPen(QPen(Qt::white, 1.5));
            const int mid = round.center().y();
            // An arrow pointing left (back) or right (forward).
            const int tail = i == 0 ? round.right() - 3 : round.left() + 3;
            const int head = i == 0 ? round.left() + 3 : round.right() - 3;
            const int barb = i == 0 ? 3 : -3;
            p.drawLine(tail, mid, head, mid);
            p.drawLine(head, mid, head + barb, mid - 3);
            p.drawLine(head, mid, head + barb, mid + 3);
        }
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(Qt::NoBrush);
        const QRect address(outer.left() + 40, toolTop, outer.width() - 46, 13);
        p.fillRect(address, Qt::white);
        p.setPen(FrameShadow);
        p.drawRect(address.adjusted(0, 0, -1, -1));
        p.setPen(Qt::black);
        p.setFont(windowFont(9));
        p.drawText(address.adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   QStringLiteral("file:///home/favorite.html"));

        // Status bar.
        const QRect status(outer.left() + 1, outer.bottom() - 12, outer.width() - 2, 12);
        p.setPen(FrameShadow);
        p.drawLine(status.topLeft(), status.topRight());
        p.setPen(Qt::black);
        p.drawText(status.adjusted(4, 1, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   QStringLiteral("ページが表示されました"));
        const QRect page(outer.left() + 3, toolTop + 17, outer.width() - 6,
                         status.top() - (toolTop + 17) - 2);
        p.setPen(FrameShadow);
        p.drawRect(page.adjusted(-1, -1, 0, 0));
        return page;
    }

    const QRect page(outer.left() + 2, titleBar.bottom() + 2, outer.width() - 4,
                     outer.bottom() - titleBar.bottom() - 3);
    p.setPen(FrameShadow);
    p.drawRect(page.adjusted(-1, -1, 0, 0));
    return page;
}

void drawArrowPointer(QPainter &p, QPoint tip)
{
    const QPolygon arrow({tip, tip + QPoint(0, 11), tip + QPoint(3, 8), tip + QPoint(5, 12),
                          tip + QPoint(7, 11), tip + QPoint(5, 7), tip + QPoint(8, 7)});
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(arrow);
    p.setBrush(Qt::NoBrush);
}

// Lines of grey blocks standing for text in the small layout pictures.
void drawTextBars(QPainter &p, const QRect &area, const QColor &heading, const QColor &links)
{
    int y = area.top() + 4;
    p.fillRect(area.left() + area.width() / 4, y, area.width() / 2, 4, heading);
    y += 9;
    while (y + 3 < area.bottom()) {
        p.fillRect(area.left() + 4, y, area.width() / 3, 2, FolderColor);
        y += 5;
        for (int i = 0; i < 3 && y + 3 < area.bottom(); ++i, y += 5)
            p.fillRect(area.left() + 7, y, area.width() / 2 - i * 4, 2, links);
        y += 2;
    }
}

} // namespace

QPixmap drawSamplePage()
{
    QPixmap picture(244, 323);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    const QRect page = drawBrowserFrame(p, picture.rect(), QStringLiteral("お気に入り一覧"), true);
    p.fillRect(page, PageBackground);
    p.setClipRect(page);

    // The page, at three quarters of its real size: the heading centred, then one section per
    // folder, the first one (the root folder) with an empty caption.
    const int left = page.left() + 6;
    QFont titleFont = windowFont(15, true);
    p.setFont(titleFont);
    p.setPen(TitleColor);
    p.drawText(QRect(page.left(), 54, page.width(), 16), Qt::AlignCenter,
               QStringLiteral("Favorite"));

    const QFont folderFont = windowFont(12);
    const QFont linkFont = windowFont(11);
    const QFontMetrics linkMetrics(linkFont);
    struct Section
    {
        QString caption;
        QStringList links;
    };
    const QList<Section> sections = {
        {QString(), {QStringLiteral("Talvensa ホームページ"), QStringLiteral("天気予報")}},
        {QStringLiteral("ニュース"),
         {QStringLiteral("国内ニュース"), QStringLiteral("Science and Technology News"),
          QStringLiteral("経済ニュース速報"), QStringLiteral("スポーツ")}},
        {QStringLiteral("ツール"),
         {QStringLiteral("辞書"), QStringLiteral("路線検索"), QStringLiteral("地図")}},
        {QStringLiteral("ツール/プログラミング"),
         {QStringLiteral("Qt Documentation"), QStringLiteral("C++ Reference")}},
    };
    int y = 82;
    int linkIndex = 0;
    for (const Section &section : sections) {
        p.setFont(folderFont);
        p.setPen(FolderColor);
        p.drawText(QRect(left, y, page.width() - 12, 13), Qt::AlignLeft | Qt::AlignVCenter,
                   section.caption);
        y += 14;
        p.setFont(linkFont);
        for (const QString &link : section.links) {
            const QRect textRect(left + 8, y, linkMetrics.horizontalAdvance(link), 12);
            // The pointer rests on one link: the hover background shows.
            const bool hovered = ++linkIndex == 5;
            if (hovered)
                p.fillRect(textRect, HoverBackground);
            p.setPen(LinkColor);
            p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, link);
            if (hovered)
                drawArrowPointer(p, textRect.center() + QPoint(18, 2));
            y += 13;
        }
        y += 10;
    }
    p.setClipping(false);
    return picture;
}

QPixmap drawLayoutPicture(bool twoFrames)
{
    QPixmap picture(100, 98);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    const QRect page = drawBrowserFrame(p, picture.rect(), QString(), false);
    p.fillRect(page, PageBackground);
    if (!twoFrames) {
        drawTextBars(p, page, TitleColor, LinkColor);
        return picture;
    }
    // A narrow list on the left; its links open in the wide frame on the right.
    const QRect list(page.left(), page.top(), page.width() * 2 / 5, page.height());
    const QRect right(list.right() + 3, page.top(), page.right() - list.right() - 2, page.height());
    drawTextBars(p, list, TitleColor, LinkColor);
    p.fillRect(list.right() + 1, page.top(), 2, page.height(), FrameFace);
    p.setPen(FrameShadow);
    p.drawLine(list.right() + 2, page.top(), list.right() + 2, page.bottom());
    for (int y = right.top() + 6; y + 3 < right.bottom(); y += 6)
        p.fillRect(right.left() + 4, y, right.width() - 8 - (y % 4) * 3, 2,
                   QColor(0x80, 0x80, 0x80));
    return picture;
}
