// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/Errors.h"
#include "settings/DesignSettings.h"

#include <QString>
#include <QStringView>

#include <optional>

// Raised when the settings file cannot be written: "<path> に書き込めません".
class ESettingsWriteError final : public TalvensaError
{
public:
    using TalvensaError::TalvensaError;
};

// Raised when the settings file is there but cannot be read: "<path> を読み込めません".
class ESettingsReadError final : public TalvensaError
{
public:
    using TalvensaError::TalvensaError;
};

// Reads the 28 settings from the file at path into settings; a missing file or key gives the
// default, and a Favourites folder that is neither a folder nor a file the user's Favorites
// folder. Throws EConvertError for a colour that cannot be converted: the keys read before it
// keep their new values, the later ones their old ones. A file that is there but cannot be read
// gives every setting its default, then throws ESettingsReadError.
void loadSettingsFile(const QString &path, TGlobalVariant &settings);

// Writes the 28 settings to the file at path, keeping every other line of the file and creating
// its folder when missing. Throws ESettingsReadError, and writes nothing, when the file is there
// but cannot be read (writing would lose the lines it holds); ESettingsWriteError when it cannot
// be written.
void saveSettingsFile(const QString &path, const TGlobalVariant &settings);

// A whole 32-bit integer as the settings file holds flags: decimal with an optional sign, or
// hexadecimal after "$", "x" or "0x". Nothing for any other text, an empty one included.
std::optional<qint64> parseProfileInteger(QStringView text);
