// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QString>

// The help file readme.txt that ヘルプ opens: the one in the working folder first, then the one
// installed beside the program, then the one in the installed documentation folder
// (<prefix>/share/doc/talvensa, found from the program's folder <prefix>/bin). Empty when there
// is none.
QString helpFilePath(const QString &workingFolder, const QString &programFolder);
