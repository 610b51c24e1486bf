// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "model/TreeSource.h"

TreeSource::TreeSource(LinkTree tree) : m_tree(std::move(tree)) {}

int TreeSource::folderCount()
{
    return m_tree.folderCount();
}

const Folder *TreeSource::nextFolder()
{
    m_nextLink = 0;
    if (!m_started) {
        m_started = true;
        m_path.push_back({0, 0});
        describeCurrent();
        return &m_folder;
    }
    // The first sub-folder of the current folder not yet given; when it has none left, the
    // next one of the folder above.
    while (!m_path.empty()) {
        Level &level = m_path.back();
        const std::vector<int> &children = m_tree.folder(level.folder).children;
        if (level.nextChild < children.size()) {
            const int child = children[level.nextChild++];
            m_path.push_back({child, 0});
            m_folder.path.append(m_tree.folder(child).name);
            describeCurrent();
            return &m_folder;
        }
        m_path.pop_back();
        if (!m_folder.path.isEmpty())
            m_folder.path.removeLast();
    }
    return nullptr;
}

void TreeSource::describeCurrent()
{
    const LinkTree::Node &node = m_tree.folder(m_path.back().folder);
    m_folder.added = node.added;
    m_folder.modified = node.modified;
    m_folder.toolbar = node.toolbar;
}

bool TreeSource::nextLink(Link &link)
{
    if (m_path.empty())
        return false;
    const QList<Link> &links = m_tree.folder(m_path.back().folder).links;
    if (m_nextLink >= links.size())
        return false;
    link = links[m_nextLink++];
    return true;
}
