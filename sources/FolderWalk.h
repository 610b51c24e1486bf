// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QString>
#include <QStringList>

class ReadAhead;

// The folder tree a page is built from, listed whole. Paths use "/"; a folder path ends with
// "/". The walk only reads the file system.

// Appends Folder and every folder below it to List, in pre-order: a folder before its
// sub-folders, siblings in the order the file system gives them. Hidden (dot) folders are not
// walked, and no folder is walked twice, so a symbolic link that leads back up the tree ends.
// A root that does not exist is still the one entry. With readAhead, the folders ahead of the
// walk are read in parallel where they are not in memory.
void GetFolderTree(const QString &Folder, QStringList &List, ReadAhead *readAhead = nullptr);
