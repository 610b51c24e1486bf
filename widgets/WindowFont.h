#pragma once

#include <QFont>
#include <QStringList>

// The interface font of every window: MS P Gothic where it is installed, otherwise IPAPGothic,
// whose proportional metrics are close enough that the texts fit their labels, and Noto Sans
// CJK JP as the last resort. Sizes are in pixels, as the layouts are.
inline QFont windowFont(int pixelSize, bool bold = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
