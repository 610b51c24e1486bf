// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QString>
#include <QStringView>

// The form of an address under which two links count as the same: the scheme and the host in
// lower case, the default port of http (80) or https (443) dropped, and an empty path made "/".
// Nothing else changes: http and https stay apart, and so do the case of the path, the query
// and the fragment. An address without "scheme://" only has its scheme lower-cased.
QString normalisedUrl(QStringView url);
