// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "generate/PageJob.h"
#include "generate/PageWriteReport.h"

// Writes the page of a job. The source is opened first: when it cannot be read, the report says
// so and the output is not touched. Then the output is created (or replaced) and the page
// written: the head with the style block, one section per folder of the source with its links,
// the footer. An output FIFO that nothing reads is a failed write, not a wait. Never throws,
// shows nothing, asks nothing.
PageWriteReport writePage(const PageJob &job);
