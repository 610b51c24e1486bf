// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QString>

// Where a program keeps its settings file. besideProgram is the file beside the executable
// (talvensa.ini in the program's folder). It is used when it exists or when its folder may be
// written by this user: a program unpacked into a folder of its own carries its settings with it.
// Otherwise (a program installed into /usr/bin, say) the user's own file userSettingsFilePath().
QString settingsFileLocation(const QString &besideProgram);

// The user's configuration folder: $XDG_CONFIG_HOME; ~/.config when that variable is unset,
// empty or not an absolute path.
QString userConfigFolder();

// $XDG_CONFIG_HOME/talvensa/talvensa.ini; ~/.config/talvensa/talvensa.ini when that variable is
// unset, empty or not an absolute path. The folder need not exist: SaveSettings creates it.
QString userSettingsFilePath();
