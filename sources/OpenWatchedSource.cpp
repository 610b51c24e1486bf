// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/OpenWatchedSource.h"

#include "platform/FileNames.h"
#include "sources/BookmarkFileWatch.h"
#include "sources/FolderTreeWatch.h"

#include <sys/stat.h>

std::unique_ptr<WatchedSource> openWatchedSource(const QString &path)
{
    // As openSource: anything there that is not a folder is taken as a bookmark file.
    struct stat status;
    if (::stat(textToFileName(path).constData(), &status) == 0 && !S_ISDIR(status.st_mode))
        return std::make_unique<BookmarkFileWatch>(path);
    return std::make_unique<FolderTreeWatch>(path);
}
