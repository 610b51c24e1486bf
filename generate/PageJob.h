// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "outputs/PageFormat.h"
#include "platform/ProgressGauge.h"
#include "settings/DesignSettings.h"

#include <QString>
#include <QStringList>

#include <functional>

// Asked between folders; returning true ends the page early (the footer is still written, so
// the page stays whole HTML, and the write counts as a success).
using StopRequest = std::function<bool()>;

// Everything one page write takes.
struct PageJob
{
    TGlobalVariant settings; // the design; its FavoriteFolder is not read (sources are)
    // The Favourites paths, each a folder tree or a bookmark file. One source gives the page of
    // its folders; several give one top folder each, named after it (sourceName), in this order.
    QStringList sources;
    // Links whose address (normalisedUrl) came earlier in the page are left out.
    bool dropDuplicates = false;
    QString settingsPath; // the file the settings came from, if any: never written over
    PageFormat format = PageFormat::Page;
    // The links' icons, from where the source keeps them (a browser's icon database, the files
    // that shortcuts name), in a format that shows icons; the classic page shows none. Icons
    // that cannot be read leave the page without them (PageWriteReport::iconWarning).
    bool favicons = false;
    QString outputPath; // the page file, replaced if it exists; unused with outputFd
    int outputFd = -1;  // an open descriptor to write to instead, left open
    // An existing file at outputPath is removed first, whatever its permissions (a failed
    // removal is ignored: the write then meets the file). It is removed only once the source
    // has been opened, so a source that cannot be read leaves the old page as it was.
    bool removeOldOutput = false;
    // The page is written to a temporary file beside outputPath, which takes the old page's
    // place only once it is whole (AtomicFile): a reader, or a second run, sees the old page or
    // the new one, never a part or a mix, and a failure leaves the old page. An output that
    // exists and is no regular file (a FIFO, a terminal, /dev/null) is written directly.
    bool replaceWhole = false;
    ProgressGauge *progress = nullptr; // the folder count and the folder being written, or none
    StopRequest stopRequested;         // none: the page is written to its end
};
