// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/LinkSource.h"
#include "model/LinkTree.h"

#include <vector>

// The folders and links of a tree held in memory, as a source: the root first, then each folder
// in pre-order, siblings in the tree's order. The walk keeps a stack of its own, so no nesting
// depth can exhaust the program's stack.
class TreeSource final : public LinkSource
{
public:
    explicit TreeSource(LinkTree tree);

    int folderCount() override;
    const Folder *nextFolder() override;
    bool nextLink(Link &link) override;

private:
    struct Level
    {
        int folder;
        size_t nextChild = 0;
    };

    // Makes m_folder the folder of the innermost level.
    void describeCurrent();

    LinkTree m_tree;
    std::vector<Level> m_path; // the current folder and the folders above it
    bool m_started = false;
    Folder m_folder;
    qsizetype m_nextLink = 0;
};
