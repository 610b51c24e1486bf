// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/SystemColors.h"

#include <array>

namespace {

constexpr TColor rgb(int r, int g, int b)
{
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

std::array<TColor, 31> &table()
{
    // Windows' classic defaults, index by index.
    static std::array<TColor, 31> colors = {
        rgb(212, 208, 200), // 0 scroll bar
        rgb(58, 110, 165),  // 1 background
        rgb(10, 36, 106),   // 2 active caption
        rgb(128, 128, 128), // 3 inactive caption
        rgb(212, 208, 200), // 4 menu
        rgb(255, 255, 255), // 5 window
        rgb(0, 0, 0),       // 6 window frame
        rgb(0, 0, 0),       // 7 menu text
        rgb(0, 0, 0),       // 8 window text
        rgb(255, 255, 255), // 9 caption text
        rgb(212, 208, 200), // 10 active border
        rgb(212, 208, 200), // 11 inactive border
        rgb(128, 128, 128), // 12 app workspace
        rgb(10, 36, 106),   // 13 highlight
        rgb(255, 255, 255), // 14 highlight text
        rgb(212, 208, 200), // 15 button face
        rgb(128, 128, 128), // 16 button shadow
        rgb(128, 128, 128), // 17 grey text
        rgb(0, 0, 0),       // 18 button text
        rgb(212, 208, 200), // 19 inactive caption text
        rgb(255, 255, 255), // 20 button highlight
        rgb(64, 64, 64),    // 21 3-D dark shadow
        rgb(212, 208, 200), // 22 3-D light
        rgb(0, 0, 0),       // 23 info text
        rgb(255, 255, 225), // 24 info background
        rgb(181, 181, 181), // 25
        rgb(0, 0, 128),     // 26 hot light
        rgb(166, 202, 240), // 27 gradient active caption
        rgb(192, 192, 192), // 28 gradient inactive caption
        rgb(49, 106, 197),  // 29 menu highlight
        rgb(236, 233, 216), // 30 menu bar
    };
    return colors;
}

} // namespace

TColor GetSysColor(int index)
{
    if (index < 0 || index >= int(table().size()))
        return 0;
    return table()[std::size_t(index)];
}

void setSystemColor(int index, TColor value)
{
    if (index >= 0 && index < int(table().size()))
        table()[std::size_t(index)] = value & 0xFFFFFF;
}

TColor resolveColor(TColor value)
{
    return isSystemColorReference(value) ? GetSysColor(int(value & 0xFF)) : value;
}
