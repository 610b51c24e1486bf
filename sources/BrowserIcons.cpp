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

void BrowserIcons::offer(QHash<QString, Choice> &choices, const QString &key, Choice choice)
{
    const auto found = choices.find(key);
    if (found == choices.end())
        choices.insert(key, choice);
    else if (isCloserToWantedSize(choice.width, found->width))
        *found = choice;
}

// Reads rows of (address, icon row, width) into choices, keyed by the address or by its site.
bool BrowserIcons::readChoices(const char *sql, QHash<QString, Choice> &choices, bool bySite,
                               QString &error)
{
    SqliteStatement query(m_db, sql);
    if (!query.isValid()) {
        error = QStringLiteral("not an icon database of the browser (%1)").arg(m_db.message());
        return false;
    }
    int status;
    while ((status = query.step()) == SQLITE_ROW) {
        const QString address = query.text(0);
        const Choice choice{query.integer(1), choiceWidth(query.integer(2))};
        if (!bySite) {
            offer(choices, address, choice);
        } else if (const QString site = siteKey(address); !site.isEmpty()) {
            offer(choices, site, choice);
        }
    }
    if (status != SQLITE_DONE) {
        error = m_db.message();
        return false;
    }
    return true;
}

std::unique_ptr<BrowserIcons> BrowserIcons::openFirefox(const QString &path, QString &error)
{
    std::unique_ptr<BrowserIcons> icons(new BrowserIcons);
    if (!icons->m_db.openCopy(path, error) ||
        !icons->readChoices("SELECT p.page_url, i.id, i.width FROM moz_pages_w_icons p"
                            " JOIN moz_icons_to_pages ip ON ip.page_id = p.id"
                            " JOIN moz_icons i ON i.id = ip.icon_id"
                            " WHERE " FITTING_ICON("i.data"),
                            icons->m_pages, false, error) ||
        !icons->readChoices("SELECT icon_url, id, width FROM moz_icons"
                            " WHERE root = 1 AND " FITTING_ICON("data"),
                            icons->m_sites, true, error))
        return nullptr;
    icons->m_bytes =
        std::make_unique<SqliteStatement>(icons->m_db, "SELECT data FROM moz_icons WHERE id = ?");
    if (!icons->m_bytes->isValid()) {
        error = icons->m_db.message();
        return nullptr;
    }
    return icons;
}

std::unique_ptr<BrowserIcons> BrowserIcons::openChromium(const QString &path, QString &error)
{
    std::unique_ptr<BrowserIcons> icons(new BrowserIcons);
    // The favicons table is where the mapping's icons are described; an icon whose row there is
    // gone (a damaged or half-cleaned database) is not used.
    if (!icons->m_db.openCopy(path, error) ||
        !icons->readChoices("SELECT m.page_url, b.id, b.width FROM icon_mapping m"
                            " JOIN favicons f ON f.id = m.icon_id"
                            " JOIN favicon_bitmaps b ON b.icon_id = f.id"
                            " WHERE " FITTING_ICON("b.image_data"),
                            icons->m_pages, false, error))
        return nullptr;
    icons->m_bytes = std::make_unique<SqliteStatement>(
        icons->m_db, "SELECT image_data FROM favicon_bitmaps WHERE id = ?");
    if (!icons->m_bytes->isValid()) {
        error = icons->m_db.message();
        return nullptr;
    }
    return icons;
}

const LinkIcon *BrowserIcons::iconFor(const Link &link)
{
    return link.iconKey.isEmpty() ? nullptr : iconForPage(link.iconKey);
}

const LinkIcon *BrowserIcons::iconForPage(const QString &pageUrl)
{
    auto found = m_pages.constFind(pageUrl);
    if (found == m_pages.cend()) {
        if (m_sites.isEmpty())
            return nullptr;
        found = m_sites.constFind(siteKey(pageUrl));
        if (found == m_sites.cend())
            return nullptr;
    }
    return icon(found->id);
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
