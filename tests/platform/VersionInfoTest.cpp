// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/VersionInfo.h"

#include "platform/VersionBlock.h"

#include <gtest/gtest.h>

TEST(VersionInfoTest, ProgramBlockGivesProductNameAndVersions)
{
    QString value;
    ReadVersionValue(9, value);
    EXPECT_EQ(value, QStringLiteral("Talvensa"));
    ReadVersionValue(10, value);
    EXPECT_EQ(value, QStringLiteral("5.0.0"));
    EXPECT_FALSE(value.contains(QChar(0)));
    ReadVersionValue(3, value);
    EXPECT_EQ(value, QStringLiteral("5.0.0.0"));
    ReadVersionValue(7, value);
    EXPECT_EQ(value, QStringLiteral("Talvensa"));
    value.clear();
    ReadVersionValue(1, value);
    EXPECT_FALSE(value.isEmpty());

    // Absent keys (PrivateBuild, SpecialBuild) and present empty ones leave the text alone.
    for (quint8 index : {quint8(8), quint8(11), quint8(0), quint8(5)}) {
        value = QStringLiteral("kept");
        ReadVersionValue(index, value);
        EXPECT_EQ(value, QStringLiteral("kept")) << int(index);
    }
}

TEST(VersionInfoTest, LookupFollowsTheFirstTranslation)
{
    const VersionBlock block({0x04B00409u, 0x03A40411u},
                             {{QStringLiteral("041103A4"),
                               {{QStringLiteral("ProductName"), QStringLiteral("wrong table")}}},
                              {QStringLiteral("040904b0"),
                               {{QStringLiteral("productname"), QStringLiteral("Name")},
                                {QStringLiteral("ProductVersion"),
                                 QStringLiteral("1.2") + QChar(0) + QStringLiteral("junk")}}}});
    QString value;
    readVersionValue(&block, 9, value);
    EXPECT_EQ(value, QStringLiteral("Name")); // table and key names match in any case
    readVersionValue(&block, 10, value);
    EXPECT_EQ(value, QStringLiteral("1.2")); // the text ends at its NUL
    value = QStringLiteral("kept");
    readVersionValue(&block, 2, value);
    EXPECT_EQ(value, QStringLiteral("kept"));
}

TEST(VersionInfoTest, MissingDataKeepsTheValueAndMissingTranslationsFail)
{
    QString value = QStringLiteral("kept");
    readVersionValue(nullptr, 10, value);
    EXPECT_EQ(value, QStringLiteral("kept"));

    const VersionBlock noTranslations(
        {},
        {{QStringLiteral("041103A4"), {{QStringLiteral("ProductVersion"), QStringLiteral("1")}}}});
    try {
        readVersionValue(&noTranslations, 10, value);
        FAIL() << "no error raised";
    } catch (const EVersionInfoError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("情報の取得に失敗しました"));
    }
    EXPECT_EQ(value, QStringLiteral("kept"));

    const VersionBlock noStrings({0x03A40411u}, {});
    readVersionValue(&noStrings, 10, value);
    EXPECT_EQ(value, QStringLiteral("kept"));
}
