// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "settings/GlobalVariant.h"

#include "settings/SettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

TGlobalVariant GlobalVariant;
QString SettingsFilePath;

QString settingsPathForExecutable(const QString &executablePath)
{
    const QFileInfo info(executablePath);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    return info.dir().filePath(base + QStringLiteral(".ini"));
}

void InitSettings()
{
    SettingsFilePath =
        settingsFileLocation(settingsPathForExecutable(QCoreApplication::applicationFilePath()));
    LoadSettings();
}

void LoadSettings()
{
    loadSettingsFile(SettingsFilePath, GlobalVariant);
}

void SaveSettings()
{
    saveSettingsFile(SettingsFilePath, GlobalVariant);
}
