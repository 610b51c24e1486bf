// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "sources/FolderTreeWalk.h"
#include "model/LinkSource.h"
#include "sources/ReadAhead.h"

#include <QString>

#include <deque>

// A Favourites folder tree as a page source: its folders in pre-order (a folder before its
// sub-folders, siblings in the order the file system gives them), each with its "*.url" files
// of every kind, sorted by name (FolderFiles).
//
// The source walks ahead of the page and has the next folders' files read ahead (ReadAhead),
// within a bounded window; each file is read once, and the page is the one that reading one
// file after another gives.
class FolderSource final : public LinkSource
{
public:
    // Root is the Favourites folder, with or without a "/" at its end.
    explicit FolderSource(const QString &root);
    FolderSource(const QString &root, ReadAhead::Window window);

    // Walks the whole tree once more for the count, without reading any file.
    int folderCount() override;
    const Folder *nextFolder() override;
    bool nextLink(Link &link) override;
    QString readWarning() const override;

private:
    // A folder walked, with how many of its files are queued for reading.
    struct Walked
    {
        FolderTreeWalk::Folder folder;
        size_t queued = 0;
    };

    // Queues the files of the folders walked, walking on, while the window has room.
    void readAhead();

    QString m_root; // ends with "/"
    FolderTreeWalk m_walk;
    bool m_walkEnded = false;
    // The current folder first (once nextFolder has been called), then the folders walked
    // ahead; only the last may have files not queued yet. Each holds its folder open.
    std::deque<Walked> m_folders;
    bool m_started = false;
    Folder m_folder;       // the current folder as the source gives it
    size_t m_nextFile = 0; // of the current folder
    // Declared after the folders, so that it ends, and its readers with it, before they close.
    ReadAhead m_readAhead;
};
