// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/Application.h"

#include "platform/SystemColors.h"
#include "widgets/SystemPalette.h"

#include <QPalette>

#include <gtest/gtest.h>

// Qt's own texts (the save and colour dialogs, standard buttons) are Japanese whatever the
// locale the tests run in.
TEST(ApplicationTest, QtSpeaksJapanese)
{
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Save As"),
              QStringLiteral("名前を付けて保存"));
    EXPECT_EQ(QCoreApplication::translate("QColorDialog", "Select Color"),
              QStringLiteral("色を選択"));
}

TEST(ApplicationTest, SystemColoursFollowThePalette)
{
    const QPalette original = QApplication::palette();
    QPalette changed = original;
    changed.setColor(QPalette::Button, QColor(10, 20, 30));
    QApplication::setPalette(changed);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), TColor(10 | (20 << 8) | (30 << 16)));
    QApplication::setPalette(original);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), toTColor(original.color(QPalette::Button)));
}
