// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArrayView>

// The rules of the Windows private-profile (INI) reader that the settings file and shortcut
// files share:
// - section and key names match without regard to ASCII case;
// - blanks (spaces and tabs) around names and values are trimmed;
// - a value enclosed in one pair of matching quotes ("..." or '...') is read without them;
// - a value is cut to its first MaxValueBytes bytes, never inside a character.
// Neither a quote, a blank nor an ASCII letter can be the second byte of a Shift-JIS or UTF-8
// character, so the rules compare bytes.
namespace ProfileRules {

constexpr qsizetype MaxValueBytes = 2047;

constexpr bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

constexpr char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// True when a value whose first byte is `first` and whose last byte is `last` (a value of at
// least two bytes) loses them when it is read.
constexpr bool isQuotePair(char first, char last)
{
    return (first == '"' || first == '\'') && last == first;
}

// The trimmed value as it is read: without its enclosing quotes, if it has a pair.
inline QByteArrayView withoutEnclosingQuotes(QByteArrayView value)
{
    if (value.size() >= 2 && isQuotePair(value.front(), value.back()))
        return value.sliced(1, value.size() - 2);
    return value;
}

// The bytes without the blanks at either end.
inline QByteArrayView trimBlanks(QByteArrayView bytes)
{
    qsizetype from = 0;
    qsizetype to = bytes.size();
    while (from < to && isBlank(bytes[from]))
        ++from;
    while (to > from && isBlank(bytes[to - 1]))
        --to;
    return bytes.sliced(from, to - from);
}

} // namespace ProfileRules
