// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>
#include <sqlite3.h>

// A places.sqlite made for a test, with the two tables the reader takes: moz_places (the
// addresses) and moz_bookmarks (the tree). The connection stays open until the object goes, so
// a test can also hold the database locked or keep changes in its write-ahead log.
class PlacesDatabase final
{
public:
    enum Type
    {
        Bookmark = 1,
        Folder = 2,
        Separator = 3,
    };

    // withKeys false makes tables without primary keys, as a damaged file may have them.
    explicit PlacesDatabase(const QString &path, bool withKeys = true)
    {
        EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &m_db), SQLITE_OK);
        const char *key = withKeys ? " PRIMARY KEY" : "";
        exec(QStringLiteral("CREATE TABLE moz_places (id INTEGER%1, url LONGVARCHAR, "
                            "title LONGVARCHAR);"
                            "CREATE TABLE moz_bookmarks (id INTEGER%1, type INTEGER, fk INTEGER "
                            "DEFAULT NULL, parent INTEGER, position INTEGER, title LONGVARCHAR, "
                            "guid TEXT);")
                 .arg(QLatin1StringView(key)));
    }
    ~PlacesDatabase() { sqlite3_close(m_db); }

    // The browser's fixed folders: the root (id 1), and below it the menu (2), toolbar (3),
    // tags (4), unfiled (5) and mobile (6) in the browser's own position order.
    void addRoots()
    {
        add(1, Folder, 0, 0, QString(), QString(), "root________");
        add(2, Folder, 1, 0, "menu", QString(), "menu________");
        add(3, Folder, 1, 1, "toolbar", QString(), "toolbar_____");
        add(4, Folder, 1, 2, "tags", QString(), "tags________");
        add(5, Folder, 1, 3, "unfiled", QString(), "unfiled_____");
        add(6, Folder, 1, 4, "mobile", QString(), "mobile______");
    }

    // One row of moz_bookmarks; a url gives it a moz_places row (id 1000 + id). A null title
    // is stored as NULL.
    void add(qint64 id, int type, qint64 parent, int position, const QString &title,
             const QString &url = QString(), const char *guid = nullptr)
    {
        QString fk = QStringLiteral("NULL");
        if (!url.isNull()) {
            fk = QString::number(1000 + id);
            exec(QStringLiteral("INSERT INTO moz_places VALUES (%1, %2, NULL);")
                     .arg(fk, quoted(url)));
        }
        exec(QStringLiteral("INSERT INTO moz_bookmarks VALUES (%1, %2, %3, %4, %5, %6, %7);")
                 .arg(id)
                 .arg(type)
                 .arg(fk)
                 .arg(parent)
                 .arg(position)
                 .arg(title.isNull() ? QStringLiteral("NULL") : quoted(title),
                      guid ? quoted(QString::fromLatin1(guid))
                           : quoted(QStringLiteral("guid%1").arg(id))));
    }

    void exec(const QString &sql)
    {
        char *message = nullptr;
        EXPECT_EQ(sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message),
                  SQLITE_OK)
            << (message ? message : "") << "\n"
            << sql.toStdString();
        sqlite3_free(message);
    }

private:
    static QString quoted(const QString &text)
    {
        return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) +
               QLatin1Char('\'');
    }

    sqlite3 *m_db = nullptr;
};
