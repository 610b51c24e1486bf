// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "widgets/WindowLook.h"

#include "widgets/PictureButton.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>

namespace {

// The face of a command button under the mouse.
constexpr TColor CommandButtonInColor = 204 | (214 << 8) | (227 << 16);

} // namespace

QFont windowFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void centreOnScreen(QWidget *window)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

TPictureButton *addCommandButton(QWidget *parent, const char *name)
{
    auto *button = new TPictureButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setButtonStyle(bsStdButton);
    button->setFocusStyle(bfsStdButton);
    button->setInColor(CommandButtonInColor);
    button->setStretch(false);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}
