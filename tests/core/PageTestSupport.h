#pragma once

#include "platform/ShiftJis.h"
#include "settings/GlobalVariant.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Helpers shared by the page generation tests: trees of shortcut files in a temporary folder
// and the default design settings.

// The defaults, as a program without a settings file loads them; the Favourites folder is
// then set by the test.
inline void loadDefaultSettings(const QTemporaryDir &dir)
{
    SettingsFilePath = dir.filePath(QStringLiteral("no-such-settings.ini"));
    GlobalVariant = TGlobalVariant();
    LoadSettings();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A shortcut file as the browser writes it (CR LF), with the comment section only when a
// comment is given. URL and comment are page bytes (Shift-JIS).
inline QByteArray shortcutBytes(const QByteArray &url, const QByteArray &comment = QByteArray())
{
    QByteArray bytes = "[InternetShortcut]\r\nURL=" + url + "\r\n";
    if (!comment.isNull())
        bytes += "[Comment]\r\nComment=" + comment + "\r\n";
    return bytes;
}

inline QByteArray sjis(const QString &text)
{
    return toShiftJis(text);
}

inline QByteArray goldenFile(const char *name)
{
    return readBytes(QStringLiteral(TALVENSA_TEST_DATA "/page/") + QLatin1String(name));
}
