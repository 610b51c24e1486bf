// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/LinkTree.h"
#include "model/LinkSource.h"

#include <vector>

// A page source over bookmarks read from a file: the root first, then each folder in pre-order,
// siblings in the browser's order. A folder's heading is the names from the root down to it,
// joined with "/". The walk keeps a stack of its own, so no nesting depth can exhaust the
// program's stack.
class BookmarkSource final : public PageSource
{
public:
    explicit BookmarkSource(BookmarkTree tree);

    int folderCount() override;
    bool nextFolder() override;
    QString caption() const override;
    bool nextLink(PageLink &link) override;

private:
    struct Level
    {
        int folder;
        size_t nextChild = 0;
        QString caption;
    };

    BookmarkTree m_tree;
    std::vector<Level> m_path; // the current folder and the folders above it
    bool m_started = false;
    qsizetype m_nextLink = 0;
};
