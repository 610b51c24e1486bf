// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QtGlobal>

// A colour value in the Windows layout: red in the lowest byte, then green, then blue. A value
// with the top bit set refers to a system colour whose index is its low byte.
using TColor = quint32;

// The system colour indexes the program uses.
enum SystemColorIndex : int
{
    COLOR_WINDOW = 5,
    COLOR_WINDOWTEXT = 8,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_BTNTEXT = 18,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOBK = 24,
    COLOR_MENUTEXT = 7,
};

constexpr TColor systemColorReference(int index)
{
    return 0x80000000u | quint32(index & 0xFF);
}
constexpr bool isSystemColorReference(TColor value)
{
    return (value & 0x80000000u) != 0;
}

// The current value of a system colour (GetSysColor). The table starts with the classic Windows
// defaults; the interface replaces entries from the application palette at start-up.
TColor GetSysColor(int index);
void setSystemColor(int index, TColor value);
// A plain colour for any value: system colour references are resolved, others pass unchanged.
TColor resolveColor(TColor value);
