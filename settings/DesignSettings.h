// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/SystemColors.h"

#include <QString>

// The design settings. Field names and nesting follow the settings file's history: the sections
// "Link" and "BVK" fill records nested in TDocument, while Document.FavoriteFolder lies at the
// top. The program-wide record is GlobalVariant (settings/GlobalVariant.h); a page write takes
// its own copy.

struct TLink
{
    QString Font;
    QString Size;
    TColor LinkColor = 0;
    TColor VisitedColor = 0;
    TColor HoverColor = 0;
    TColor ActiveColor = 0;
    bool UnderbarFlag = false;
    bool BackColorFlag = false;
    TColor BackColor = 0;
    bool OpenRightWindowFlag = false;
};

struct TBVK
{
    QString Font;
    QString Size;
    TColor Color = 0;
};

struct TDocument
{
    QString Title;
    TColor BackColor = 0;
    TLink Link;
    bool BVKCommentFlag = false;
    TBVK BVK;
};

struct TTitleStyle
{
    QString Title;
    QString Font;
    QString Size;
    TColor Color = 0;
    bool Bold = false;
    bool Italic = false;
};

struct TFolderStyle
{
    QString Font;
    QString Size;
    TColor Color = 0;
    bool Bold = false;
    bool Italic = false;
};

struct TGlobalVariant
{
    QString FavoriteFolder;
    TDocument Document;
    TTitleStyle Title;
    TFolderStyle Folder;
};

// The font value that stands for "no font family".
inline const QString NoFontSpecified = QStringLiteral("<<指定無し>>");
