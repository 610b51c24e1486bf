// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/SpecialFolders.h"

#include <QDir>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace {

QString &homeOverride()
{
    static QString home;
    return home;
}

} // namespace

QString homeFolderPath()
{
    if (!homeOverride().isEmpty())
        return homeOverride();
    const QByteArray env = qgetenv("HOME");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    if (const passwd *pw = getpwuid(getuid()); pw && pw->pw_dir)
        return QString::fromLocal8Bit(pw->pw_dir);
    return QDir::rootPath();
}

void setHomeFolderOverride(const QString &home)
{
    homeOverride() = home;
}

QString SpecialFolderPath(int csidl)
{
    const QString home = homeFolderPath();
    switch (csidl) {
    case CSIDL_FAVORITES:
        return QDir(home).filePath(QStringLiteral("Favorites"));
    case CSIDL_DESKTOP:
        if (homeOverride().isEmpty()) {
            const QString desktop =
                QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
            if (!desktop.isEmpty())
                return desktop;
        }
        return QDir(home).filePath(QStringLiteral("Desktop"));
    default:
        return home;
    }
}
