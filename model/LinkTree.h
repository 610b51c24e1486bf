// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/Link.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <vector>

// Folders and links held in memory, in their source's order: what a browser's bookmark file is
// read into. Folder 0 is the root, the file's top level, whose links come first on a page.
class LinkTree final
{
public:
    // Folders nested deeper than this are refused: a file that deep is damaged or made to hurt,
    // and the heading of each folder repeats the names of all above it.
    static constexpr int MaxFolderDepth = 1000;

    struct Node
    {
        QString name;
        int parent = -1;
        int depth = 0;
        // A container of the browser's own (its toolbar, its "other bookmarks"), left out when
        // it holds no link at any depth.
        bool browserContainer = false;
        bool toolbar = false; // the browser's bookmarks toolbar
        qint64 added = 0;     // seconds since 1970; 0 unknown
        qint64 modified = 0;
        QList<Link> links;
        std::vector<int> children;
    };

    LinkTree();

    // A new folder at the end of parent's sub-folders; -1 when it would be nested deeper than
    // MaxFolderDepth. Its name is made one line (lineText).
    int addFolder(int parent, QStringView name, bool browserContainer = false);
    Node &folder(int index) { return m_folders[size_t(index)]; }
    const Node &folder(int index) const { return m_folders[size_t(index)]; }

    // A bookmark at the end of folder's links: a Unicode address with its title (the address
    // when the title is empty) and its description, each made one line. The link is returned
    // for the source's further details (dates, icon).
    Link &addBookmark(int folder, QStringView title, QStringView url, QStringView description = {});
    // The description of the last link of folder, when it has none yet.
    void describeLastLink(int folder, QStringView description);

    // Leaves out the browser's containers that hold no link at any depth. Called once, after
    // the last folder and link were added.
    void finish();

    // Folders kept (after finish()).
    int folderCount() const { return m_keptFolders; }

    // A title or name as one line of text: control characters become blanks, and half a
    // surrogate pair (which no text can encode) the replacement character.
    static QString lineText(QStringView text);
    // The reason given for a file nested deeper than MaxFolderDepth.
    static QString tooDeepError();

private:
    std::vector<Node> m_folders;
    int m_keptFolders = 1;
};
