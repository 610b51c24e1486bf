// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "settings/SettingsLocation.h"

#include "platform/SpecialFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

QString settingsFileLocation(const QString &besideProgram)
{
    if (QFileInfo::exists(besideProgram))
        return besideProgram;
    // access() asks the kernel, so ownership, mode bits, ACLs and a read-only mount all count.
    const QByteArray folder = QFile::encodeName(QFileInfo(besideProgram).absolutePath());
    if (::access(folder.constData(), W_OK | X_OK) == 0)
        return besideProgram;
    return userSettingsFilePath();
}

QString userConfigFolder()
{
    const QString configHome = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    if (configHome.isEmpty() || QDir::isRelativePath(configHome))
        return QDir(homeFolderPath()).filePath(QStringLiteral(".config"));
    return configHome;
}

QString userSettingsFilePath()
{
    return QDir(userConfigFolder()).filePath(QStringLiteral("talvensa/talvensa.ini"));
}
