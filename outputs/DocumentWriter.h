// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/Folder.h"
#include "model/Link.h"

// What every kind of output does with the folders and links of a source: it is told of them one
// after the other, in the source's order, and writes its document to its output as it goes.
// Between begin() and end() come the folders, each opened, given its links and closed; a
// folder's sub-folders follow it (their paths tell how they nest).
class DocumentWriter
{
public:
    virtual ~DocumentWriter() = default;

    // Before the first folder.
    virtual void begin() = 0;
    virtual void beginFolder(const Folder &folder) = 0;
    virtual void link(const Link &link) = 0;
    virtual void endFolder() = 0;
    // After the last folder, also when the write was stopped early: the document is made whole.
    // May throw a TalvensaError (the classic page's footer needs the version).
    virtual void end() = 0;
};
