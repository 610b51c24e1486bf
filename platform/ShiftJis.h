// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Code page 932 (Shift-JIS as Windows writes it).
//
// toShiftJis never loses a character: one that the code page cannot hold is written as a
// decimal numeric character reference ("&#128512;"), which is what the page needs.
// fitsShiftJis tells whether a text can be written without such references (the settings file
// uses it to choose between Shift-JIS and UTF-8).
QByteArray toShiftJis(QStringView text);
void appendShiftJis(QByteArray &out, QStringView text);
bool fitsShiftJis(QStringView text);
QString fromShiftJis(QByteArrayView bytes);
// True when the bytes are whole, valid code page 932 characters (fromShiftJis loses nothing).
bool isValidShiftJis(QByteArrayView bytes);

// True for a byte that starts a double-byte character.
constexpr bool isShiftJisLeadByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The length of the longest prefix of at most `limit` bytes that does not end inside a
// character, for Shift-JIS or (utf8) UTF-8 bytes.
qsizetype wholeCharacterPrefix(QByteArrayView bytes, qsizetype limit, bool utf8);

// The table behind appendShiftJis, for a writer that encodes in a loop of its own. For a UTF-16
// code unit: 0 when the code page cannot hold it (and for surrogates), b | 0x10000 for one byte
// b, otherwise the two bytes as lead << 8 | trail. Characters below 0x80 are themselves.
const quint32 *shiftJisTable();
