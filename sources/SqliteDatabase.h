// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QTemporaryDir>

struct sqlite3;
struct sqlite3_stmt;

// A browser's SQLite database, read from a private copy. The database is never opened where it
// lies: it is copied, together with its write-ahead log ("-wal"), into a temporary folder that
// is removed with this object, and the copy is opened read-only. A running browser's lock then
// cannot block the read, and the changes still waiting in its log are seen.
class SqliteDatabase final
{
public:
    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    // Copies the database at path and opens the copy; false with the reason when it cannot be
    // copied (no regular file, too large, unreadable) or opened.
    bool openCopy(const QString &path, QString &error);

    sqlite3 *handle() const { return m_db; }
    // SQLite's reason for the last failure.
    QString message() const;

private:
    QTemporaryDir m_folder;
    sqlite3 *m_db = nullptr;
};

// One query of a database, stepped through its rows.
class SqliteStatement final
{
public:
    SqliteStatement(const SqliteDatabase &db, const char *sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    // False when the query could not be prepared (a table or column is missing).
    bool isValid() const { return m_statement != nullptr; }
    // Binds value to the query's parameter of that index (from 1), and makes the query ready to
    // be stepped through again from its first row.
    void bind(int index, qint64 value);
    // SQLITE_ROW, SQLITE_DONE or an error.
    int step();
    qint64 integer(int column) const;
    QString text(int column) const;
    // The UTF-8 bytes of a text column, without a copy: valid until the next step.
    QByteArrayView utf8(int column) const;
    // The bytes of a blob (or text) column; empty for NULL.
    QByteArray bytes(int column) const;

private:
    sqlite3_stmt *m_statement = nullptr;
};

// True when bytes start with the header of an SQLite database.
bool isSqliteDatabase(QByteArrayView bytes);
