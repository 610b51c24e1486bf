// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "sources/FileKindMatch.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

#include <dirent.h>

// The file list of one folder: the entries whose names match a pattern ("*" and "?", ASCII case
// ignored) and whose kinds (MatchFileKinds) are asked for, sorted by name (NameCollation:
// case-insensitive and locale-aware, names that differ only in case both kept). Each entry's
// name is kept both as the file system gives it and as text. The folder stays open while the
// object lives, so that each file is opened by its name alone, without walking the whole path
// again.
//
// The same read of the folder can also give its sub-folders that a walk enters (not hidden,
// folders themselves or through a symbolic link), so that a walk reads every folder once.
class FolderFiles final
{
public:
    struct Entry
    {
        const char *nativeName; // what openat() takes, relative to fd(); lives as long as this
        QString name;           // the name as text
    };

    // Folder is a folder path ending with "/" (empty: the working folder); pattern is a name
    // pattern of "*" and "?" (empty: no files). With subFolders, the folder's sub-folders that
    // are walked (not hidden) are appended to it, each path ending with "/", in the order the
    // file system gives them.
    FolderFiles(const QString &folder, QByteArrayView pattern, TFileKinds kinds,
                QStringList *subFolders = nullptr);
    // The same for the folder already open as folderFd (-1: it could not be opened), which the
    // object then owns.
    FolderFiles(const QString &folder, int folderFd, QByteArrayView pattern, TFileKinds kinds,
                QStringList *subFolders = nullptr);
    ~FolderFiles();
    FolderFiles(const FolderFiles &) = delete;
    FolderFiles &operator=(const FolderFiles &) = delete;

    // The open folder, or -1 when it could not be opened (and nothing is listed).
    int fd() const { return m_dir ? ::dirfd(m_dir) : -1; }
    const std::vector<Entry> &entries() const { return m_entries; }

    // Opens a folder for reading its entries; -1 when it cannot be.
    static int open(const QString &folder);

private:
    DIR *m_dir = nullptr;
    std::vector<Entry> m_entries;
    std::string m_nativeNames; // the entries' names one after the other, each ended by a NUL
};
