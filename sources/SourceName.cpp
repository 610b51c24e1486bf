// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/SourceName.h"

#include <QDir>
#include <QFileInfo>

QString sourceName(const QString &path, const QList<BookmarkLocation> &known)
{
    const QFileInfo info(path);
    if (!info.isDir()) {
        const QString canonical = info.canonicalFilePath();
        for (const BookmarkLocation &location : known) {
            if (!canonical.isEmpty() && QFileInfo(location.path).canonicalFilePath() == canonical)
                return location.name();
        }
    }
    // "/home/me/Favorites/" names Favorites, as "/home/me/Favorites" does; "/" itself is "/".
    const QString clean = QDir::cleanPath(path);
    const QString name = QFileInfo(clean).fileName();
    return name.isEmpty() ? clean : name;
}
