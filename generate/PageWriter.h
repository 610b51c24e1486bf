#pragma once

#include "generate/PageWriteReport.h"
#include "generate/ProgressGauge.h"

#include <QString>

#include <functional>

// Asked between folders; returning true ends the page early (the footer is still written, so
// the page stays whole HTML, and the write counts as a success).
using StopRequest = std::function<bool()>;

// Writes the whole page for the current settings to Path. True when it was written completely
// and closed; false after any failure. Never throws, shows nothing, asks nothing.
bool CreateHTMLFile(const QString &Path, const StopRequest &stopRequested = {});

// The gauge that later writes report on, or none.
void SetGauge(ProgressGauge *Gauge);
void ReleaseGauge();

// The same page written to an open file descriptor (the command-line tool's standard output);
// the descriptor is left open.
bool writeHTMLPage(int fd, const StopRequest &stopRequested = {});

// What the last write did: sections, links and bytes written, and the reason of a failure.
const PageWriteReport &lastPageWriteReport();
