// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "sources/SourceIcons.h"
#include "sources/SqliteDatabase.h"

#include <QHash>
#include <QString>

#include <memory>
#include <optional>
#include <unordered_map>

// The icons a browser keeps of the pages it has seen, in its icon database, read from a private
// copy made together with its log (SqliteDatabase). A link's icon key is its page address.
//
// Which icon each page gets is settled when the database is opened, from the sizes and lengths
// of its icons, without their bytes: of a page's icons the one closest to WantedIconSize, none
// longer than MaxIconBytes. Only the bytes of an icon that a link asks for are read, once.
class BrowserIcons final : public SourceIcons
{
public:
    // Firefox's favicons.sqlite (tables moz_icons, moz_pages_w_icons, moz_icons_to_pages). A
    // page without an icon of its own gets the root icon of its site (the /favicon.ico that
    // the browser keeps with root = 1). Nothing, with the reason, when the file cannot be
    // copied or is no such database.
    static std::unique_ptr<BrowserIcons> openFirefox(const QString &path, QString &error);
    // A Chromium-family Favicons database (tables icon_mapping, favicons, favicon_bitmaps).
    static std::unique_ptr<BrowserIcons> openChromium(const QString &path, QString &error);

    const LinkIcon *iconFor(const Link &link) override;
    QString readWarning() const override;

    // The icon a page address gets (iconFor of a link with that key).
    const LinkIcon *iconForPage(const QString &pageUrl);

private:
    BrowserIcons() = default;

    // An icon of the database that a page may get, by its row and its width in pixels.
    struct Choice
    {
        qint64 id = 0;
        int width = 0;
    };
    template <typename Key>
    static void offer(QHash<Key, Choice> &choices, const Key &key, Choice choice);
    static quint64 pageKey(QByteArrayView utf8);
    bool readIcons(const char *sql, QHash<qint64, Choice> &icons, QString &error);
    bool readPages(const char *sql, const QHash<qint64, Choice> &icons, QString &error);
    bool openCopy(const QString &path, QString &error);
    bool prepareBytes(const char *sql, QString &error);
    bool failed(QString &error) const;
    const LinkIcon *icon(qint64 id);

    SqliteDatabase m_db;
    std::unique_ptr<SqliteStatement> m_bytes; // the bytes of one icon, by its row
    // By a 64-bit hash of the page address's UTF-8 bytes: a browser keeps icons of many more
    // pages than are bookmarked, and holding each address as text would cost the page more
    // time than all its icons. Two addresses of one hash (about one chance in 10^10 among
    // a hundred thousand pages) would share an icon, nothing worse.
    QHash<quint64, Choice> m_pages;
    QHash<QString, Choice> m_sites;                              // root icons, by site (siteKey)
    std::unordered_map<qint64, std::optional<LinkIcon>> m_icons; // read so far, by row
    int m_unreadable = 0;
    QString m_lastError;
};

// The site an address belongs to, as the browser matches a root icon to pages: its host without
// a leading "www." and its port, for http and https alike; the scheme too for other schemes.
// Empty for an address without a host.
QString siteKey(const QString &url);
