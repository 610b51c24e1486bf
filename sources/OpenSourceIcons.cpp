// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/OpenSourceIcons.h"

#include "platform/FileNames.h"
#include "platform/RegularFile.h"
#include "sources/BookmarkFileSize.h"
#include "sources/BrowserIcons.h"
#include "sources/ChromiumBookmarks.h"
#include "sources/ShortcutIcons.h"
#include "sources/SqliteDatabase.h"

#include <QFileInfo>

#include <sys/stat.h>

namespace {

// The icon database at path, or nothing with the reason.
template <typename Open>
std::unique_ptr<SourceIcons> openDatabase(const QString &path, Open open, QString &problem)
{
    QString error;
    std::unique_ptr<BrowserIcons> icons = open(path, error);
    if (!icons)
        problem = QStringLiteral("no icons: cannot read %1: %2").arg(path, error);
    return icons;
}

} // namespace

std::unique_ptr<SourceIcons> openSourceIcons(const QString &path, QString &problem)
{
    problem.clear();
    struct stat status;
    if (::stat(textToFileName(path).constData(), &status) != 0 || S_ISDIR(status.st_mode))
        return std::make_unique<ShortcutIcons>();
    // The bookmark file's kind decides where its browser keeps the icons, as openSource()
    // tells it: from its first bytes.
    RegularFile file;
    QByteArray start;
    QString error;
    if (!file.open(path, MaxBookmarkFileBytes, error) || !file.readStart(4096, start, error)) {
        problem = QStringLiteral("no icons: %1").arg(error);
        return nullptr;
    }
    file.close();
    const QString folder = QFileInfo(path).path();
    if (isSqliteDatabase(start))
        return openDatabase(folder + QStringLiteral("/favicons.sqlite"), &BrowserIcons::openFirefox,
                            problem);
    if (looksLikeJsonObject(start))
        return openDatabase(folder + QStringLiteral("/Favicons"), &BrowserIcons::openChromium,
                            problem);
    problem = QStringLiteral("no icons: a bookmark file of this kind keeps none beside it");
    return nullptr;
}
