// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QString>
#include <QStringView>

// The path arithmetic of the folder walk. All of it works on whole characters of a QString, so a
// name such as 表示, whose first character's second byte in Shift-JIS is 0x5C, is never cut or
// matched inside a character. The separator is "/".

// Path with one "/" at its end; the empty text gives "/".
QString EnsureTrailingBackslash(const QString &Path);

// The heading of a folder section: the folder's path below the Favourites root Root with "/"
// between the levels, without a leading or trailing "/"; the root itself gives the empty text.
// The root path is removed once, as a prefix.
QString FolderCaption(const QString &Folder, const QString &Root);

// The link text of a shortcut file (a full path or a bare name): its name without the
// extension (from the last "." on).
QStringView ShortcutTitle(QStringView FileName);

// A file or folder name as one line of text: its control characters (a name here may hold a line
// break or an escape) become blanks; every other character, an escaped byte included, stays.
QString nameLine(QStringView name);
