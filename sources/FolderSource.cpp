// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/FolderSource.h"

#include "platform/PosixFile.h"
#include "sources/FolderWalk.h"
#include "sources/PathText.h"

#include <QStringList>

namespace {

// Folders walked ahead at most, whatever their files: each holds its folder open.
constexpr size_t MaxFoldersAhead = 128;

} // namespace

FolderSource::FolderSource(const QString &root) : FolderSource(root, ReadAhead::Window()) {}

FolderSource::FolderSource(const QString &root, ReadAhead::Window window)
    : m_root(EnsureTrailingBackslash(root)), m_walk(m_root, "*.url", AllFileKinds),
      m_readAhead(window)
{}

int FolderSource::folderCount()
{
    QStringList folders;
    GetFolderTree(m_root, folders, &m_readAhead);
    return int(folders.size());
}

void FolderSource::readAhead()
{
    for (;;) {
        if (!m_folders.empty()) {
            Walked &last = m_folders.back();
            const FolderFiles &files = *last.folder.files;
            while (last.queued < files.entries().size() &&
                   m_readAhead.add(files.fd(), files.entries()[last.queued].nativeName))
                ++last.queued;
            if (last.queued < files.entries().size())
                return;
        }
        // While the tree is in memory the files are read as they are taken, and nothing is
        // gained by walking ahead. A folder with no files takes no room, so the count of folders
        // bounds the walk too.
        const bool readingAhead = m_readAhead.isReadingAhead();
        if (m_walkEnded || m_folders.size() >= (readingAhead ? MaxFoldersAhead : 1) ||
            !m_readAhead.hasRoom())
            return;
        std::optional<FolderTreeWalk::Folder> next = m_walk.next();
        if (!next) {
            m_walkEnded = true;
            return;
        }
        if (readingAhead)
            m_walk.readAhead(m_readAhead);
        m_folders.push_back({std::move(*next), 0});
    }
}

const Folder *FolderSource::nextFolder()
{
    if (m_started && !m_folders.empty()) {
        // Links of the folder that were not asked for are read all the same; they are dropped.
        for (; m_nextFile < m_folders.front().queued; ++m_nextFile)
            m_readAhead.take();
        m_folders.pop_front();
    }
    m_started = true;
    m_nextFile = 0;
    readAhead(); // walks on to a folder when none is left: then nothing waits to be taken
    if (m_folders.empty())
        return nullptr;
    // The names below the root; the root itself has none.
    const FolderTreeWalk::Folder &folder = m_folders.front().folder;
    const QString caption = FolderCaption(folder.path, m_root);
    m_folder.path.clear();
    if (!caption.isEmpty()) {
        for (const QStringView name : QStringView(caption).split(QLatin1Char('/')))
            m_folder.path.append(nameLine(name));
    }
    // A folder, like a shortcut, is dated by its modification time: the file system keeps no
    // other date of its own.
    m_folder.added = folder.modified;
    m_folder.modified = folder.modified;
    return &m_folder;
}

bool FolderSource::nextLink(Link &link)
{
    const Walked &current = m_folders.front();
    const FolderFiles &files = *current.folder.files;
    if (m_nextFile >= files.entries().size())
        return false;
    // Every file before it has been taken, so the window had room for it.
    Q_ASSERT(m_nextFile < current.queued);
    const FolderFiles::Entry &file = files.entries()[m_nextFile++];
    // The walk found a regular file here, so its kind is not checked again.
    const std::optional<ShortcutReader::ValueViews> values = m_readAhead.take();
    link.title = nameLine(ShortcutTitle(file.name));
    link.present = values.has_value(); // else gone since it was listed
    if (values) {
        ShortcutReader::fillLink(*values, link);
        // A relative icon file lies beside the shortcut.
        if (!link.iconKey.isEmpty() && !link.iconKey.startsWith(QLatin1Char('/')))
            link.iconKey.prepend(current.folder.path);
    } else {
        link.iconKey.resize(0);
        link.url.resize(0);
        link.comment.resize(0);
        link.storedUrl.resize(0);
        link.storedComment.resize(0);
        link.added = 0;
        link.modified = 0;
    }
    readAhead(); // the file taken made room
    return true;
}

QString FolderSource::readWarning() const
{
    return unreadableFoldersLine(m_walk.unreadable());
}
