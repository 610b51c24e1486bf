// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// The GUI suite: the built talvensa driven as a user drives it, on an X server of the suite's
// own.

#include "GuiTest.h"

#include <QCoreApplication>

TestDisplay &testDisplay()
{
    // Started at the first test that needs it, so listing the tests starts no server.
    static TestDisplay display;
    return display;
}

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
