// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/FileNames.h"

#include <gtest/gtest.h>

TEST(FileNamesTest, NamesTurnIntoTextAndBackByteForByte)
{
    const QByteArray names[] = {
        "plain.url",
        "j\xC3\xBCrgen \xF0\x9F\x98\x80.url",     // valid UTF-8
        "bad\xFF.url",                            // a byte that is never UTF-8
        "\x95\x5C\x8E\xA6",                       // 表示 in Shift-JIS
        "\xED\xA0\x80 \xC0\xAF \xF4\x90\x80\x80", // a surrogate, an overlong "/", above U+10FFFF
        "cut \xE3\x81",                           // a sequence cut short
        "\xEF\xBB\xBFmark.url",         // U+FEFF first, which is not a byte-order mark in a name
        "\xFF\xEF\xBB\xBF",             // and after a byte that is not UTF-8
        "\xEF\xBB\xBF\xEF\xBB\xBF\x01", // twice
    };
    for (const QByteArray &name : names) {
        const QString text = fileNameToText(name);
        EXPECT_EQ(textToFileName(text), name) << name.toHex(' ').constData();
        // Valid UTF-8 is read as usual.
        if (name.isValidUtf8()) {
            EXPECT_EQ(text.toUtf8(), name);
        }
        // A byte that cannot be read never turns into "/" or ".", so paths are cut as before.
        EXPECT_EQ(text.count(QLatin1Char('/')), name.count('/'));
        EXPECT_EQ(text.count(QLatin1Char('.')), name.count('.'));
    }
    const QString text = fileNameToText("a\xFF"
                                        "b");
    ASSERT_EQ(text.size(), 3);
    EXPECT_EQ(escapedFileNameByte(text, 1), 0xFF);
    EXPECT_EQ(escapedFileNameByte(text, 0), -1);
    // U+1F4C0 is the pair D83D DCC0: its second half is not the byte 0xC0.
    const QString pair = QString::fromUtf8("\xF0\x9F\x93\x80");
    EXPECT_EQ(escapedFileNameByte(pair, 1), -1);
    EXPECT_EQ(textToFileName(pair), QByteArray("\xF0\x9F\x93\x80"));
    // A character of a real pair is never taken for a byte.
    EXPECT_EQ(textToFileName(QString::fromUtf8("\xF0\x9F\x98\x80")),
              QByteArray("\xF0\x9F\x98\x80"));
}
