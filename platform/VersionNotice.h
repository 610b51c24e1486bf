// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QString>

// What --version prints, in the GNU manner: the program's name and the product version, the
// copyright line, then the licence, that it is free software, and that it comes with no
// warranty. Each line ends with a newline.
QString versionNotice(const QString &programName);
