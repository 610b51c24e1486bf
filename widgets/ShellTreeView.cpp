// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "widgets/ShellTreeView.h"

#include "platform/SpecialFolders.h"

#include <QDir>
#include <QDirIterator>
#include <QPalette>
#include <QStyle>

namespace {

// The shell's number for the user's own folder; SpecialFolderPath answers it with the home
// folder.
constexpr int CSIDL_PROFILE = 0x0028;

constexpr int PathRole = Qt::UserRole;
constexpr int LoadedRole = Qt::UserRole + 1;

constexpr QDir::Filters FolderFilter = QDir::Dirs | QDir::NoDotAndDotDot;

// True when folder is base or lies inside it.
bool isInside(const QString &folder, const QString &base)
{
    if (folder == base)
        return true;
    return folder.startsWith(base.endsWith(QLatin1Char('/')) ? base : base + QLatin1Char('/'));
}

bool hasSubfolders(const QString &folder)
{
    QDirIterator it(folder, FolderFilter);
    return it.hasNext();
}

} // namespace

TShellTreeView::TShellTreeView(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(19);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);

    // White ground, and the selection drawn in the same colours whether or not the tree has the
    // focus, so the chosen folder stays visible while the user looks at the rest of the window.
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        pal.setColor(QPalette::Inactive, role, pal.color(QPalette::Active, role));
    }
    setPalette(pal);

    connect(this, &QTreeWidget::itemExpanded, this, &TShellTreeView::fillChildren);

    const QString desktop = SpecialFolderPath(CSIDL_DESKTOP);
    m_desktop = addFolder(nullptr, QStringLiteral("デスクトップ"), desktop,
                          style()->standardIcon(QStyle::SP_DesktopIcon));
    m_desktop->setData(0, LoadedRole, true);

    const QString home = SpecialFolderPath(CSIDL_PROFILE);
    const QString homeName = QDir(home).dirName();
    addFolder(m_desktop, homeName.isEmpty() ? home : homeName, home,
              style()->standardIcon(QStyle::SP_DirHomeIcon));
    addFolder(m_desktop, QDir::rootPath(), QDir::rootPath(),
              style()->standardIcon(QStyle::SP_DriveHDIcon));
    const QDir desktopDir(desktop);
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    for (const QFileInfo &info : desktopDir.entryInfoList(
             FolderFilter, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware)) {
        addFolder(m_desktop, info.fileName(), info.filePath(), folderIcon);
    }

    expandItem(m_desktop);
    setCurrentItem(m_desktop);
}

QString TShellTreeView::path() const
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    if (selected.isEmpty())
        return QString();
    return selected.constFirst()->data(0, PathRole).toString();
}

bool TShellTreeView::selectFolder(const QString &folder)
{
    const QString wanted = QDir::cleanPath(QDir(folder).absolutePath());
    const auto pathOf = [](const QTreeWidgetItem *item) {
        return QDir::cleanPath(item->data(0, PathRole).toString());
    };
    // From the desktop, or the node under it that holds the folder most closely.
    QTreeWidgetItem *item = nullptr;
    if (pathOf(m_desktop) == wanted) {
        item = m_desktop;
    } else {
        for (int i = 0; i < m_desktop->childCount(); ++i) {
            QTreeWidgetItem *child = m_desktop->child(i);
            if (isInside(wanted, pathOf(child)) &&
                (!item || pathOf(child).size() > pathOf(item).size()))
                item = child;
        }
    }
    if (!item)
        return false;
    while (pathOf(item) != wanted) {
        expandItem(item); // reads the children the first time
        QTreeWidgetItem *next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i) {
            if (isInside(wanted, pathOf(item->child(i))))
                next = item->child(i);
        }
        if (!next) {
            const QString base = pathOf(item);
            const QString name =
                wanted.mid(base.size()).section(QLatin1Char('/'), 0, 0, QString::SectionSkipEmpty);
            next = addFolder(item, name, QDir(base).filePath(name),
                             style()->standardIcon(QStyle::SP_DirIcon));
        }
        item = next;
    }
    setCurrentItem(item);
    scrollToItem(item);
    return true;
}

QTreeWidgetItem *TShellTreeView::addFolder(QTreeWidgetItem *parent, const QString &caption,
                                           const QString &folder, const QIcon &icon)
{
    auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, caption);
    item->setIcon(0, icon);
    item->setData(0, PathRole, folder);
    item->setData(0, LoadedRole, false);
    // Only folders that hold folders get an opener; the look-up reads no further than the first
    // sub-folder.
    if (parent)
        item->setChildIndicatorPolicy(hasSubfolders(folder)
                                          ? QTreeWidgetItem::ShowIndicator
                                          : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    return item;
}

void TShellTreeView::fillChildren(QTreeWidgetItem *item)
{
    if (item->data(0, LoadedRole).toBool())
        return;
    item->setData(0, LoadedRole, true);
    const QDir dir(item->data(0, PathRole).toString());
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    for (const QFileInfo &info :
         dir.entryInfoList(FolderFilter, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware)) {
        addFolder(item, info.fileName(), info.filePath(), folderIcon);
    }
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}
