// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The pictures of the main window, drawn in code at start-up.

// The banner: 350 x 50, 24 bits per pixel, "Talvensa" in smoothed #0033FF lettering on white.
QImage bannerImage();

// A picture shown transparently: every pixel of the colour of its bottom-left pixel is left out,
// so the window shows through there.
QPixmap transparentPicture(const QImage &image);

// The create button's 16 x 16 icon: a floppy disk in front of a document page.
QImage createButtonIcon();

// The toolbar's 16 x 16 icons.
enum class ToolbarIcon
{
    Cog,            // design settings
    FolderExchange, // change the Favorites folder
    QuestionTile,   // help
    WindowFrame,    // version information
    Cross,          // quit
};
QIcon toolbarIcon(ToolbarIcon motif);
