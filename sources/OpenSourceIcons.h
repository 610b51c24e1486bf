// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "sources/SourceIcons.h"

#include <QString>

#include <memory>

// The icons of the source at path, as openSource() reads it: for a folder tree of shortcut
// files, the files their IconFile entries name; for a Firefox places.sqlite, the favicons.sqlite
// beside it; for a Chromium-family Bookmarks file, the Favicons database beside it. Nothing,
// with the reason in problem, where the source has no icon store (a Netscape bookmark file) or
// its store is missing or damaged.
std::unique_ptr<SourceIcons> openSourceIcons(const QString &path, QString &problem);
