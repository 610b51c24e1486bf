// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "model/TreeSource.h"

BookmarkSource::BookmarkSource(BookmarkTree tree) : m_tree(std::move(tree)) {}

int BookmarkSource::folderCount()
{
    return m_tree.folderCount();
}

bool BookmarkSource::nextFolder()
{
    m_nextLink = 0;
    if (!m_started) {
        m_started = true;
        m_path.push_back({0, 0, QString()});
        return true;
    }
    // The first sub-folder of the current folder not yet written; when it has none left, the
    // next one of the folder above.
    while (!m_path.empty()) {
        Level &level = m_path.back();
        const std::vector<int> &children = m_tree.folder(level.folder).children;
        if (level.nextChild < children.size()) {
            const int child = children[level.nextChild++];
            const QString &name = m_tree.folder(child).name;
            QString caption = level.folder == 0 ? name : level.caption + u'/' + name;
            m_path.push_back({child, 0, std::move(caption)});
            return true;
        }
        m_path.pop_back();
    }
    return false;
}

QString BookmarkSource::caption() const
{
    return m_path.empty() ? QString() : m_path.back().caption;
}

bool BookmarkSource::nextLink(PageLink &link)
{
    if (m_path.empty())
        return false;
    const QList<BookmarkTree::Link> &links = m_tree.folder(m_path.back().folder).links;
    if (m_nextLink >= links.size())
        return false;
    const BookmarkTree::Link &bookmark = links[m_nextLink++];
    link.present = true;
    link.title = bookmark.title;
    link.url = bookmark.url;
    link.comment = bookmark.comment;
    return true;
}
