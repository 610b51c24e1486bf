// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArrayView>
#include <QFlags>
#include <QString>
#include <QStringList>

class ReadAhead;

// The folder tree and file lists a page is built from. Paths use "/"; a folder path ends with
// "/". The walk only reads the file system.

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

// Appends Folder and every folder below it to List, in pre-order: a folder before its
// sub-folders, siblings in the order the file system gives them. Hidden (dot) folders are not
// walked, and no folder is walked twice, so a symbolic link that leads back up the tree ends.
// A root that does not exist is still the one entry. With readAhead, the folders ahead of the
// walk are read in parallel where they are not in memory.
void GetFolderTree(const QString &Folder, QStringList &List, ReadAhead *readAhead = nullptr);

// Whether a name matches a pattern of "*" and "?" with ASCII case ignored.
bool matchesNamePattern(QByteArrayView name, QByteArrayView pattern);
