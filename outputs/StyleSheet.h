// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/SystemColors.h"
#include "settings/DesignSettings.h"

#include <QString>

// The page's embedded style block, built from the design settings. Lines end
// with CR LF; declaration lines start with one TAB; values go in exactly as the settings hold
// them (neither quoted nor checked).

// The whole block, from "<style type="text/css">" to the line end after "</style>".
QString BuildStyleSheet(const TGlobalVariant &Settings);

// Selector, " {", the declarations, an empty line and "}"; empties Declarations so the caller
// can build the next rule in it.
QString CssRule(const QString &Selector, QString &Declarations);

// TAB, Name, ": #", the six-digit colour text (red, green, blue), ";".
QString CssColorDeclaration(const QString &Name, TColor Color);

// TAB, Name, ": ", Value, ";".
QString CssDeclaration(const QString &Name, const QString &Value);
