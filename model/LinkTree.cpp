// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "model/LinkTree.h"

#include "outputs/PageText.h"
#include "outputs/UrlText.h"

#include <algorithm>

BookmarkTree::BookmarkTree()
{
    m_folders.emplace_back();
}

int BookmarkTree::addFolder(int parent, QStringView name, bool browserContainer)
{
    const int depth = m_folders[size_t(parent)].depth + 1;
    if (depth > MaxFolderDepth)
        return -1;
    const int index = int(m_folders.size());
    Folder folder;
    folder.name = lineText(name);
    folder.parent = parent;
    folder.depth = depth;
    folder.browserContainer = browserContainer;
    m_folders.push_back(std::move(folder));
    m_folders[size_t(parent)].children.push_back(index);
    return index;
}

void BookmarkTree::addLink(int folder, QStringView title, QStringView url, QStringView description)
{
    Link link;
    link.title = lineText(title.isEmpty() ? url : title);
    link.url = percentEncodedUrl(url);
    if (!description.isEmpty())
        link.comment = commentBytes(description);
    m_folders[size_t(folder)].links.append(std::move(link));
    ++m_links;
}

void BookmarkTree::describeLastLink(int folder, QStringView description)
{
    QList<Link> &links = m_folders[size_t(folder)].links;
    if (!links.isEmpty() && links.last().comment.isEmpty() && !description.isEmpty())
        links.last().comment = commentBytes(description);
}

void BookmarkTree::finish()
{
    // A folder always comes after its parent, so going backwards sees every folder's
    // sub-folders before the folder itself: the bookmark counts add up without recursion.
    std::vector<qsizetype> bookmarks(m_folders.size(), 0);
    for (size_t i = m_folders.size(); i-- > 0;) {
        bookmarks[i] += m_folders[i].links.size();
        if (i > 0)
            bookmarks[size_t(m_folders[i].parent)] += bookmarks[i];
    }
    std::vector<bool> kept(m_folders.size(), true);
    for (size_t i = 1; i < m_folders.size(); ++i) {
        Folder &folder = m_folders[i];
        kept[i] = kept[size_t(folder.parent)] && !(folder.browserContainer && bookmarks[i] == 0);
        if (!kept[i] && kept[size_t(folder.parent)])
            std::erase(m_folders[size_t(folder.parent)].children, int(i));
    }
    m_keptFolders = int(std::count(kept.begin(), kept.end(), true));
}

QString BookmarkTree::lineText(QStringView text)
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

QByteArray BookmarkTree::commentBytes(QStringView description)
{
    QByteArray out;
    appendNameText(out, lineText(description.trimmed()));
    return out;
}

QString BookmarkTree::tooDeepError()
{
    return QStringLiteral("folders nested deeper than %1 levels").arg(MaxFolderDepth);
}
