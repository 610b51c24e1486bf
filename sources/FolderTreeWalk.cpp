// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/FolderTreeWalk.h"

#include "sources/ReadAhead.h"
#include "platform/FileNames.h"
#include "platform/PosixFile.h"

#include <algorithm>
#include <cerrno>

#include <QStringList>

#include <sys/stat.h>
#include <unistd.h>

FolderTreeWalk::FolderTreeWalk(const QString &root, QByteArrayView pattern, TFileKinds kinds)
    : m_pattern(pattern.toByteArray()), m_kinds(kinds), m_pending{{root, false}}
{}

std::optional<FolderTreeWalk::Folder> FolderTreeWalk::next()
{
    // Depth first with an explicit stack, so a deep tree cannot exhaust the call stack. A
    // folder is checked against the ones walked when its turn comes, so the first path to it in
    // walk order is the one listed.
    while (!m_pending.empty()) {
        QString folder = std::move(m_pending.back().path);
        m_pending.pop_back();
        // What is read is the folder part of the path, up to its last "/": the folder itself,
        // as a folder path ends with "/". Then the status of the open folder tells who it is
        // without looking the path up again.
        const QString part = folder.first(folder.lastIndexOf(QLatin1Char('/')) + 1);
        const int fd = FolderFiles::open(part);
        // A folder that went away since its parent was listed, or a root that is not there, is
        // simply not part of the tree.
        if (fd < 0 && errno != ENOENT)
            ++m_unreadable[errno];
        struct stat st;
        const bool known = part.size() == folder.size() && fd >= 0
                               ? ::fstat(fd, &st) == 0
                               : ::stat(textToFileName(folder).constData(), &st) == 0;
        if (known) {
            const FolderIdentity id{quint64(st.st_dev), quint64(st.st_ino)};
            if (m_walked.contains(id)) {
                if (fd >= 0)
                    ::close(fd);
                continue;
            }
            m_walked.insert(id);
        }
        QStringList children;
        auto files = std::make_unique<FolderFiles>(part, fd, m_pattern, m_kinds, &children);
        for (qsizetype i = children.size() - 1; i >= 0; --i)
            m_pending.push_back({std::move(children[i]), false});
        return Folder{std::move(folder), std::move(files), known ? qint64(st.st_mtim.tv_sec) : 0};
    }
    return std::nullopt;
}

void FolderTreeWalk::readAhead(ReadAhead &readAhead)
{
    // Enough to keep the readers busy; the next ones are asked for as the walk moves on.
    constexpr size_t Folders = 16;
    const size_t first = m_pending.size() - std::min(Folders, m_pending.size());
    for (size_t i = m_pending.size(); i-- > first;) {
        if (!m_pending[i].readAhead) {
            m_pending[i].readAhead = true;
            readAhead.warmFolder(m_pending[i].path);
        }
    }
}

QString unreadableFoldersLine(const std::map<int, int> &unreadable)
{
    if (unreadable.empty())
        return QString();
    int folders = 0;
    QStringList reasons;
    for (const auto &[error, count] : unreadable) {
        folders += count;
        reasons.append(unreadable.size() == 1
                           ? systemReason(error)
                           : QStringLiteral("%1 (%2)").arg(systemReason(error)).arg(count));
    }
    return QStringLiteral("%1 %2 could not be read: %3")
        .arg(folders)
        .arg(folders == 1 ? QStringLiteral("folder") : QStringLiteral("folders"))
        .arg(reasons.join(QStringLiteral("; ")));
}
