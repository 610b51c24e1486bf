// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/BrowserIcons.h"

#include "sources/IconImage.h"

#include <QUrl>

#include <sqlite3.h>

namespace {

// Firefox keeps a scalable (SVG) icon with this width: it is drawn sharp at any size, so it
// fits as well as an icon of the size wanted.
constexpr qint64 ScalableWidth = 65535;

int choiceWidth(qint64 width)
{
    if (width >= ScalableWidth)
        return WantedIconSize;
    return int(qBound<qint64>(0, width, ScalableWidth));
}

// The icons that fit on a page: bytes there, and not too many of them. SQLite tells a blob's
// length without reading it.
#define FITTING_ICON(column) "length(" column ") BETWEEN 1 AND 65536"
static_assert(MaxIconBytes == 65536);

} // namespace

QString siteKey(const QString &url)
{
    const QUrl parsed(url);
    QString host = parsed.host();
    if (host.isEmpty())
        return QString();
    const QString scheme = parsed.scheme();
    const bool web = scheme == QLatin1StringView("http") || scheme == QLatin1StringView("https");
    if (host.startsWith(QLatin1StringView("www.")))
        host.remove(0, 4);
    QString key = web ? host : scheme + QStringLiteral("://") + host;
    const int port = parsed.port();
    if (port >= 0 && !(web && (port == 80 || port == 443)))
        key += QLatin1Char(':') + QString::number(port);
    return key;
}

quint64 BrowserIcons::pageKey(QByteArrayView utf8)
{
    const size_t hash = qHashBits(utf8.data(), size_t(utf8.size()), 0x7a1e5a);
    // One hash is wide enough where size_t has 64 bits; elsewhere a second fills the top half.
    if constexpr (sizeof(size_t) >= sizeof(quint64))
        return hash;
    else
        return hash ^ (quint64(qHashBits(utf8.data(), size_t(utf8.size()), 0x1c0de)) << 32);
}

template <typename Key>
void BrowserIcons::offer(QHash<Key, Choice> &choices, const Key &key, Choice choice)
{
    const auto found = choices.find(key);
    if (found == choices.end())
        choices.insert(key, choice);
    else if (isCloserToWantedSize(choice.width, found->width))
        *found = choice;
}

bool BrowserIcons::failed(QString &error) const
{
    error = QStringLiteral("not an icon database of the browser (%1)").arg(m_db.message());
    return false;
}

// The icons that fit on a page, by the row that the pages' mapping names: rows of (that row,
// the icon's own row, its width, and, for a root icon, its address), read in one pass over the
// icons, which is far faster than looking each up from the mapping. Root icons go to the sites.
bool BrowserIcons::readIcons(const char *sql, QHash<qint64, Choice> &icons, QString &error)
{
    SqliteStatement query(m_db, sql);
    if (!query.isValid())
        return failed(error);
    int status;
    while ((status = query.step()) == SQLITE_ROW) {
        const Choice choice{query.integer(1), choiceWidth(query.integer(2))};
        const qint64 key = query.integer(0);
        const auto found = icons.find(key);
        if (found == icons.end())
            icons.insert(key, choice);
        else if (isCloserToWantedSize(choice.width, found->width))
            *found = choice;
        if (query.integer(3) != 0) {
            if (const QString site = siteKey(query.text(4)); !site.isEmpty())
                offer(m_sites, site, choice);
        }
    }
    if (status != SQLITE_DONE)
        return failed(error);
    return true;
}

// The pages' icons: rows of (page address, icon row as icons holds it).
bool BrowserIcons::readPages(const char *sql, const QHash<qint64, Choice> &icons, QString &error)
{
    SqliteStatement query(m_db, sql);
    if (!query.isValid())
        return failed(error);
    int status;
    while ((status = query.step()) == SQLITE_ROW) {
        const auto icon = icons.constFind(query.integer(1));
        if (icon != icons.cend())
            offer(m_pages, pageKey(query.utf8(0)), *icon);
    }
    if (status != SQLITE_DONE)
        return failed(error);
    return true;
}

bool BrowserIcons::openCopy(const QString &path, QString &error)
{
    if (!m_db.openCopy(path, error))
        return false;
    // The private copy is read through memory mapping, which spares the many small reads that
    // walking the page mapping takes otherwise; a system that cannot map it reads as before.
    SqliteStatement(m_db, "PRAGMA mmap_size = 268435456").step();
    return true;
}

bool BrowserIcons::prepareBytes(const char *sql, QString &error)
{
    m_bytes = std::make_unique<SqliteStatement>(m_db, sql);
    return m_bytes->isValid() || failed(error);
}

std::unique_ptr<BrowserIcons> BrowserIcons::openFirefox(const QString &path, QString &error)
{
    std::unique_ptr<BrowserIcons> icons(new BrowserIcons);
    QHash<qint64, Choice> byRow;
    if (!icons->openCopy(path, error) ||
        !icons->readIcons("SELECT id, id, width, root, CASE WHEN root = 1 THEN icon_url END"
                          " FROM moz_icons WHERE " FITTING_ICON("data"),
                          byRow, error) ||
        !icons->readPages("SELECT p.page_url, ip.icon_id FROM moz_pages_w_icons p"
                          " JOIN moz_icons_to_pages ip ON ip.page_id = p.id",
                          byRow, error) ||
        !icons->prepareBytes("SELECT data FROM moz_icons WHERE id = ?", error))
        return nullptr;
    return icons;
}

std::unique_ptr<BrowserIcons> BrowserIcons::openChromium(const QString &path, QString &error)
{
    std::unique_ptr<BrowserIcons> icons(new BrowserIcons);
    // Of each icon's bitmaps the one closest to the size wanted. The favicons table is where
    // the mapping's icons are described; an icon whose row there is gone (a damaged or
    // half-cleaned database) is not used.
    QHash<qint64, Choice> byIcon;
    if (!icons->openCopy(path, error) ||
        !icons->readIcons("SELECT b.icon_id, b.id, b.width, 0, NULL FROM favicon_bitmaps b"
                          " JOIN favicons f ON f.id = b.icon_id"
                          " WHERE " FITTING_ICON("b.image_data"),
                          byIcon, error) ||
        !icons->readPages("SELECT page_url, icon_id FROM icon_mapping", byIcon, error) ||
        !icons->prepareBytes("SELECT image_data FROM favicon_bitmaps WHERE id = ?", error))
        return nullptr;
    return icons;
}

const LinkIcon *BrowserIcons::iconFor(const Link &link)
{
    return link.iconKey.isEmpty() ? nullptr : iconForPage(link.iconKey);
}

const LinkIcon *BrowserIcons::iconForPage(const QString &pageUrl)
{
    const auto page = m_pages.constFind(pageKey(pageUrl.toUtf8()));
    if (page != m_pages.cend())
        return icon(page->id);
    if (m_sites.isEmpty())
        return nullptr;
    const auto site = m_sites.constFind(siteKey(pageUrl));
    return site == m_sites.cend() ? nullptr : icon(site->id);
}

const LinkIcon *BrowserIcons::icon(qint64 id)
{
    const auto known = m_icons.find(id);
    if (known != m_icons.end())
        return known->second ? &*known->second : nullptr;
    std::optional<LinkIcon> &icon = m_icons[id];
    m_bytes->bind(1, id);
    const int status = m_bytes->step();
    if (status == SQLITE_ROW) {
        icon = iconFromImage(m_bytes->bytes(0));
    } else if (status != SQLITE_DONE) {
        ++m_unreadable;
        m_lastError = m_db.message();
    }
    return icon ? &*icon : nullptr;
}

QString BrowserIcons::readWarning() const
{
    if (m_unreadable == 0)
        return QString();
    return QStringLiteral("%1 %2 could not be read: %3")
        .arg(m_unreadable)
        .arg(m_unreadable == 1 ? QStringLiteral("icon") : QStringLiteral("icons"))
        .arg(m_lastError);
}
