#pragma once

#include <QPalette>

// Fills the system colour table (GetSysColor) from a palette's active colours: button face from
// Button, button highlight from Light, button shadow from Dark, 3-D dark shadow from Shadow, 3-D
// light from Midlight, tooltip background from ToolTipBase. The program calls it once the
// application exists, and again whenever the application palette changes; the other entries keep
// their classic values.
void applyPaletteToSystemColors(const QPalette &palette);
// The same from the application palette.
void applyPaletteToSystemColors();
