// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "widgets/SystemPalette.h"

#include "platform/SystemColors.h"

#include <QApplication>

QColor toQColor(TColor value)
{
    const TColor plain = resolveColor(value);
    return QColor(int(plain & 0xFF), int((plain >> 8) & 0xFF), int((plain >> 16) & 0xFF));
}

TColor toTColor(const QColor &color)
{
    return TColor(color.red()) | (TColor(color.green()) << 8) | (TColor(color.blue()) << 16);
}

void applyPaletteToSystemColors(const QPalette &palette)
{
    const auto take = [&palette](int index, QPalette::ColorRole role) {
        setSystemColor(index, toTColor(palette.color(QPalette::Active, role)));
    };
    take(COLOR_BTNFACE, QPalette::Button);
    take(COLOR_BTNHIGHLIGHT, QPalette::Light);
    take(COLOR_BTNSHADOW, QPalette::Dark);
    take(COLOR_3DDKSHADOW, QPalette::Shadow);
    take(COLOR_3DLIGHT, QPalette::Midlight);
    take(COLOR_INFOBK, QPalette::ToolTipBase);
}

void applyPaletteToSystemColors()
{
    applyPaletteToSystemColors(QApplication::palette());
}
