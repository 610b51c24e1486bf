// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QString>

// Shell folder numbers used by the program.
constexpr int CSIDL_DESKTOP = 0;
constexpr int CSIDL_FAVORITES = 6;

// The path of a special folder: 6 gives the user's Favorites folder ($HOME/Favorites), 0 the
// desktop folder. Never fails; an unknown number gives the home folder.
QString SpecialFolderPath(int csidl);

// The user's home folder: $HOME, else the password database's entry, else the root folder.
QString homeFolderPath();

// Points the lookup at another home folder (tests), or back at the real one with an empty text.
void setHomeFolderOverride(const QString &home);
