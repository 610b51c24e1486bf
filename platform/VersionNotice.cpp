// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/VersionNotice.h"

#include "platform/VersionInfo.h"

QString versionNotice(const QString &programName)
{
    QString version;
    try {
        ReadVersionValue(10, version);
    } catch (const TalvensaError &) {
        // No version data: the name alone, the rest as always.
    }
    return programName + (version.isEmpty() ? QString() : QLatin1Char(' ') + version) +
           QStringLiteral(
               "\n"
               "Copyright (C) 2026 the Talvensa developers\n"
               "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
               "This is free software: you are free to change and redistribute it.\n"
               "There is NO WARRANTY, to the extent permitted by law.\n");
}
