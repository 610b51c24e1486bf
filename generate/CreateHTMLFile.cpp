// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "generate/CreateHTMLFile.h"

#include "generate/PageWriter.h"

bool TCreateHTML::CreateHTMLFile(const QString &Path, const StopRequest &stopRequested,
                                 bool RemoveOldFile, PageFormat Format)
{
    PageJob job;
    job.settings = m_settings;
    job.sources = {m_settings.FavoriteFolder};
    job.settingsPath = m_settingsPath;
    job.format = Format;
    job.outputPath = Path;
    job.removeOldOutput = RemoveOldFile;
    job.progress = m_gauge;
    job.stopRequested = stopRequested;
    m_lastReport = writePage(job);
    return m_lastReport.written();
}
