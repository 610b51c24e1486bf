// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// Colour text: HexTextToColor and HexDigitsToInt either give a value or raise EConvertError,
// never anything else, and six hexadecimal digits survive the way to a value and back.
//
// The data is read as UTF-8 (so any character can turn up) and, when it is not valid UTF-8, as
// Latin-1, so every byte value is a character of its own.

#include "FuzzSupport.h"

#include "settings/ColorText.h"

namespace {

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
}

bool allHex(QStringView text)
{
    for (QChar c : text) {
        if (!isHexDigit(c))
            return false;
    }
    return true;
}

void checkDigits(QStringView text)
{
    const QStringView digits = text.startsWith(QLatin1Char('$')) ? text.mid(1) : text;
    try {
        const int value = HexDigitsToInt(text);
        // A value only for empty text, two or four hexadecimal digits.
        if (digits.isEmpty()) {
            FUZZ_CHECK(value == -1);
        } else {
            FUZZ_CHECK(digits.size() == 2 || digits.size() == 4);
            FUZZ_CHECK(allHex(digits));
            FUZZ_CHECK(value == digits.toString().toInt(nullptr, 16));
        }
    } catch (const EConvertError &error) {
        FUZZ_CHECK(!error.message().isEmpty());
        FUZZ_CHECK(!digits.isEmpty());
        FUZZ_CHECK(!((digits.size() == 2 || digits.size() == 4) && allHex(digits)));
    }
}

void checkColor(QStringView text)
{
    try {
        const TColor value = HexTextToColor(text);
        FUZZ_CHECK(value <= 0xFFFFFF);
        const QStringView six = text.first(std::min<qsizetype>(text.size(), 6));
        if (six.size() == 6 && allHex(six))
            FUZZ_CHECK(ColorToHexText(value) == six.toString().toUpper());
    } catch (const EConvertError &error) {
        FUZZ_CHECK(!error.message().isEmpty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArrayView raw(bytes, size);
    const QString text = raw.isValidUtf8() ? QString::fromUtf8(raw) : QString::fromLatin1(raw);
    checkDigits(text);
    checkColor(text);

    // Any plain colour gives six upper-case digits that read back as the same colour.
    if (size >= 3) {
        const TColor plain = TColor(bytes[0]) | (TColor(bytes[1]) << 8) | (TColor(bytes[2]) << 16);
        const QString hex = ColorToHexText(plain);
        FUZZ_CHECK(hex.size() == 6 && allHex(hex) && hex == hex.toUpper());
        FUZZ_CHECK(HexTextToColor(hex) == plain);
    }
    return 0;
}
