// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArrayView>
#include <QString>

class LinkTree;

// True when bytes start as a Netscape bookmark file does: <!DOCTYPE NETSCAPE-Bookmark-file-1>,
// in any case, after blanks (and a UTF-8 byte-order mark) if any.
bool isNetscapeBookmarks(QByteArrayView bytes);

// Reads a Netscape bookmark file (UTF-8) into tree. The file is parsed as HTML5 is, so the
// sloppy markup of real exports (unclosed <DT> and <p>, attributes in any case and order) and
// entities read as a browser reads them. A folder is an <H3> with the <DL> that follows it, a
// link an <A HREF>, and a <DD> after a link its description. False, with the reason in error,
// when the folders are nested deeper than the tree takes.
bool readNetscapeBookmarks(QByteArrayView bytes, LinkTree &tree, QString &error);
