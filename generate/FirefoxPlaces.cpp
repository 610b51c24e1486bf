// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "generate/FirefoxPlaces.h"

#include "generate/BookmarkFile.h"
#include "generate/BookmarkTree.h"
#include "platform/FileNames.h"
#include "platform/PosixFile.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Database final
{
public:
    ~Database() { sqlite3_close(m_db); }
    bool open(const QString &path, int flags)
    {
        return sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr) ==
               SQLITE_OK;
    }
    sqlite3 *handle() const { return m_db; }
    QString message() const { return QString::fromUtf8(sqlite3_errmsg(m_db)); }

private:
    sqlite3 *m_db = nullptr;
};

class Statement final
{
public:
    Statement(const Database &db, const char *sql)
    {
        if (sqlite3_prepare_v2(db.handle(), sql, -1, &m_statement, nullptr) != SQLITE_OK)
            m_statement = nullptr;
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool isValid() const { return m_statement != nullptr; }
    // SQLITE_ROW, SQLITE_DONE or an error.
    int step() { return sqlite3_step(m_statement); }
    qint64 integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    bool isNull(int column) const
    {
        return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
    }
    QString text(int column) const
    {
        const auto *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
        return QString::fromUtf8(utf8, sqlite3_column_bytes(m_statement, column));
    }

private:
    sqlite3_stmt *m_statement = nullptr;
};

enum BookmarkType
{
    Bookmark = 1,
    Folder = 2,
};

struct Row
{
    qint64 id;
    int type;
    QString title;
    QString guid;
    QString url;
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

// Copies a regular file whole, of at most the size of a bookmark file; false with the reason
// when it is missing, no regular file, too large, or cannot be read or written.
bool copyFile(const QString &from, const QString &to, QString &error)
{
    RegularFile in;
    if (!in.open(from, MaxBookmarkFileBytes, error))
        return false;
    const int out =
        ::open(textToFileName(to).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        error = systemReason(errno);
        return false;
    }
    bool copied = in.copyTo(out, error);
    if (::close(out) != 0 && copied) {
        error = systemReason(errno);
        copied = false;
    }
    return copied;
}

// Copies the database and its log beside each other into folder. The log is copied first: a
// checkpoint between the two copies then leaves a database that already holds what the copied
// log holds, while the other order could miss changes that moved from the log into the
// database after it was copied. A database without a log is copied alone.
bool copyDatabase(const QString &path, const QString &copy, QString &error)
{
    const QString log = path + QStringLiteral("-wal");
    struct stat status;
    if (::stat(textToFileName(log).constData(), &status) == 0 &&
        !copyFile(log, copy + QStringLiteral("-wal"), error)) {
        error = QStringLiteral("cannot copy its log %1: %2").arg(log, error);
        return false;
    }
    if (!copyFile(path, copy, error)) {
        error = QStringLiteral("cannot copy it: %1").arg(error);
        return false;
    }
    return true;
}

// The descriptions that older versions of the browser keep as item annotations, by bookmark
// id. None when the database has no such tables.
QHash<qint64, QString> readDescriptions(const Database &db)
{
    QHash<qint64, QString> descriptions;
    Statement query(db, "SELECT a.item_id, a.content FROM moz_items_annos a"
                        " JOIN moz_anno_attributes n ON n.id = a.anno_attribute_id"
                        " WHERE n.name = 'bookmarkProperties/description'");
    while (query.isValid() && query.step() == SQLITE_ROW)
        descriptions.insert(query.integer(0), query.text(1));
    return descriptions;
}

} // namespace

bool isSqliteDatabase(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView("SQLite format 3\0", 16));
}

bool readFirefoxPlaces(const QString &path, BookmarkTree &tree, QString &error)
{
    QTemporaryDir folder;
    if (!folder.isValid()) {
        error = QStringLiteral("cannot make a temporary folder: %1").arg(folder.errorString());
        return false;
    }
    const QString copy = folder.filePath(QStringLiteral("places.sqlite"));
    if (!copyDatabase(path, copy, error))
        return false;
    // Read-only: nothing is written, even to the copy, except the index of the log that
    // SQLite keeps beside it.
    Database db;
    if (!db.open(copy, SQLITE_OPEN_READONLY)) {
        error = db.message();
        return false;
    }

    std::vector<Row> rows;
    QHash<qint64, std::vector<size_t>> children; // row indexes by parent id, in position order
    {
        Statement query(db, "SELECT b.id, b.type, b.parent, b.title, b.guid, p.url"
                            " FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk"
                            " ORDER BY b.parent, b.position, b.id");
        if (!query.isValid()) {
            error = QStringLiteral("not a Firefox bookmark database (%1)").arg(db.message());
            return false;
        }
        int status;
        while ((status = query.step()) == SQLITE_ROW) {
            children[query.integer(2)].push_back(rows.size());
            rows.push_back({query.integer(0), int(query.integer(1)), query.text(3), query.text(4),
                            query.text(5)});
        }
        if (status != SQLITE_DONE) {
            error = db.message();
            return false;
        }
    }
    const QHash<qint64, QString> descriptions = readDescriptions(db);

    const Row *root = nullptr;
    for (const Row &row : rows) {
        if (row.guid == QLatin1StringView(RootGuid)) {
            root = &row;
            break;
        }
    }
    if (!root) {
        error = QStringLiteral("not a Firefox bookmark database (no root folder)");
        return false;
    }

    // The folders are walked with a stack of their own. A folder's contents are read once
    // however often its id comes up, so parent links that form a loop (or ids that repeat, in a
    // damaged file) cannot make the walk go round.
    QSet<qint64> entered{root->id};
    struct Level
    {
        int folder;
        const std::vector<size_t> *rows;
        size_t next = 0;
    };
    std::vector<Level> levels;
    static const std::vector<size_t> none;
    auto enter = [&](int folder, qint64 id) {
        const auto found = children.constFind(id);
        levels.push_back({folder, found == children.cend() ? &none : &*found});
    };
    const std::vector<size_t> &top = children.value(root->id);
    for (const TopFolder &container : TopFolders) {
        for (const size_t index : top) {
            const Row &row = rows[index];
            if (row.guid != QLatin1StringView(container.guid) || entered.contains(row.id))
                continue;
            entered.insert(row.id);
            enter(tree.addFolder(0, QString::fromLatin1(container.name), true), row.id);
            break;
        }
        while (!levels.empty()) {
            Level &level = levels.back();
            if (level.next >= level.rows->size()) {
                levels.pop_back();
                continue;
            }
            const Row &row = rows[(*level.rows)[level.next++]];
            if (row.type == Bookmark) {
                if (!row.url.startsWith(QLatin1StringView("place:")))
                    tree.addLink(level.folder, row.title, row.url, descriptions.value(row.id));
            } else if (row.type == Folder && row.guid != QLatin1StringView(TagsGuid) &&
                       !entered.contains(row.id)) {
                entered.insert(row.id);
                const int folder = tree.addFolder(level.folder, row.title);
                if (folder < 0) {
                    error = BookmarkTree::tooDeepError();
                    return false;
                }
                enter(folder, row.id);
            }
            // Separators (type 3) and anything else are no bookmarks.
        }
    }
    tree.finish();
    return true;
}
