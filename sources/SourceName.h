// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "sources/BookmarkLocations.h"

#include <QList>
#include <QString>

// The name of a source as the top folder of a page of several: a folder tree, the folder's
// name; a bookmark file of the user's browsers (one of known, compared as the same file), the
// browser and profile (BookmarkLocation::name); any other file, the file's name.
QString sourceName(const QString &path, const QList<BookmarkLocation> &known);
