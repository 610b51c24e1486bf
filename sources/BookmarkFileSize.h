// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QtGlobal>

// The largest bookmark file read, and the largest places.sqlite and log copied. A browser's
// files stay far below it (a hundred thousand bookmarks take a few tens of MiB); a file above
// it is damaged or made to hurt, and reading it would cost gigabytes of memory or disk.
constexpr qint64 MaxBookmarkFileBytes = qint64(512) << 20;
