// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/LinkSource.h"

#include <QString>

#include <memory>

// A browser's bookmark file as a source of links: a Netscape bookmark file, a Chromium-family
// "Bookmarks" JSON file or a Firefox "places.sqlite", told apart by their content, never by the
// name. Nothing, with the reason in error, when the file cannot be read, is of none of these
// kinds, or is damaged beyond reading.
std::unique_ptr<LinkSource> openBookmarkFile(const QString &path, QString &error);
