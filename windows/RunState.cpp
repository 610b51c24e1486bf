// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/RunState.h"

bool ContinueWriting = false;
bool AutoRun = false;
QString AutoRunOutputPath;
