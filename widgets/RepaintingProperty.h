// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QWidget>

// The setter of a property that shows on the widget: stores the value and schedules a repaint,
// but does nothing at all, not even a repaint, when the value is the one already stored. True
// when the value changed.
template <typename T> bool changeAndRepaint(QWidget &widget, T &member, const T &value)
{
    if (member == value)
        return false;
    member = value;
    widget.update();
    return true;
}
