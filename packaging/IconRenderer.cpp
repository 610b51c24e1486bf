// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// Writes the program icon, drawn by the same code as the windows' icon, for the hicolor icon
// theme: <folder>/<N>x<N>/apps/talvensa.png for every size given, and the same drawing as vector
// paths in <folder>/scalable/apps/talvensa.svg. Run at build time. The drawing goes to a QImage
// or a QSvgGenerator, neither of which needs a display or a platform plugin, so there is no
// application object.

#include "widgets/ProgramIcon.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cstdio>

namespace {

// The icon as an SVG document whose user space is the drawing's 32-unit square.
QByteArray programIconSvg()
{
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(ProgramIconGrid, ProgramIconGrid));
    generator.setViewBox(QRect(0, 0, ProgramIconGrid, ProgramIconGrid));
    // 32 CSS pixels (96 per inch) for the nominal size.
    generator.setResolution(96);
    generator.setTitle(QStringLiteral("Talvensa"));
    generator.setDescription(QStringLiteral("A page of links with a gold star"));
    QPainter painter;
    if (!painter.begin(&generator))
        return {};
    paintProgramIcon(painter);
    painter.end();
    // The icon has no text, yet the generator writes the painter's font on every group: without
    // an application that font has no size, and readers warn about font-size="-1". Left out.
    QString svg = QString::fromUtf8(buffer.data());
    svg.remove(
        QRegularExpression(QStringLiteral("\\s*font-(family|size|weight|style)=\"[^\"]*\"")));
    return svg.toUtf8();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return !bytes.isEmpty() && QDir().mkpath(QFileInfo(path).path()) &&
           file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

int cannotWrite(const QString &path)
{
    std::fprintf(stderr, "talvensa-icon-renderer: cannot write %s\n", qPrintable(path));
    return 1;
}

} // namespace

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
            !programIconImage(size).save(path, "PNG"))
            return cannotWrite(path);
    }
    const QString svgPath = folder.filePath(QStringLiteral("scalable/apps/talvensa.svg"));
    if (!writeFile(svgPath, programIconSvg()))
        return cannotWrite(svgPath);
    return 0;
}
