// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/HelpFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(HelpFileTest, WorkingFolderThenBesideTheProgramThenTheInstalledDocumentation)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // An installed layout: <prefix>/bin/talvensa and <prefix>/share/doc/talvensa/readme.txt.
    const QString working = dir.filePath(QStringLiteral("work"));
    const QString bin = dir.filePath(QStringLiteral("prefix/bin"));
    const QString installed = dir.filePath(QStringLiteral("prefix/share/doc/talvensa/readme.txt"));
    ASSERT_TRUE(QDir().mkpath(working));
    ASSERT_TRUE(QDir().mkpath(bin));

    EXPECT_EQ(helpFilePath(working, bin), QString());
    // A folder of that name is not a help file.
    ASSERT_TRUE(QDir().mkpath(working + QStringLiteral("/readme.txt")));
    EXPECT_EQ(helpFilePath(working, bin), QString());

    touch(installed);
    EXPECT_EQ(helpFilePath(working, bin), installed);
    touch(bin + QStringLiteral("/readme.txt"));
    EXPECT_EQ(helpFilePath(working, bin), bin + QStringLiteral("/readme.txt"));
    ASSERT_TRUE(QDir(working).rmdir(QStringLiteral("readme.txt")));
    touch(working + QStringLiteral("/readme.txt"));
    EXPECT_EQ(helpFilePath(working, bin), working + QStringLiteral("/readme.txt"));
}
