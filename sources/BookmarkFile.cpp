// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/BookmarkFile.h"

#include "model/LinkTree.h"
#include "model/TreeSource.h"
#include "platform/RegularFile.h"
#include "sources/BookmarkFileSize.h"
#include "sources/ChromiumBookmarks.h"
#include "sources/FirefoxPlaces.h"
#include "sources/NetscapeBookmarks.h"
#include "sources/SqliteDatabase.h"

#include <QByteArray>

std::unique_ptr<LinkSource> openBookmarkFile(const QString &path, QString &error)
{
    // Only a regular file is read: a FIFO or a device could block or never end. One far larger
    // than any browser writes is refused before it is read.
    RegularFile file;
    if (!file.open(path, MaxBookmarkFileBytes, error))
        return nullptr;
    // The kind is told from the first bytes, so that a large file of another kind is not read.
    QByteArray bytes;
    if (!file.readStart(4096, bytes, error))
        return nullptr;
    LinkTree tree;
    bool read = false;
    if (isSqliteDatabase(bytes)) {
        file.close();
        read = readFirefoxPlaces(path, tree, error);
    } else if (isNetscapeBookmarks(bytes)) {
        read = file.readAll(bytes, error) && readNetscapeBookmarks(bytes, tree, error);
    } else if (looksLikeJsonObject(bytes)) {
        read = file.readAll(bytes, error) && readChromiumBookmarks(bytes, tree, error);
    } else {
        error = QStringLiteral("neither a Netscape bookmark file, a Chromium Bookmarks file nor "
                               "a Firefox places.sqlite");
    }
    if (!read)
        return nullptr;
    return std::make_unique<TreeSource>(std::move(tree));
}
