// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "widgets/HintStyle.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

THintStyle::THintStyle(const QString &baseStyleName) : QProxyStyle(baseStyleName) {}

void THintStyle::install()
{
    if (qobject_cast<THintStyle *>(QApplication::style()))
        return;
    // The base is made afresh by name: QApplication deletes the style it replaces.
    auto *style = new THintStyle(QApplication::style()->name());
    QApplication::setStyle(style);
    qApp->installEventFilter(style);
}

int THintStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                          QStyleHintReturn *returnData) const
{
    if (hint == SH_ToolTip_WakeUpDelay)
        return ShowDelay;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

bool THintStyle::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (!widget->toolTip().isEmpty()) {
            const auto *help = static_cast<QHelpEvent *>(event);
            QToolTip::showText(help->globalPos(), widget->toolTip(), widget, QRect(), ShowDuration);
            return true;
        }
    }
    return QProxyStyle::eventFilter(watched, event);
}
