// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArrayView>
#include <QString>

class LinkTree;

// True when bytes start as a JSON object does (after blanks and a UTF-8 byte-order mark).
bool looksLikeJsonObject(QByteArrayView bytes);

// Reads a Chromium-family "Bookmarks" file into tree: the containers "bookmark_bar", "other" and
// "synced" of its "roots", in that order, each under its own name, then their nodes in the
// file's order. A node of another type than "url" or "folder", or that is no object, is passed
// over, and a member of the wrong type reads as absent. False, with the reason in error, when
// the file is no JSON or has no "roots" object.
bool readChromiumBookmarks(QByteArrayView bytes, LinkTree &tree, QString &error);
