// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/LinkSource.h"

#include <QString>

#include <memory>

// What a writer takes from its sources beyond the titles, addresses and comments; what it does
// not take may cost a source less.
struct SourceNeeds
{
    bool dates = true; // Link::added and modified, Folder::added and modified
};

// The source that a Favourites path names: a folder tree of shortcut files, or, when the path
// names a file, that file read as browser bookmarks. Nothing, with the reason in error, when the
// source cannot be read at all (a file that is no bookmark file, or a damaged one); a folder
// that does not exist is still a source, of one empty root folder.
std::unique_ptr<LinkSource> openSource(const QString &path, QString &error,
                                       SourceNeeds needs = SourceNeeds());
