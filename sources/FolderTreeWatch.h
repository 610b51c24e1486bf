// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/Link.h"
#include "sources/ShortcutReader.h"
#include "sources/WatchedSource.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

// A folder tree of shortcut files kept in memory: each folder with its "*.url" files as links
// and its sub-folders, as FolderSource gives them (pre-order, a folder's files sorted by name,
// hidden folders left out, no folder twice). Each folder is watched. A change to a shortcut
// reads that file again; a file or folder made, removed or renamed lists its folder again,
// keeping every other file that is unchanged (same inode, size and times); a folder that comes
// in is read whole, one that goes is dropped with everything below it.
class FolderTreeWatch final : public WatchedSource
{
public:
    explicit FolderTreeWatch(const QString &root);
    ~FolderTreeWatch() override;

    bool load(FileWatcher &watcher, QString &error) override;
    bool take(const FileWatcher::Event &event) override;
    void checkAll() override { m_checkAll = true; }
    bool refresh(FileWatcher &watcher, QString &error, bool &changed) override;
    bool needsPolling() const override { return m_limitReached; }
    std::unique_ptr<LinkSource> snapshot() const override;
    void release(FileWatcher &watcher) override;

    // Shortcut files read since the source was made: what a change costs.
    qint64 filesRead() const { return m_filesRead; }

    struct Stamp
    {
        quint64 inode = 0;
        qint64 size = -1;
        qint64 modified = 0; // nanoseconds
        qint64 changed = 0;  // status change, nanoseconds
        bool operator==(const Stamp &) const = default;
    };
    struct File
    {
        QByteArray nativeName;
        QString name;
        Stamp stamp;
        Link link;
    };
    struct Node
    {
        QString path;      // ends with "/"
        QStringList names; // below the root
        Node *parent = nullptr;
        int watch = -1;
        std::pair<quint64, quint64> identity{0, 0}; // device and inode; 0, 0 unknown
        qint64 modified = 0;
        int error = 0; // why it could not be opened; 0 none
        std::vector<File> files;
        std::vector<std::unique_ptr<Node>> children;
        bool relist = false;           // its entries changed: list it again
        QSet<QByteArray> changedFiles; // written since it was read
        // Between the two steps of a refresh: the sub-folders listed again, with who they are.
        std::vector<std::pair<QString, std::pair<quint64, quint64>>> listedFolders;
        bool listed = false;
    };

private:
    // Reads node (its path and names set) and, with everything, the folders below it.
    void loadNode(Node &node, FileWatcher &watcher);
    // The sub-folder at path of node, read whole; nothing when it is a folder already held.
    std::unique_ptr<Node> newChild(Node &node, const QString &path,
                                   std::pair<quint64, quint64> identity, FileWatcher &watcher);
    // The first step of a refresh: the files of each folder that changed read again, and the
    // sub-folders that went away dropped. The second adds the sub-folders that came. Folders
    // moved within the tree are so dropped before they are found again.
    void refreshFiles(Node &node, FileWatcher &watcher, bool checkAll);
    void relistNode(Node &node, FileWatcher &watcher);
    void readChangedFiles(Node &node);
    void addFolders(Node &node, FileWatcher &watcher);
    void watchNode(Node &node, FileWatcher &watcher);
    // Forgets node and everything below it: watches and identities.
    void dropNode(Node &node, FileWatcher &watcher);
    void readFile(int folderFd, File &file);
    bool rootExists() const;
    // Whether a name that came or went in node may be a sub-folder of the tree.
    bool mayBeFolder(const Node &node, const QByteArray &name) const;

    QString m_root; // ends with "/"
    std::unique_ptr<Node> m_top;
    std::unordered_map<int, Node *> m_byWatch;
    QSet<std::pair<quint64, quint64>> m_identities;
    int m_parentWatch = -1; // the folder that holds the root: the root going and coming back
    QByteArray m_rootName;
    bool m_reloadAll = false;
    bool m_checkAll = false;
    bool m_limitReached = false;
    ShortcutReader m_reader;
    qint64 m_filesRead = 0;
    bool m_rootSeen = false; // the root was there at the last read
    bool m_changed = false;  // something read in this refresh differs
};
