// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "widgets/SkinToolbar.h"

#include "platform/SystemColors.h"

#include <QAction>
#include <QActionEvent>
#include <QFontMetrics>
#include <QToolButton>

namespace {

// Per item: the icon, the style's gap of 4 pixels before the caption, and a border of 1 pixel on
// each side.
constexpr int ItemIconWidth = 16;
constexpr int ItemIconGap = 4;
constexpr int ItemEdges = 2 * 1;

QString cssColor(TColor value)
{
    const TColor plain = resolveColor(value);
    return QStringLiteral("#%1%2%3")
        .arg(plain & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((plain >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((plain >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

QString systemColor(int index)
{
    return cssColor(GetSysColor(index));
}

} // namespace

TSkinToolbar::TSkinToolbar(QWidget *parent) : QToolBar(parent)
{
    setFloatable(false);
    setMovable(false);
    setOrientation(Qt::Horizontal);
    setCursor(Qt::PointingHandCursor);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIconSize(QSize(16, 16));
    setContextMenuPolicy(Qt::PreventContextMenu);
    setStyleSheet(skinStyleSheet());
}

void TSkinToolbar::actionEvent(QActionEvent *event)
{
    QToolBar::actionEvent(event);
    if (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionChanged)
        fitItem(event->action());
}

void TSkinToolbar::fitItem(QAction *action)
{
    // An item is as wide as its icon and caption need: the button's own size hint adds the
    // width of two blanks and more, and the five items of the main window would then not fit
    // into its width.
    auto *button = qobject_cast<QToolButton *>(widgetForAction(action));
    if (!button || action->isSeparator())
        return;
    // A widget under a style sheet does not take its parent's font by itself.
    button->setFont(font());
    // The items show their captions beside their icons and pop up no hints (the button takes
    // its action's text as its hint each time the action changes).
    button->setToolTip(QString());
    const QFontMetrics metrics(button->font());
    button->setFixedWidth(ItemIconWidth + ItemIconGap +
                          metrics.horizontalAdvance(action->iconText()) + ItemEdges);
}

QString TSkinToolbar::skinStyleSheet()
{
    // Ground #EFEDDE framed by the dock border #928F82; an item under the pointer takes the item
    // gradient #ECF1F9 to #C1D2EE with a border in the highlight colour, a pushed one #ADC4E8,
    // a toggled one #E5E9E9; separators #B8B5A8.
    return QStringLiteral(
               "QToolBar { background: #EFEDDE; border: none; border-bottom: 1px solid #928F82;"
               " spacing: 0px; padding: 0px 1px; }"
               "QToolBar::separator { background: #B8B5A8; width: 1px; margin: 3px 2px; }"
               "QToolButton { background: transparent; color: %1; border: 1px solid transparent;"
               " margin: 1px 0px; padding: 0px; }"
               "QToolButton:hover { color: %1; border-color: %2; background: qlineargradient("
               "x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #ECF1F9, stop: 1 #C1D2EE); }"
               "QToolButton:pressed { color: %1; border-color: %2; background: #ADC4E8; }"
               "QToolButton:checked { background: #E5E9E9; }"
               "QToolButton:checked:hover { background: #ADC4E8; }"
               "QToolButton:disabled { color: %3; }")
        .arg(systemColor(COLOR_MENUTEXT), systemColor(COLOR_HIGHLIGHT),
             systemColor(COLOR_BTNSHADOW));
}
