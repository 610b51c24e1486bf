// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "generate/PageJob.h"
#include "generate/PageWriteReport.h"
#include "platform/ProgressGauge.h"
#include "settings/DesignSettings.h"

#include <QString>

// The page writer as the windows use it: the design settings it is given (the program-wide
// record, read at each write) and the gauge that the main window lends.
class TCreateHTML final
{
public:
    // settingsPath names the file the settings came from, which a page never replaces; both
    // are read at each write.
    TCreateHTML(const TGlobalVariant &settings, const QString &settingsPath)
        : m_settings(settings), m_settingsPath(settingsPath)
    {}

    // Writes the whole page for the settings, from their Favourites folder, to Path. True when
    // it was written completely and closed; false after any failure. Never throws, shows
    // nothing, asks nothing. With RemoveOldFile an existing file at Path is removed first, once
    // the Favourites source has been opened (a source that cannot be read leaves it as it was).
    // Format is the kind of document written: the classic page unless told otherwise.
    bool CreateHTMLFile(const QString &Path, const StopRequest &stopRequested = {},
                        bool RemoveOldFile = false, PageFormat Format = PageFormat::Page);

    // The gauge that later writes report on, or none.
    void SetGauge(ProgressGauge *Gauge) { m_gauge = Gauge; }
    void ReleaseGauge() { m_gauge = nullptr; }

    // What the last CreateHTMLFile did: sections, links and bytes written, and why it failed.
    const PageWriteReport &lastReport() const { return m_lastReport; }

private:
    const TGlobalVariant &m_settings;
    const QString &m_settingsPath;
    ProgressGauge *m_gauge = nullptr;
    PageWriteReport m_lastReport;
};
