// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/LinkIcon.h"

#include <QString>

#include <memory>

// The icons of a source's links, where the source keeps them. Icons are an extra to a page:
// whatever cannot be read of them is passed over and told once, never a failure of the page.
class SourceIcons : public IconLookup
{
public:
    // What could not be read while icons were looked up, as one line ("3 icons could not be
    // read: database disk image is malformed"); empty when nothing was lost.
    virtual QString readWarning() const { return QString(); }
};

// The icons of the source at path, as openSource() reads it: for a folder tree of shortcut
// files, the files their IconFile entries name; for a Firefox places.sqlite, the favicons.sqlite
// beside it; for a Chromium-family Bookmarks file, the Favicons database beside it. Nothing,
// with the reason in problem, where the source has no icon store (a Netscape bookmark file) or
// its store is missing or damaged.
std::unique_ptr<SourceIcons> openSourceIcons(const QString &path, QString &problem);
