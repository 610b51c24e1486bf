// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// One link as a source gives it: text, whatever the source's own encoding was. A writer encodes
// it for its output.
struct Link
{
    // False for a shortcut file that went away between the listing of its folder and its
    // reading: it has no values, and the classic page keeps an empty line in its place.
    bool present = true;

    QString title; // one line
    QString url;
    QString comment; // empty: none

    // How the source held the address and the comment. A shortcut file's own URL= value and its
    // comment are text the user typed: a page in the system's legacy code page (Shift-JIS)
    // writes that address as text in its own encoding, and that comment as written, markup
    // included. Any other address is a Unicode address (a browser's bookmark, a shortcut's
    // Unicode entry), which such a page percent-encodes, and any other comment is a plain
    // description, which a page escapes.
    bool urlIsShortcutText = false;
    bool commentIsMarkup = false;

    // The bytes of url and comment as a shortcut file in the legacy code page stores them, kept
    // where they are not plain ASCII: decoding does not always give them back (bytes that are no
    // character, characters with two codes), and the classic page writes them as stored. Empty
    // for text from any other source.
    QByteArray storedUrl;
    QByteArray storedComment;

    // Seconds since 1970; 0 when the source does not know.
    qint64 added = 0;
    qint64 modified = 0;

    // Where the link's icon is found, in the terms of its source (a shortcut's IconFile=, a
    // page address to look up in the browser's icon store); empty: none known.
    QString iconKey;

    bool operator==(const Link &) const = default;
};
