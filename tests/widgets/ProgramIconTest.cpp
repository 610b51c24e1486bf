// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// The icons the build installs: the scalable SVG must look like the PNG sizes, which are the
// windows' own drawing, so the two kinds can never drift apart.

#include "widgets/ProgramIcon.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

const QString IconFolder = QStringLiteral(TALVENSA_ICON_FOLDER);

QImage rasterised(QSvgRenderer &svg, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    svg.render(&painter, QRectF(0, 0, size, size));
    return image;
}

struct Difference
{
    double mean = 0;  // mean of each pixel's largest channel difference, 0 to 255
    double share = 0; // share of the pixels that differ by more than a quarter in some channel
};

Difference difference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (x.size() != y.size())
        return {255, 1};
    double sum = 0;
    int far = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            const int largest =
                std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            sum += largest;
            far += largest > 64;
        }
    }
    const double pixels = double(x.width()) * x.height();
    return {sum / pixels, far / pixels};
}

} // namespace

TEST(ProgramIconTest, TheScalableIconIsTheDrawingOfThePngSizes)
{
    const QString svgPath = IconFolder + QStringLiteral("/scalable/apps/talvensa.svg");
    QFile file(svgPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << svgPath.toStdString();
    const QByteArray text = file.readAll();
    // Vector paths only: no picture embedded in it.
    EXPECT_FALSE(text.contains("<image")) << text.constData();
    QSvgRenderer svg(text);
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBoxF(), QRectF(0, 0, ProgramIconGrid, ProgramIconGrid));

    for (const int size : {16, 32, 48, 256}) {
        const QString pngPath = IconFolder + QStringLiteral("/%1x%1/apps/talvensa.png").arg(size);
        const QImage png(pngPath);
        ASSERT_FALSE(png.isNull()) << pngPath.toStdString();
        EXPECT_EQ(png, programIconImage(size).convertToFormat(png.format())) << size;
        const Difference d = difference(rasterised(svg, size), png);
        EXPECT_LT(d.mean, 2.0) << size;
        EXPECT_LT(d.share, 0.01) << size;
    }
}
