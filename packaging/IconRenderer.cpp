// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// Writes the program icon, drawn by the same code as the windows' icon, as PNG files for the
// hicolor icon theme: <folder>/<N>x<N>/apps/talvensa.png for every size given. Run at build time.
// The drawing is paths on a QImage, which needs no display and no platform plugin, so there is no
// application object.

#include "widgets/ProgramIcon.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.size() < 3) {
        std::fputs("Usage: talvensa-icon-renderer FOLDER SIZE...\n", stderr);
        return 2;
    }
    const QDir folder(arguments[1]);
    for (const QString &sizeText : arguments.mid(2)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        const QString path =
            folder.filePath(QStringLiteral("%1x%1/apps/talvensa.png").arg(sizeText));
        if (!ok || size <= 0 || !QDir().mkpath(QFileInfo(path).path()) ||
            !programIconImage(size).save(path, "PNG")) {
            std::fprintf(stderr, "talvensa-icon-renderer: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
