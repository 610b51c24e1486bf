// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/Errors.h"
#include "platform/SystemColors.h"

#include <QString>
#include <QStringView>

// Raised for colour text that cannot be converted.
class EConvertError final : public TalvensaError
{
public:
    using TalvensaError::TalvensaError;
};

// Six upper-case hexadecimal digits, red then green then blue. A system colour reference is
// replaced by the system colour's current value first. Never fails.
QString ColorToHexText(TColor value);

// Colour text (read in either case) to a colour value. Throws EConvertError.
TColor HexTextToColor(QStringView text);

// Two or four hexadecimal digits, optionally after one "$": 0..255 or 0..65535; -1 for empty
// text. Throws EConvertError for any other length or a character that is not a hex digit.
int HexDigitsToInt(QStringView text);
