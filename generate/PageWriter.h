#pragma once

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
