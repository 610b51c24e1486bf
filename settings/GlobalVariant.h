// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "settings/DesignSettings.h"
#include "settings/SettingsFile.h"

#include <QString>

// The program-wide settings and the path of their file, as the windows share them. Only the
// desktop program's windows use them; a page job and talvensa-cli take their settings as values.
extern TGlobalVariant GlobalVariant;
extern QString SettingsFilePath;

// The settings file path for an executable: its path with ".ini" in place of its extension.
QString settingsPathForExecutable(const QString &executablePath);

// Sets SettingsFilePath from the running executable (settingsFileLocation() of the file beside
// it), then LoadSettings().
void InitSettings();
// loadSettingsFile() of SettingsFilePath into GlobalVariant.
void LoadSettings();
// saveSettingsFile() of GlobalVariant to SettingsFilePath.
void SaveSettings();
