// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArrayView>
#include <QString>

class LinkTree;

// True when bytes start with the header of an SQLite database.
bool isSqliteDatabase(QByteArrayView bytes);

// Reads the bookmarks of a Firefox "places.sqlite" into tree. The database is never opened where
// it lies: it is copied, together with its write-ahead log ("-wal"), into a temporary folder
// that is removed afterwards, and the copy is read. A running browser's lock then cannot block
// the read, and the changes still waiting in its log are seen.
//
// The top folders are those of the browser under fixed names, in this order: "Bookmarks Menu",
// "Bookmarks Toolbar", "Other Bookmarks", "Mobile Bookmarks"; below them the browser's order.
// Tags, separators and "place:" queries are not bookmarks and are left out. False, with the
// reason in error, when the file cannot be copied or is no database of that shape.
bool readFirefoxPlaces(const QString &path, LinkTree &tree, QString &error);
