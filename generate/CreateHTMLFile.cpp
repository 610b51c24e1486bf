// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "generate/CreateHTMLFile.h"

#include "generate/PageWriter.h"
#include "settings/GlobalVariant.h"

namespace {

ProgressGauge *attachedGauge = nullptr;
PageWriteReport lastReport;

} // namespace

bool CreateHTMLFile(const QString &Path, const StopRequest &stopRequested, bool RemoveOldFile)
{
    PageJob job;
    job.settings = GlobalVariant;
    job.source = GlobalVariant.FavoriteFolder;
    job.outputPath = Path;
    job.removeOldOutput = RemoveOldFile;
    job.progress = attachedGauge;
    job.stopRequested = stopRequested;
    lastReport = writePage(job);
    return lastReport.written();
}

void SetGauge(ProgressGauge *Gauge)
{
    attachedGauge = Gauge;
}

void ReleaseGauge()
{
    attachedGauge = nullptr;
}

const PageWriteReport &lastPageWriteReport()
{
    return lastReport;
}
