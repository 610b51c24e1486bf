// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/HelpFile.h"

#include <QDir>
#include <QFileInfo>

QString helpFilePath(const QString &workingFolder, const QString &programFolder)
{
    const QString name = QStringLiteral("readme.txt");
    const QString documentation =
        QDir(programFolder).filePath(QStringLiteral(TALVENSA_DOC_FROM_PROGRAM));
    for (const QString &folder : {workingFolder, programFolder, documentation}) {
        const QString candidate = QDir(folder).absoluteFilePath(name);
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return {};
}
