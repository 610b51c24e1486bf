// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// One folder as a source gives it.
struct Folder
{
    // The names from the top of the source down to this folder; empty for the top itself.
    QStringList path;

    // Seconds since 1970; 0 when the source does not know.
    qint64 added = 0;
    qint64 modified = 0;

    // The browser shows this folder as its bookmarks toolbar.
    bool toolbar = false;

    bool operator==(const Folder &) const = default;
};
