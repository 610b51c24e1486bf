// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/OpenSource.h"

#include "platform/FileNames.h"
#include "sources/BookmarkFile.h"
#include "sources/FolderSource.h"

#include <sys/stat.h>

std::unique_ptr<LinkSource> openSource(const QString &path, QString &error, SourceNeeds needs)
{
    error.clear();
    // Anything there that is not a folder is taken as a bookmark file; that file decides
    // whether it can be read.
    struct stat status;
    if (::stat(textToFileName(path).constData(), &status) == 0 && !S_ISDIR(status.st_mode))
        return openBookmarkFile(path, error);
    ReadAhead::Window window;
    window.dates = needs.dates;
    return std::make_unique<FolderSource>(path, window);
}
