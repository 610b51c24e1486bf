// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QFont>

class QWidget;
class TPictureButton;

// What every window of the program shares in its look: the interface font, the place on the
// screen, and the command buttons (create, back, close).

// The interface font of every window: MS P Gothic where it is installed, otherwise IPAPGothic,
// whose proportional metrics are close enough that the texts fit their labels, and Noto Sans
// CJK JP as the last resort. Sizes are in pixels, as the layouts are.
QFont windowFont(int pixelSize, bool bold = false);

// Moves a top-level window to the centre of the primary screen's available area.
void centreOnScreen(QWidget *window);

// A command button: the standard push-button look and focus frame, the hand cursor, and a face of
// red 204, green 214, blue 227 under the mouse. Caption and place are the caller's.
TPictureButton *addCommandButton(QWidget *parent, const char *name);
