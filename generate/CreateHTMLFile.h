// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "generate/PageJob.h"
#include "generate/PageWriteReport.h"
#include "platform/ProgressGauge.h"

#include <QString>

// The page writer as the windows call it: the program-wide settings (GlobalVariant) and the
// gauge the main window lends.

// Writes the whole page for the current settings to Path. True when it was written completely
// and closed; false after any failure. Never throws, shows nothing, asks nothing. With
// RemoveOldFile an existing file at Path is removed first, once the Favourites source has been
// opened (a source that cannot be read leaves it as it was).
bool CreateHTMLFile(const QString &Path, const StopRequest &stopRequested = {},
                    bool RemoveOldFile = false);

// The gauge that later writes report on, or none.
void SetGauge(ProgressGauge *Gauge);
void ReleaseGauge();

// What the last CreateHTMLFile did: sections, links and bytes written, and why it failed.
const PageWriteReport &lastPageWriteReport();
