// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/Errors.h"

#include <QString>

// Raised when the version data has no translation list: "情報の取得に失敗しました".
class EVersionInfoError final : public TalvensaError
{
public:
    using TalvensaError::TalvensaError;
};

// Index into the standard version strings: 0 Comments, 1 CompanyName, 2 FileDescription,
// 3 FileVersion, 4 InternalName, 5 LegalCopyright, 6 LegalTrademarks, 7 OriginalFilename,
// 8 PrivateBuild, 9 ProductName, 10 ProductVersion, 11 SpecialBuild.
// Value receives the text of that key; it is left unchanged when the program carries no
// version data or the key is absent. Throws EVersionInfoError without a translation list.
void ReadVersionValue(quint8 Index, QString &Value);

class VersionBlock;

// The same lookup over the given version data; nullptr stands for a program that carries none.
void readVersionValue(const VersionBlock *block, quint8 Index, QString &Value);
