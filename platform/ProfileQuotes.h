// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArrayView>

// A private-profile value enclosed in one pair of matching quotes ("..." or '...') is read
// without them, as the Windows profile reader does; the settings file and shortcut files alike.
// Neither quote can be the second byte of a Shift-JIS or UTF-8 character, so bytes are compared.

// True when a value whose first byte is `first` and whose last byte is `last` (a value of at
// least two bytes) loses them when it is read.
inline bool isQuotePair(char first, char last)
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
