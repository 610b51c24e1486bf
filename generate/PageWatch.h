// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "generate/PageJob.h"
#include "generate/PageWriteReport.h"
#include "settings/DesignSettings.h"

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

// What a watch tells its caller and asks of it.
struct WatchHooks
{
    // One line for the user (a source gone, no watches to be had).
    std::function<void(const QString &line)> message;
    // After each write of the page, the first included, whether it succeeded or not.
    std::function<void(const PageWriteReport &report)> written;
    // The design settings read again after their file changed; nothing when they cannot be
    // (the caller has said why): the page keeps the design it had.
    std::function<std::optional<TGlobalVariant>()> reloadSettings;
    // The one source is the settings' Favourites folder: when the settings name another, that
    // is read instead.
    bool sourceFromSettings = false;
};

// How a watch waits.
struct WatchTimes
{
    // After the last change, so that a burst of changes gives one page.
    std::chrono::milliseconds quietPeriod{200};
    // The longest a page waits while changes keep coming (a browser writing its log).
    std::chrono::milliseconds longestWait{2000};
    // How often sources that no watch covers are looked at.
    std::chrono::milliseconds pollInterval{2000};
};

// Writes the page of job (an output file, replaced whole each time), then keeps running and
// writes it again whenever a source or the settings file changes, until SIGINT or SIGTERM.
// Each source is kept in memory and only what changed is read again. Gives the report of the
// first write when that failed (a source that could not be read, an output that could not be
// written); else, once stopped, a report of success.
PageWriteReport watchPage(PageJob job, const WatchHooks &hooks, const WatchTimes &times = {});
