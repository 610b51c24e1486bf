// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>

// One link line of the page as a source gives it. The views stay valid until the source is asked
// for its next link or its next folder.
struct PageLink
{
    // False when the link's file went away between the listing of its folder and its reading:
    // the page keeps an empty line in its place.
    bool present = true;
    // The link text. "<" and ">" are written as &lt; and &gt;, the rest in Shift-JIS with a
    // numeric character reference for what the code page cannot hold.
    QStringView title;
    // The href bytes. '"', '<' and '>' are written as %22, %3C and %3E, every other byte as it is.
    QByteArrayView url;
    // Page bytes (Shift-JIS), written as they are when comments are on.
    QByteArrayView comment;
};

// Where the folders and links of a page come from: a folder tree of shortcut files, or a
// browser's bookmark file. The writer takes one folder at a time and then its links, in the
// page's order: a folder's links under its heading, then its sub-folders, each with its own
// heading (pre-order). The writer does not know which kind of source it reads.
class PageSource
{
public:
    virtual ~PageSource() = default;

    // How many folder sections the page will have. Asked at most once, before the first folder,
    // and only when a progress gauge shows it; a source may have to look at every folder for it.
    virtual int folderCount() = 0;

    // Moves to the next folder; false after the last.
    virtual bool nextFolder() = 0;

    // The heading of the current folder: its path below the root, levels joined with "/",
    // without a leading or trailing "/"; the root itself has the empty heading.
    virtual QString caption() const = 0;

    // The next link of the current folder; false after its last.
    virtual bool nextLink(PageLink &link) = 0;
};

// The source that a Favorites path names: a folder tree of shortcut files, or, when the path
// names a file, that file read as browser bookmarks. Nothing, with the reason in error, when the
// source cannot be read at all (a file that is no bookmark file, or a damaged one); a folder
// that does not exist is still a source, of one empty root folder.
std::unique_ptr<PageSource> openPageSource(const QString &path, QString &error);
