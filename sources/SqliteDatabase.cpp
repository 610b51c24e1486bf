// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/SqliteDatabase.h"

#include "platform/FileNames.h"
#include "platform/PosixFile.h"
#include "platform/RegularFile.h"
#include "sources/BookmarkFileSize.h"

#include <QFile>

#include <sqlite3.h>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

// Copies the database and its log beside each other. The log is copied first: a checkpoint
// between the two copies then leaves a database that already holds what the copied log holds,
// while the other order could miss changes that moved from the log into the database after it
// was copied. A database without a log is copied alone.
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

} // namespace

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close(m_db);
}

bool SqliteDatabase::openCopy(const QString &path, QString &error)
{
    if (!m_folder.isValid()) {
        error = QStringLiteral("cannot make a temporary folder: %1").arg(m_folder.errorString());
        return false;
    }
    const QString copy = m_folder.filePath(QStringLiteral("database.sqlite"));
    if (!copyDatabase(path, copy, error))
        return false;
    // Read-only: nothing is written, even to the copy, except the index of the log that SQLite
    // keeps beside it.
    if (sqlite3_open_v2(QFile::encodeName(copy).constData(), &m_db, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK) {
        error = message();
        return false;
    }
    return true;
}

QString SqliteDatabase::message() const
{
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}

SqliteStatement::SqliteStatement(const SqliteDatabase &db, const char *sql)
{
    if (sqlite3_prepare_v2(db.handle(), sql, -1, &m_statement, nullptr) != SQLITE_OK)
        m_statement = nullptr;
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

void SqliteStatement::bind(int index, qint64 value)
{
    sqlite3_reset(m_statement);
    sqlite3_bind_int64(m_statement, index, value);
}

int SqliteStatement::step()
{
    return sqlite3_step(m_statement);
}

qint64 SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QString SqliteStatement::text(int column) const
{
    const auto *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(utf8, sqlite3_column_bytes(m_statement, column));
}

QByteArrayView SqliteStatement::utf8(int column) const
{
    const auto *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return QByteArrayView(utf8, utf8 ? sqlite3_column_bytes(m_statement, column) : 0);
}

QByteArray SqliteStatement::bytes(int column) const
{
    const auto *data = static_cast<const char *>(sqlite3_column_blob(m_statement, column));
    return QByteArray(data, data ? sqlite3_column_bytes(m_statement, column) : 0);
}

bool isSqliteDatabase(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView("SQLite format 3\0", 16));
}
