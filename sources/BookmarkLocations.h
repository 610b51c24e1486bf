// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A bookmark file of the current user's browsers: the browser's name, the file's path and the
// profile it belongs to.
struct BookmarkLocation
{
    QString browser;
    QString path;
    // Firefox: the profile's Name= in profiles.ini, else its folder's name; a Chromium-family
    // browser: the profile's folder ("Default", "Profile 1").
    QString profile;

    // What the user knows the file by: "Firefox (default-release)", "Chromium (Profile 1)";
    // one line, control characters made blanks.
    QString name() const;
};

// The bookmark files of the browsers in a home folder: each Firefox profile's places.sqlite that
// profiles.ini names (the usual location, the snap's and the flatpak's, and the XDG one), then
// each profile's "Bookmarks" of Chromium, Google Chrome, Brave, Vivaldi and Microsoft Edge under
// configFolder (~/.config), and of Chromium's snap and flatpak. Only regular files are given,
// each once, in that order; the profiles of one browser by name. A profiles.ini that is there
// but cannot be read (not a regular file, too large) gives no profiles and, with problems, a
// line there that says so.
QList<BookmarkLocation> findBookmarkFiles(const QString &home, const QString &configFolder,
                                          QStringList *problems = nullptr);
