// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QString>

// The run state that the main window and the batch run share. All of it lives on the GUI thread.

// True while a page write may go on; the stop button clears it, and the interactive run reads it
// afterwards to tell a finished write from a stopped one.
extern bool ContinueWriting;
// True once the batch run has begun; the main window then closes without asking.
extern bool AutoRun;
// The first command-line argument, the output path of the batch run, shown in the auto-run notice.
extern QString AutoRunOutputPath;
