// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/SystemColors.h"

// Colour arithmetic for a page's dark scheme: contrast as the accessibility guidelines measure
// it, and colours moved just far enough to be read.

// The relative luminance of a colour, 0 (black) to 1 (white).
double relativeLuminance(TColor color);

// The contrast ratio of two colours, 1 (the same) to 21 (black on white).
double contrastRatio(TColor a, TColor b);

// A dark background with the hue of a light one: the colour itself when it is dark already.
// Light text of any hue reaches a contrast of 4.5:1 on it.
TColor darkBackground(TColor color);

// A darker shade of a highlight colour for a dark scheme: its hue, dark enough that light text
// reads on it.
TColor darkHighlight(TColor color);

// The colour lightened, keeping its hue, until it has a contrast of at least minimum against a
// dark background; the colour itself when it has it already. White when even white has too
// little.
TColor readableOnDark(TColor color, TColor background, double minimum = 4.5);
