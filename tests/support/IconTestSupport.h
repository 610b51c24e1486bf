// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <initializer_list>
#include <utility>

// Image bytes with the right signature, each set told apart by its tag. Icon readers look only
// at the start of an image, and a page only copies the bytes.
inline QByteArray fakePng(const QByteArray &tag)
{
    return QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + tag;
}

// An ICO file of bitmaps (or PNGs) of the given widths, each image the bytes given.
inline QByteArray icoFile(std::initializer_list<std::pair<int, QByteArray>> images)
{
    QByteArray file("\0\0\1\0", 4);
    char word[4];
    qToLittleEndian<quint16>(quint16(images.size()), word);
    file.append(word, 2);
    quint32 offset = quint32(6 + 16 * images.size());
    for (const auto &[width, bytes] : images) {
        file.append(char(width >= 256 ? 0 : width));
        file.append(char(width >= 256 ? 0 : width));
        file.append("\0\0\1\0\x20\0", 6); // no palette, one plane, 32 bits
        qToLittleEndian<quint32>(quint32(bytes.size()), word);
        file.append(word, 4);
        qToLittleEndian<quint32>(offset, word);
        file.append(word, 4);
        offset += quint32(bytes.size());
    }
    for (const auto &image : images)
        file.append(image.second);
    return file;
}

// An SQLite database made for a test, by hand, in the layout of a browser's own tables.
class TestDatabase
{
public:
    explicit TestDatabase(const QString &path)
    {
        EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &m_db), SQLITE_OK);
    }
    ~TestDatabase() { sqlite3_close(m_db); }
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    void exec(const char *sql)
    {
        char *message = nullptr;
        EXPECT_EQ(sqlite3_exec(m_db, sql, nullptr, nullptr, &message), SQLITE_OK)
            << (message ? message : "") << "\n"
            << sql;
        sqlite3_free(message);
    }

    // Runs sql with its one blob parameter bound to bytes.
    void execWithBlob(const char *sql, const QByteArray &bytes)
    {
        sqlite3_stmt *statement = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr), SQLITE_OK) << sql;
        sqlite3_bind_blob(statement, 1, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE) << sqlite3_errmsg(m_db);
        sqlite3_finalize(statement);
    }

protected:
    sqlite3 *m_db = nullptr;
};

// Firefox's favicons.sqlite: its three tables as the browser creates them.
class FirefoxIconDatabase final : public TestDatabase
{
public:
    explicit FirefoxIconDatabase(const QString &path) : TestDatabase(path)
    {
        exec("CREATE TABLE moz_icons (id INTEGER PRIMARY KEY, icon_url TEXT NOT NULL,"
             " fixed_icon_url_hash INTEGER NOT NULL, width INTEGER NOT NULL DEFAULT 0,"
             " root INTEGER NOT NULL DEFAULT 0, color INTEGER,"
             " expire_ms INTEGER NOT NULL DEFAULT 0, flags INTEGER NOT NULL DEFAULT 0,"
             " data BLOB);"
             "CREATE INDEX moz_icons_iconurlhashindex ON moz_icons (fixed_icon_url_hash);"
             "CREATE TABLE moz_pages_w_icons (id INTEGER PRIMARY KEY, page_url TEXT NOT NULL,"
             " page_url_hash INTEGER NOT NULL);"
             "CREATE INDEX moz_pages_w_icons_urlhashindex ON moz_pages_w_icons (page_url_hash);"
             "CREATE TABLE moz_icons_to_pages (page_id INTEGER NOT NULL,"
             " icon_id INTEGER NOT NULL, expire_ms INTEGER NOT NULL DEFAULT 0,"
             " PRIMARY KEY (page_id, icon_id),"
             " FOREIGN KEY (page_id) REFERENCES moz_pages_w_icons ON DELETE CASCADE,"
             " FOREIGN KEY (icon_id) REFERENCES moz_icons ON DELETE CASCADE) WITHOUT ROWID;");
    }

    void addIcon(qint64 id, const QString &url, int width, const QByteArray &data,
                 bool root = false)
    {
        execWithBlob(QStringLiteral("INSERT INTO moz_icons (id, icon_url, fixed_icon_url_hash,"
                                    " width, root, data) VALUES (%1, '%2', 0, %3, %4, ?)")
                         .arg(id)
                         .arg(url)
                         .arg(width)
                         .arg(root ? 1 : 0)
                         .toUtf8()
                         .constData(),
                     data);
    }
    void addPage(qint64 id, const QString &url, std::initializer_list<qint64> icons)
    {
        exec(QStringLiteral("INSERT INTO moz_pages_w_icons VALUES (%1, '%2', 0)")
                 .arg(id)
                 .arg(url)
                 .toUtf8()
                 .constData());
        for (const qint64 icon : icons)
            exec(QStringLiteral("INSERT INTO moz_icons_to_pages (page_id, icon_id)"
                                " VALUES (%1, %2)")
                     .arg(id)
                     .arg(icon)
                     .toUtf8()
                     .constData());
    }
};

// A Chromium-family Favicons database: its three tables as the browser creates them.
class ChromiumIconDatabase final : public TestDatabase
{
public:
    explicit ChromiumIconDatabase(const QString &path) : TestDatabase(path)
    {
        exec("CREATE TABLE meta (key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
             "CREATE TABLE icon_mapping (id INTEGER PRIMARY KEY, page_url LONGVARCHAR NOT NULL,"
             " icon_id INTEGER, page_url_type INTEGER DEFAULT 0);"
             "CREATE INDEX icon_mapping_page_url_idx ON icon_mapping (page_url);"
             "CREATE INDEX icon_mapping_icon_id_idx ON icon_mapping (icon_id);"
             "CREATE TABLE favicons (id INTEGER PRIMARY KEY, url LONGVARCHAR NOT NULL,"
             " icon_type INTEGER DEFAULT 1);"
             "CREATE INDEX favicons_url ON favicons (url);"
             "CREATE TABLE favicon_bitmaps (id INTEGER PRIMARY KEY, icon_id INTEGER NOT NULL,"
             " last_updated INTEGER DEFAULT 0, image_data BLOB, width INTEGER DEFAULT 0,"
             " height INTEGER DEFAULT 0, last_requested INTEGER DEFAULT 0);"
             "CREATE INDEX favicon_bitmaps_icon_id ON favicon_bitmaps (icon_id);");
    }

    void addIcon(qint64 id, const QString &url,
                 std::initializer_list<std::pair<int, QByteArray>> bitmaps)
    {
        exec(QStringLiteral("INSERT INTO favicons (id, url) VALUES (%1, '%2')")
                 .arg(id)
                 .arg(url)
                 .toUtf8()
                 .constData());
        for (const auto &[width, data] : bitmaps)
            execWithBlob(QStringLiteral("INSERT INTO favicon_bitmaps (icon_id, image_data, width,"
                                        " height) VALUES (%1, ?, %2, %2)")
                             .arg(id)
                             .arg(width)
                             .toUtf8()
                             .constData(),
                         data);
    }
    void mapPage(const QString &url, qint64 icon)
    {
        exec(QStringLiteral("INSERT INTO icon_mapping (page_url, icon_id) VALUES ('%1', %2)")
                 .arg(url)
                 .arg(icon)
                 .toUtf8()
                 .constData());
    }
};
