// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "model/LinkTree.h"

#include <algorithm>

LinkTree::LinkTree()
{
    m_folders.emplace_back();
}

int LinkTree::addFolder(int parent, QStringView name, bool browserContainer)
{
    const int depth = m_folders[size_t(parent)].depth + 1;
    if (depth > MaxFolderDepth)
        return -1;
    const int index = int(m_folders.size());
    Node folder;
    folder.name = lineText(name);
    folder.parent = parent;
    folder.depth = depth;
    folder.browserContainer = browserContainer;
    m_folders.push_back(std::move(folder));
    m_folders[size_t(parent)].children.push_back(index);
    return index;
}

Link &LinkTree::addBookmark(int folder, QStringView title, QStringView url, QStringView description)
{
    Link link;
    link.title = lineText(title.isEmpty() ? url : title);
    link.url = url.toString();
    link.comment = lineText(description.trimmed());
    QList<Link> &links = m_folders[size_t(folder)].links;
    links.append(std::move(link));
    return links.last();
}

void LinkTree::describeLastLink(int folder, QStringView description)
{
    QList<Link> &links = m_folders[size_t(folder)].links;
    if (!links.isEmpty() && links.last().comment.isEmpty())
        links.last().comment = lineText(description.trimmed());
}

void LinkTree::finish()
{
    // A folder always comes after its parent, so going backwards sees every folder's
    // sub-folders before the folder itself: the link counts add up without recursion.
    std::vector<qsizetype> links(m_folders.size(), 0);
    for (size_t i = m_folders.size(); i-- > 0;) {
        links[i] += m_folders[i].links.size();
        if (i > 0)
            links[size_t(m_folders[i].parent)] += links[i];
    }
    std::vector<bool> kept(m_folders.size(), true);
    for (size_t i = 1; i < m_folders.size(); ++i) {
        Node &folder = m_folders[i];
        kept[i] = kept[size_t(folder.parent)] && !(folder.browserContainer && links[i] == 0);
        if (!kept[i] && kept[size_t(folder.parent)])
            std::erase(m_folders[size_t(folder.parent)].children, int(i));
    }
    m_keptFolders = int(std::count(kept.begin(), kept.end(), true));
}

QString LinkTree::lineText(QStringView text)
{
    QString out = text.toString();
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            out[i] = QLatin1Char(' ');
        } else if (c.isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            out[i] = QChar::ReplacementCharacter;
        }
    }
    return out;
}

QString LinkTree::tooDeepError()
{
    return QStringLiteral("folders nested deeper than %1 levels").arg(MaxFolderDepth);
}
