// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QPixmap>

// The pictures of the design settings window, drawn in code.

// A generated page with the default design, in a small browser window (244 x 323). The page's
// heading lies around (124, 61), its second folder heading around (37, 136) and that folder's
// links around (84, 176), where the window's pointer lines start.
QPixmap drawSamplePage();

// A page in one pane (false) or in two frames, a folder list on the left (true); 100 x 98.
QPixmap drawLayoutPicture(bool twoFrames);
