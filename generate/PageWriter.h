// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "generate/PageJob.h"
#include "generate/PageWriteReport.h"
#include "model/LinkSource.h"

#include <memory>
#include <vector>

// Writes the page of a job. The source is opened first: when it cannot be read, the report says
// so and the output is not touched. Then the output is created (or replaced) and the page
// written: the head with the style block, one section per folder of the source with its links,
// the footer. An output FIFO that nothing reads is a failed write, not a wait. Never throws,
// shows nothing, asks nothing.
PageWriteReport writePage(const PageJob &job);

// The same from sources already open, one for each of job.sources and in that order (the watch
// keeps its sources in memory and hands them over for each page).
PageWriteReport writePage(const PageJob &job, std::vector<std::unique_ptr<LinkSource>> sources);

// The names of the top folders of a page of several sources (sourceName), the user's browsers'
// bookmark files looked up once.
QStringList sourceNames(const QStringList &sources);
