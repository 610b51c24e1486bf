// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArrayView>
#include <QFlags>

// Which entries of a folder a listing (FolderFiles) takes: by the kinds of file asked for, and
// by a name pattern.

// The kinds of file a caller asks a folder listing (FolderFiles) for.
enum TFileKind : quint8
{
    fkReadOnly = 0x01,
    fkHidden = 0x02,
    fkSysFile = 0x04,
    fkArchive = 0x08,
    fkNormal = 0x10,
};
Q_DECLARE_FLAGS(TFileKinds, TFileKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFileKinds)

// Every kind: what the page writer asks for.
constexpr TFileKinds AllFileKinds = TFileKinds::fromInt(0x1F);

// True when an entry with this attribute word (platform/FileKinds.h) is listed for Kinds.
// Directories and volume labels never are.
bool MatchFileKinds(TFileKinds Kinds, quint32 Attributes);

// Whether a name matches a pattern of "*" and "?" with ASCII case ignored.
bool matchesNamePattern(QByteArrayView name, QByteArrayView pattern);
