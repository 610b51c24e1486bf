// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/SystemColors.h"

#include <QColor>
#include <QPalette>

// Fills the system colour table (GetSysColor) from a palette's active colours: button face from
// Button, button highlight from Light, button shadow from Dark, 3-D dark shadow from Shadow, 3-D
// light from Midlight, tooltip background from ToolTipBase. The program calls it once the
// application exists, and again whenever the application palette changes; the other entries keep
// their classic values.
void applyPaletteToSystemColors(const QPalette &palette);
// The same from the application palette.
void applyPaletteToSystemColors();

// A colour value as Qt's colour; a system colour reference takes the colour it stands for now.
QColor toQColor(TColor value);
// A Qt colour as a plain colour value (red in the lowest byte).
TColor toTColor(const QColor &color);
