// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "sources/WatchedSource.h"

#include <QString>

#include <memory>

// The watched source a Favourites path names (a folder tree, or a file read as browser
// bookmarks), not read yet.
std::unique_ptr<WatchedSource> openWatchedSource(const QString &path);
