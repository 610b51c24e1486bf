// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QIcon>
#include <QImage>

class QPainter;

// The edge of the square the icon is drawn in, in the painter's units.
constexpr int ProgramIconGrid = 32;

// The program's icon, drawn in code: a page of links with a gold star, the favourites it lists.
// Paints it into the square (0, 0)-(32, 32) of the painter, on whatever the painter draws on: an
// image for the windows and the PNG files, an SVG generator for the scalable icon.
void paintProgramIcon(QPainter &painter);
// The icon as an image; size is the edge in pixels.
QImage programIconImage(int size);
// The icon at 16, 32 and 48 pixels.
QIcon programIcon();
