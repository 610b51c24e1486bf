// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QString>
#include <QTreeWidget>

// A tree of the user's folders for picking one: folders only, no hidden ones, no files. Its top
// node stands for the desktop; under it are the home folder, the file system's root and the
// desktop folder's own sub-folders. A folder's children are read the first time it is opened and
// not refreshed afterwards, so opening "/" costs one directory listing and nothing more.
class TShellTreeView final : public QTreeWidget
{
    Q_OBJECT

public:
    explicit TShellTreeView(QWidget *parent = nullptr);

    // The selected folder's path, or the empty text when nothing is selected.
    QString path() const;
    // Opens the tree down to a folder and selects it. A folder the tree leaves out (a hidden
    // one) is added on the way, so the selection is that folder. False when no node of the
    // tree holds it.
    bool selectFolder(const QString &folder);
    // The top node (the desktop).
    QTreeWidgetItem *desktopItem() const { return m_desktop; }

private:
    QTreeWidgetItem *addFolder(QTreeWidgetItem *parent, const QString &caption,
                               const QString &folder, const QIcon &icon);
    void fillChildren(QTreeWidgetItem *item);

    QTreeWidgetItem *m_desktop = nullptr;
};
