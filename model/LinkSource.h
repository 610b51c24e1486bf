// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/Folder.h"
#include "model/Link.h"

// Where the folders and links of a page come from: a folder tree of shortcut files, a browser's
// bookmark file, or several of them. A writer takes one folder at a time and then its links, in
// the page's order: a folder's links, then its sub-folders, each with its own links (pre-order).
// Neither side knows the other's kind.
class LinkSource
{
public:
    virtual ~LinkSource() = default;

    // How many folders the source will give. Asked at most once, before the first folder, and
    // only when a progress gauge shows it; a source may have to look at every folder for it.
    virtual int folderCount() = 0;

    // Moves to the next folder and gives it, or nothing after the last. The folder stays valid
    // until the next call.
    virtual const Folder *nextFolder() = 0;

    // The next link of the current folder, written over link (so that its memory serves again);
    // false after the folder's last.
    virtual bool nextLink(Link &link) = 0;

    // What the source found but could not read on the way, as one line for the user ("2 folders
    // could not be read: File name too long"); empty when it read everything. Asked after the
    // last folder.
    virtual QString readWarning() const { return QString(); }
};
