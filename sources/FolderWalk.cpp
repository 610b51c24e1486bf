// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/FolderWalk.h"

#include "sources/FolderTreeWalk.h"

#include <optional>
#include <utility>

void GetFolderTree(const QString &Folder, QStringList &List, ReadAhead *readAhead)
{
    FolderTreeWalk walk(Folder, QByteArrayView(), {});
    while (std::optional<FolderTreeWalk::Folder> folder = walk.next()) {
        List.append(std::move(folder->path));
        if (readAhead)
            walk.readAhead(*readAhead);
    }
}
