// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/PathText.h"

QString EnsureTrailingBackslash(const QString &Path)
{
    return Path.endsWith(QLatin1Char('/')) ? Path : Path + QLatin1Char('/');
}

QString FolderCaption(const QString &Folder, const QString &Root)
{
    QString path = EnsureTrailingBackslash(Folder);
    const QString root = EnsureTrailingBackslash(Root);
    // Only the leading root is removed: the same text further down the path is a folder name.
    if (path.startsWith(root))
        path.remove(0, root.size());
    const qsizetype last = path.lastIndexOf(QLatin1Char('/'));
    return last < 0 ? QString() : path.first(last);
}

QStringView ShortcutTitle(QStringView FileName)
{
    const QStringView name = FileName.sliced(FileName.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.first(dot);
}

QString nameLine(QStringView name)
{
    QString line = name.toString();
    for (QChar &c : line) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    }
    return line;
}
