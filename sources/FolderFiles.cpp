// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/FolderFiles.h"

#include "platform/FileKinds.h"
#include "platform/FileNames.h"
#include "platform/NameCollation.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether the entry is listed for kinds. The entry's kind from the directory saves a status
// call where the file system gives it.
bool isListed(int dirFd, const dirent &entry, TFileKinds kinds)
{
    if (entry.d_type == DT_REG && kinds.testFlag(fkArchive))
        return true; // every regular file carries the archive bit
    if (entry.d_type == DT_DIR)
        return false;
    struct stat st;
    return ::fstatat(dirFd, entry.d_name, &st, 0) == 0 &&
           MatchFileKinds(kinds, attributeWord(st, QByteArrayView(entry.d_name)));
}

// Whether the entry is a sub-folder that the walk enters: not hidden, and a folder itself or
// through a symbolic link.
bool isWalkedSubFolder(int dirFd, const dirent &entry)
{
    if (isHiddenName(entry.d_name)) // "." and ".." included
        return false;
    if (entry.d_type == DT_UNKNOWN || entry.d_type == DT_LNK) {
        struct stat st;
        return ::fstatat(dirFd, entry.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
    }
    return entry.d_type == DT_DIR;
}

} // namespace

FolderFiles::FolderFiles(const QString &folder, QByteArrayView pattern, TFileKinds kinds,
                         QStringList *subFolders)
    : FolderFiles(folder, open(folder), pattern, kinds, subFolders)
{}

FolderFiles::FolderFiles(const QString &folder, int folderFd, QByteArrayView pattern,
                         TFileKinds kinds, QStringList *subFolders)
{
    if (folderFd < 0)
        return;
    m_dir = ::fdopendir(folderFd);
    if (!m_dir) {
        ::close(folderFd);
        return;
    }
    struct Found
    {
        size_t nativeAt; // in m_nativeNames
        QString name;
    };
    std::vector<Found> found;
    while (const dirent *entry = ::readdir(m_dir)) {
        const QByteArrayView name(entry->d_name);
        if (subFolders && isWalkedSubFolder(folderFd, *entry)) {
            subFolders->append(folder + fileNameToText(name) + QLatin1Char('/'));
            continue;
        }
        if (pattern.isEmpty() || !matchesNamePattern(name, pattern) ||
            !isListed(folderFd, *entry, kinds))
            continue;
        // The text keeps every byte of the name, so the file opens by its own name.
        found.push_back({m_nativeNames.size(), fileNameToText(name)});
        m_nativeNames.append(name.data(), size_t(name.size()) + 1);
    }

    std::vector<QStringView> names;
    names.reserve(found.size());
    for (const Found &entry : found)
        names.push_back(entry.name);
    m_entries.reserve(found.size());
    for (const qsizetype i : NameCollation::system().sortedOrder(names)) {
        Found &entry = found[size_t(i)];
        m_entries.push_back({m_nativeNames.data() + entry.nativeAt, std::move(entry.name)});
    }
}

int FolderFiles::open(const QString &folder)
{
    return ::open(folder.isEmpty() ? "." : textToFileName(folder).constData(),
                  O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

FolderFiles::~FolderFiles()
{
    if (m_dir)
        ::closedir(m_dir);
}
