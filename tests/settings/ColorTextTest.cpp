// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "settings/ColorText.h"

#include <gtest/gtest.h>

namespace {

QString conversionError(QStringView text)
{
    try {
        HexTextToColor(text);
    } catch (const EConvertError &e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

TEST(ColorTextTest, ValuesBecomeRedGreenBlueText)
{
    EXPECT_EQ(ColorToHexText(255), QStringLiteral("FF0000"));
    EXPECT_EQ(ColorToHexText(4227072), QStringLiteral("008040"));
    EXPECT_EQ(ColorToHexText(16777215), QStringLiteral("FFFFFF"));
    EXPECT_EQ(ColorToHexText(0), QStringLiteral("000000"));
    EXPECT_EQ(ColorToHexText(0x0A0B0C), QStringLiteral("0C0B0A"));
}

TEST(ColorTextTest, SystemColourReferencesUseTheCurrentSystemColour)
{
    const TColor saved = GetSysColor(COLOR_BTNFACE);
    setSystemColor(COLOR_BTNFACE, 0x332211);
    EXPECT_EQ(ColorToHexText(systemColorReference(COLOR_BTNFACE)), QStringLiteral("112233"));
    setSystemColor(COLOR_BTNFACE, saved);
}

TEST(ColorTextTest, TextBecomesValues)
{
    EXPECT_EQ(HexTextToColor(u"FF0000"), 255u);
    EXPECT_EQ(HexTextToColor(u"ff0000"), 255u);
    EXPECT_EQ(HexTextToColor(u"008040"), 4227072u);
    EXPECT_EQ(HexTextToColor(u"FFFF00"), 65535u);
    // Empty slices count as 255.
    EXPECT_EQ(HexTextToColor(u""), 16777215u);
    EXPECT_EQ(HexTextToColor(u"FF00"), 16711935u);
    EXPECT_EQ(HexTextToColor(u"80"), 0xFFFF80u);
    // Characters after the sixth are ignored.
    EXPECT_EQ(HexTextToColor(u"008040zz#"), 4227072u);
}

TEST(ColorTextTest, RoundTripsAndWritesUpperCase)
{
    for (TColor c : {0u, 255u, 0x123456u, 0xABCDEFu, 0xFFFFFFu})
        EXPECT_EQ(HexTextToColor(ColorToHexText(c)), c);
    EXPECT_EQ(ColorToHexText(HexTextToColor(u"abcdef")), QStringLiteral("ABCDEF"));
}

TEST(ColorTextTest, DigitPairs)
{
    EXPECT_EQ(HexDigitsToInt(u"1234"), 4660);
    EXPECT_EQ(HexDigitsToInt(u"$1234"), 4660);
    EXPECT_EQ(HexDigitsToInt(u"00FF"), 255);
    EXPECT_EQ(HexDigitsToInt(u""), -1);
    EXPECT_EQ(HexDigitsToInt(u"$"), -1);
    EXPECT_THROW(HexDigitsToInt(u"123"), EConvertError);
    EXPECT_THROW(HexDigitsToInt(u"$$12"), EConvertError);
}

TEST(ColorTextTest, BadTextRaisesTheMessagesUsersSee)
{
    const QString digitCount = QStringLiteral("桁数が2桁か4桁ではありません。");
    EXPECT_EQ(conversionError(u"F"), digitCount);
    EXPECT_EQ(conversionError(u"FFF"), digitCount);
    EXPECT_EQ(conversionError(u"FFFFF"), digitCount);
    // "$1" shrinks to one digit.
    EXPECT_EQ(conversionError(u"$10000"), digitCount);
    EXPECT_EQ(conversionError(u"#FF0000"), QStringLiteral("'$#F' is not a valid integer value"));
    EXPECT_EQ(conversionError(u"FF00 0"), QStringLiteral("'$ 0' is not a valid integer value"));
    EXPECT_EQ(conversionError(u"GG0000"), QStringLiteral("'$GG' is not a valid integer value"));
    // Blue is converted first, so with several bad slices the last one is named.
    EXPECT_EQ(conversionError(u"GGHHII"), QStringLiteral("'$II' is not a valid integer value"));
}
