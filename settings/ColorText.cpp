// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "settings/ColorText.h"

namespace {

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// Two hexadecimal digits, checked the way the general integer parser checks "$" followed by
// them, with its message.
int hexPair(QStringView pair)
{
    const int high = hexValue(pair[0]);
    const int low = hexValue(pair[1]);
    if (high < 0 || low < 0)
        throw EConvertError(QStringLiteral("'$%1' is not a valid integer value").arg(pair));
    return high * 16 + low;
}

} // namespace

QString ColorToHexText(TColor value)
{
    const TColor plain = resolveColor(value);
    // Formatted as blue, green, red with at least six digits; digits 5-6, 3-4 and 1-2 of that
    // text are red, green and blue for a plain colour.
    const QString bgr = QStringLiteral("%1").arg(plain, 6, 16, QLatin1Char('0')).toUpper();
    return bgr.mid(4, 2) + bgr.mid(2, 2) + bgr.mid(0, 2);
}

int HexDigitsToInt(QStringView text)
{
    if (text.startsWith(QLatin1Char('$')))
        text = text.mid(1);
    switch (text.size()) {
    case 0:
        return -1;
    case 2:
        return hexPair(text);
    case 4:
        return hexPair(text.first(2)) * 256 + hexPair(text.mid(2, 2));
    default:
        throw EConvertError(QStringLiteral("桁数が2桁か4桁ではありません。"));
    }
}

TColor HexTextToColor(QStringView text)
{
    auto slice = [text](qsizetype from) {
        return from < text.size() ? text.mid(from, 2) : QStringView();
    };
    // Blue first, then green, then red: with several bad slices the error names the last one.
    const int blue = HexDigitsToInt(slice(4));
    const int green = HexDigitsToInt(slice(2));
    const int red = HexDigitsToInt(slice(0));
    return TColor(red & 0xFF) | (TColor(green & 0xFF) << 8) | (TColor(blue & 0xFF) << 16);
}
