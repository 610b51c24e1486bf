// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QIcon>
#include <QImage>

// The program's icon, drawn in code: a page of links with a gold star, the favourites it lists.
// size is the edge in pixels.
QImage programIconImage(int size);
// The icon at 16, 32 and 48 pixels.
QIcon programIcon();
