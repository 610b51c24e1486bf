#pragma once

#include "generate/FolderWalk.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

#include <dirent.h>

// The listed files of one folder, as the page writer reads them: the entries that GetFileList
// lists for the same folder and pattern, in the same order, with each entry's name both as the
// file system gives it and as text. The folder stays open while the object lives, so that each
// file is opened by its name alone, without walking the whole path again.
class FolderFiles final
{
public:
    struct Entry
    {
        QByteArray nativeName; // what openat() takes, relative to fd()
        QString name;          // the name as text
    };

    // Folder is a folder path ending with "/" (empty: the working folder); pattern is a name
    // pattern of "*" and "?".
    FolderFiles(const QString &folder, QByteArrayView pattern, TFileKinds kinds);
    ~FolderFiles();
    FolderFiles(const FolderFiles &) = delete;
    FolderFiles &operator=(const FolderFiles &) = delete;

    // The open folder, or -1 when it could not be opened (and nothing is listed).
    int fd() const { return m_dir ? ::dirfd(m_dir) : -1; }
    const std::vector<Entry> &entries() const { return m_entries; }

private:
    DIR *m_dir = nullptr;
    std::vector<Entry> m_entries;
};
