// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "outputs/ColorContrast.h"

#include <algorithm>
#include <cmath>

namespace {

struct Hsl
{
    double h; // 0..6, the sextant of the hue circle
    double s;
    double l;
};

double channel(TColor color, int shift)
{
    return double((color >> shift) & 0xFF) / 255.0;
}

Hsl toHsl(TColor color)
{
    const double r = channel(color, 0), g = channel(color, 8), b = channel(color, 16);
    const double high = std::max({r, g, b}), low = std::min({r, g, b});
    const double l = (high + low) / 2;
    const double d = high - low;
    if (d == 0)
        return {0, 0, l};
    const double s = d / (1 - std::fabs(2 * l - 1));
    double h;
    if (high == r)
        h = std::fmod((g - b) / d + 6, 6);
    else if (high == g)
        h = (b - r) / d + 2;
    else
        h = (r - g) / d + 4;
    return {h, s, l};
}

TColor fromHsl(const Hsl &c)
{
    const double chroma = (1 - std::fabs(2 * c.l - 1)) * c.s;
    const double x = chroma * (1 - std::fabs(std::fmod(c.h, 2) - 1));
    double r = 0, g = 0, b = 0;
    switch (int(c.h) % 6) {
    case 0:
        r = chroma, g = x;
        break;
    case 1:
        r = x, g = chroma;
        break;
    case 2:
        g = chroma, b = x;
        break;
    case 3:
        g = x, b = chroma;
        break;
    case 4:
        r = x, b = chroma;
        break;
    default:
        r = chroma, b = x;
        break;
    }
    const double m = c.l - chroma / 2;
    const auto byte = [m](double v) {
        return TColor(std::clamp(std::lround((v + m) * 255), 0L, 255L));
    };
    return byte(r) | byte(g) << 8 | byte(b) << 16;
}

double linear(double v)
{
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

} // namespace

double relativeLuminance(TColor color)
{
    color = resolveColor(color);
    return 0.2126 * linear(channel(color, 0)) + 0.7152 * linear(channel(color, 8)) +
           0.0722 * linear(channel(color, 16));
}

double contrastRatio(TColor a, TColor b)
{
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TColor darkBackground(TColor color)
{
    color = resolveColor(color);
    if (relativeLuminance(color) <= 0.02)
        return color;
    Hsl c = toHsl(color);
    c.s = std::min(c.s, 0.35);
    c.l = 0.09;
    return fromHsl(c);
}

TColor darkHighlight(TColor color)
{
    color = resolveColor(color);
    Hsl c = toHsl(color);
    c.l = std::min(c.l, 0.25);
    TColor dark = fromHsl(c);
    // Yellow is far lighter than blue at the same lightness: step down until light text reads.
    while (relativeLuminance(dark) > 0.07 && c.l > 0.02) {
        c.l -= 0.01;
        dark = fromHsl(c);
    }
    return dark;
}

TColor readableOnDark(TColor color, TColor background, double minimum)
{
    color = resolveColor(color);
    if (contrastRatio(color, background) >= minimum)
        return color;
    Hsl c = toHsl(color);
    while (c.l < 1) {
        c.l = std::min(1.0, c.l + 0.01);
        const TColor lighter = fromHsl(c);
        if (contrastRatio(lighter, background) >= minimum)
            return lighter;
    }
    return 0xFFFFFF;
}
