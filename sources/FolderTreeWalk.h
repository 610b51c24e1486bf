// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "sources/FileKindMatch.h"
#include "sources/FolderFiles.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <sys/types.h>

class ReadAhead;

// The folders of a tree one at a time, in the order GetFolderTree lists them: pre-order, a
// folder before its sub-folders, siblings in the order the file system gives them, hidden
// folders left out, and no folder walked twice (a symbolic link that leads back up the tree
// ends there). Each folder is read once, for its sub-folders and its files together, so a page
// can be written while the tree is walked.
class FolderTreeWalk final
{
public:
    // Root is a folder path ending with "/". Each folder comes with the files that match
    // pattern and kinds, as FolderFiles lists them (an empty pattern: none).
    FolderTreeWalk(const QString &root, QByteArrayView pattern, TFileKinds kinds);

    struct Folder
    {
        QString path; // as the walk reached it, ending with "/"
        std::unique_ptr<FolderFiles> files;
        qint64 modified = 0; // seconds since 1970; 0 when unknown
    };

    // The next folder of the walk with its files; nothing after the last. A root that does not
    // exist is still the one folder.
    std::optional<Folder> next();

    // The folders found in the tree that could not be read (a path too long for the system, a
    // folder the user may not open), by the system's reason; a root that does not exist is no
    // such folder.
    const std::map<int, int> &unreadable() const { return m_unreadable; }

    // Has the listings of the next few folders of the walk read ahead, each once, so that the
    // walk finds them in memory when it comes to them.
    void readAhead(ReadAhead &readAhead);

private:
    using FolderIdentity = std::pair<quint64, quint64>; // device and inode

    QByteArray m_pattern;
    TFileKinds m_kinds;
    struct Pending
    {
        QString path;
        bool readAhead; // asked to be read ahead
    };
    std::vector<Pending> m_pending; // the next folder last
    QSet<FolderIdentity> m_walked;
    std::map<int, int> m_unreadable; // errno, folders
};

// The folders that could not be read, counted by the error of each (errno → folders), as one
// line for the user ("2 folders could not be read: File name too long"); empty for none.
QString unreadableFoldersLine(const std::map<int, int> &unreadable);
