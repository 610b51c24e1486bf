// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/FirefoxPlaces.h"

#include "model/LinkTree.h"
#include "sources/SqliteDatabase.h"

#include <QHash>
#include <QSet>

#include <sqlite3.h>

#include <optional>
#include <vector>

namespace {

// The kinds of row in moz_bookmarks that the page takes; separators (3) and anything else are
// no bookmarks.
constexpr int BookmarkRow = 1;
constexpr int FolderRow = 2;

struct Row
{
    qint64 id;
    int type;
    QString title;
    QString guid;
    QString url;
    qint64 added; // seconds since 1970; 0 unknown
    qint64 modified;
};

// Every row of the bookmarks table, and each folder's rows in their position order.
struct Places
{
    std::vector<Row> rows;
    QHash<qint64, std::vector<size_t>> children; // row indexes by parent id
    QHash<qint64, QString> descriptions;         // by bookmark id
};

// The browser's top folders, by their fixed identifiers, with the names it shows for them.
struct TopFolder
{
    const char *guid;
    const char *name;
};
constexpr TopFolder TopFolders[] = {
    {"menu________", "Bookmarks Menu"},
    {"toolbar_____", "Bookmarks Toolbar"},
    {"unfiled_____", "Other Bookmarks"},
    {"mobile______", "Mobile Bookmarks"},
};
const char RootGuid[] = "root________";
const char TagsGuid[] = "tags________";

// A date of the browser's, microseconds since 1970, as seconds; 0 for none or a negative one.
qint64 firefoxDate(qint64 microseconds)
{
    return microseconds > 0 ? microseconds / 1000000 : 0;
}

bool readRows(const SqliteDatabase &db, Places &places, QString &error)
{
    // Every version of the browser that keeps places.sqlite keeps the two dates; a file
    // without them (made by another program) is read without dates.
    std::optional<SqliteStatement> dated;
    dated.emplace(db, "SELECT b.id, b.type, b.parent, b.title, b.guid, p.url,"
                      " b.dateAdded, b.lastModified"
                      " FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk"
                      " ORDER BY b.parent, b.position, b.id");
    if (!dated->isValid()) {
        dated.emplace(db, "SELECT b.id, b.type, b.parent, b.title, b.guid, p.url, 0, 0"
                          " FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk"
                          " ORDER BY b.parent, b.position, b.id");
    }
    SqliteStatement &query = *dated;
    if (!query.isValid()) {
        error = QStringLiteral("not a Firefox bookmark database (%1)").arg(db.message());
        return false;
    }
    int status;
    while ((status = query.step()) == SQLITE_ROW) {
        places.children[query.integer(2)].push_back(places.rows.size());
        places.rows.push_back({query.integer(0), int(query.integer(1)), query.text(3),
                               query.text(4), query.text(5), firefoxDate(query.integer(6)),
                               firefoxDate(query.integer(7))});
    }
    if (status != SQLITE_DONE) {
        error = db.message();
        return false;
    }
    return true;
}

// The descriptions that older versions of the browser keep as item annotations, by bookmark
// id. None when the database has no such tables.
QHash<qint64, QString> readDescriptions(const SqliteDatabase &db)
{
    QHash<qint64, QString> descriptions;
    SqliteStatement query(db, "SELECT a.item_id, a.content FROM moz_items_annos a"
                              " JOIN moz_anno_attributes n ON n.id = a.anno_attribute_id"
                              " WHERE n.name = 'bookmarkProperties/description'");
    while (query.isValid() && query.step() == SQLITE_ROW)
        descriptions.insert(query.integer(0), query.text(1));
    return descriptions;
}

const Row *findRoot(const Places &places)
{
    for (const Row &row : places.rows) {
        if (row.guid == QLatin1StringView(RootGuid))
            return &row;
    }
    return nullptr;
}

void dateFolder(LinkTree &tree, int folder, const Row &row)
{
    tree.folder(folder).added = row.added;
    tree.folder(folder).modified = row.modified;
}

// The browser's top folders under their fixed names, in their fixed order, and everything
// below them. The folders are walked with a stack of their own. A folder's contents are read
// once however often its id comes up, so parent links that form a loop (or ids that repeat, in a
// damaged file) cannot make the walk go round.
bool buildTree(const Places &places, const Row &root, LinkTree &tree, QString &error)
{
    QSet<qint64> entered{root.id};
    struct Level
    {
        int folder;
        const std::vector<size_t> *rows;
        size_t next = 0;
    };
    std::vector<Level> levels;
    static const std::vector<size_t> none;
    auto enter = [&](int folder, qint64 id) {
        const auto found = places.children.constFind(id);
        levels.push_back({folder, found == places.children.cend() ? &none : &*found});
    };
    const std::vector<size_t> &top = places.children.value(root.id);
    for (const TopFolder &container : TopFolders) {
        for (const size_t index : top) {
            const Row &row = places.rows[index];
            if (row.guid != QLatin1StringView(container.guid) || entered.contains(row.id))
                continue;
            entered.insert(row.id);
            const int folder = tree.addFolder(0, QString::fromLatin1(container.name), true);
            dateFolder(tree, folder, row);
            tree.folder(folder).toolbar = row.guid == QLatin1StringView("toolbar_____");
            enter(folder, row.id);
            break;
        }
        while (!levels.empty()) {
            Level &level = levels.back();
            if (level.next >= level.rows->size()) {
                levels.pop_back();
                continue;
            }
            const Row &row = places.rows[(*level.rows)[level.next++]];
            if (row.type == BookmarkRow) {
                if (!row.url.startsWith(QLatin1StringView("place:"))) {
                    Link &link = tree.addBookmark(level.folder, row.title, row.url,
                                                  places.descriptions.value(row.id));
                    link.added = row.added;
                    link.modified = row.modified;
                    // The browser's icon database keeps icons by page address.
                    link.iconKey = row.url;
                }
            } else if (row.type == FolderRow && row.guid != QLatin1StringView(TagsGuid) &&
                       !entered.contains(row.id)) {
                entered.insert(row.id);
                const int folder = tree.addFolder(level.folder, row.title);
                if (folder < 0) {
                    error = LinkTree::tooDeepError();
                    return false;
                }
                dateFolder(tree, folder, row);
                enter(folder, row.id);
            }
        }
    }
    tree.finish();
    return true;
}

} // namespace

bool readFirefoxPlaces(const QString &path, LinkTree &tree, QString &error)
{
    SqliteDatabase db;
    Places places;
    if (!db.openCopy(path, error) || !readRows(db, places, error))
        return false;
    places.descriptions = readDescriptions(db);
    const Row *root = findRoot(places);
    if (!root) {
        error = QStringLiteral("not a Firefox bookmark database (no root folder)");
        return false;
    }
    return buildTree(places, *root, tree, error);
}
