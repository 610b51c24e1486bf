// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <vector>

// The folders and links read from a browser's bookmark file, held in memory in the browser's
// order. Folder 0 is the root: the file's top level, whose links go under the empty heading.
// Every text is turned into what the page needs as it is added, so the page source copies
// nothing: titles and folder names as text, addresses as href bytes, descriptions as page bytes.
class BookmarkTree final
{
public:
    // Folders nested deeper than this are refused: a file that deep is damaged or made to hurt,
    // and the heading of each folder repeats the names of all above it.
    static constexpr int MaxFolderDepth = 1000;

    struct Link
    {
        QString title;
        QByteArray url;     // href bytes (percentEncodedUrl)
        QByteArray comment; // page bytes
    };
    struct Folder
    {
        QString name;
        int parent = -1;
        int depth = 0;
        // A container of the browser's own (its toolbar, its "other bookmarks"), left out of
        // the page when it holds no bookmark at any depth.
        bool browserContainer = false;
        QList<Link> links;
        std::vector<int> children;
    };

    BookmarkTree();

    // A new folder at the end of parent's sub-folders; -1 when it would be nested deeper than
    // MaxFolderDepth.
    int addFolder(int parent, QStringView name, bool browserContainer = false);
    // A link at the end of folder's links. An empty title gives the address.
    void addLink(int folder, QStringView title, QStringView url, QStringView description = {});
    // The description of the last link of folder, when it has none yet.
    void describeLastLink(int folder, QStringView description);

    // Leaves out the browser's containers that hold no bookmark at any depth. Called once, after
    // the last folder and link were added.
    void finish();

    const Folder &folder(int index) const { return m_folders[size_t(index)]; }
    // Folders on the page (after finish()).
    int folderCount() const { return m_keptFolders; }
    qsizetype linkCount() const { return m_links; }

    // A title or folder name as one line of text: control characters become blanks, and half a
    // surrogate pair (which no text can encode) the replacement character.
    static QString lineText(QStringView text);
    // A description as page bytes: one line, "<" and ">" as &lt; and &gt;, Shift-JIS with
    // numeric references for what the code page cannot hold.
    static QByteArray commentBytes(QStringView description);
    // The reason given for a file nested deeper than MaxFolderDepth.
    static QString tooDeepError();

private:
    std::vector<Folder> m_folders;
    int m_keptFolders = 1;
    qsizetype m_links = 0;
};
