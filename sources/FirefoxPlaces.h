// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QString>

class LinkTree;

// Reads the bookmarks of a Firefox "places.sqlite" into tree, from a private copy made together
// with its write-ahead log (SqliteDatabase), so that a running browser's lock cannot block the
// read and the changes still waiting in its log are seen.
//
// The top folders are those of the browser under fixed names, in this order: "Bookmarks Menu",
// "Bookmarks Toolbar", "Other Bookmarks", "Mobile Bookmarks"; below them the browser's order.
// Tags, separators and "place:" queries are not bookmarks and are left out. False, with the
// reason in error, when the file cannot be copied or is no database of that shape.
bool readFirefoxPlaces(const QString &path, LinkTree &tree, QString &error);
