// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/ShiftJis.h"

#include <gtest/gtest.h>

TEST(ShiftJisTest, EncodesAsciiAndJapaneseLikeCodePage932)
{
    EXPECT_EQ(toShiftJis(u"abc\\~"), QByteArray("abc\\~"));
    // 表 is 0x95 0x5C: its second byte is the backslash.
    EXPECT_EQ(toShiftJis(u"表示"), QByteArray("\x95\x5C\x8E\xA6"));
    EXPECT_EQ(toShiftJis(u"ｱ"), QByteArray("\xB1"));
    // Characters only code page 932 has (NEC and IBM extensions, the full-width tilde).
    EXPECT_EQ(toShiftJis(u"①～"), QByteArray("\x87\x40\x81\x60"));
    EXPECT_EQ(toShiftJis(u"纊"), QByteArray("\xFA\x5C"));
}

TEST(ShiftJisTest, WritesNumericReferencesForCharactersOutsideTheCodePage)
{
    EXPECT_EQ(toShiftJis(u"jürgen"), QByteArray("j&#252;rgen"));
    EXPECT_EQ(toShiftJis(QString::fromUtf8("a\xF0\x9F\x98\x80"
                                           "b")),
              QByteArray("a&#128512;b"));
    // A lone surrogate cannot be encoded either; it is referenced, never dropped.
    const QChar lone(char16_t(0xD800));
    EXPECT_EQ(toShiftJis(QString(lone)), QByteArray("&#55296;"));
    EXPECT_TRUE(fitsShiftJis(u"お気に入り一覧 C:\\Fav"));
    EXPECT_FALSE(fitsShiftJis(u"/home/jürgen/Favorites"));
}

TEST(ShiftJisTest, DecodesWhatItEncodes)
{
    const QString text = QStringLiteral("表示 ﾃｽﾄ ①～ <<指定無し>> 纊");
    EXPECT_EQ(fromShiftJis(toShiftJis(text)), text);
    EXPECT_EQ(fromShiftJis(QByteArray("\x95\x5C\x8E\xA6")), QStringLiteral("表示"));
}

TEST(ShiftJisTest, DecodesControlCodesAsThemselves)
{
    // The system converter swaps 0x1A, 0x1C and 0x7F around; code page 932 does not.
    EXPECT_EQ(fromShiftJis(QByteArray("a\x1A"
                                      "b\x1C"
                                      "c\x7F"
                                      "d")),
              QStringLiteral("a\x1A"
                             "b\x1C"
                             "c\x7F"
                             "d"));
    const QString controls = QStringLiteral("\x1A\x1C\x7F 表示\x7F");
    EXPECT_EQ(fromShiftJis(toShiftJis(controls)), controls);
    // A broken double-byte character before 0x7F still gives one replacement character.
    EXPECT_EQ(fromShiftJis(QByteArray("\x81\x7F")), QStringLiteral("\x1A\x7F"));
}

// Whether bytes are valid Shift-JIS depends on those bytes alone, not on what was decoded before
// them on the same thread.
TEST(ShiftJisTest, ValidityDoesNotDependOnEarlierBytes)
{
    const QByteArray news = QByteArray::fromHex("836a8385815b8358"); // ニュース
    EXPECT_TRUE(isValidShiftJis(news));
    EXPECT_FALSE(isValidShiftJis(QByteArray::fromHex("fffe")));
    EXPECT_TRUE(isValidShiftJis(news));
    EXPECT_EQ(fromShiftJis(news), QStringLiteral("ニュース"));
    EXPECT_FALSE(isValidShiftJis(QByteArray("\x83", 1))); // half a character
    EXPECT_TRUE(isValidShiftJis("plain"));
}
