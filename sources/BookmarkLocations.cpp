// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/BookmarkLocations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

// The profile folders that a Firefox profiles.ini names, in its order: the Path of each
// [Profile...] section, taken from the ini's folder when IsRelative is 1.
QStringList firefoxProfiles(const QString &folder)
{
    QFile ini(QDir(folder).filePath(QStringLiteral("profiles.ini")));
    if (!ini.open(QIODevice::ReadOnly))
        return {};
    QStringList profiles;
    QString path;
    bool relative = true;
    bool inProfile = false;
    auto endSection = [&] {
        if (inProfile && !path.isEmpty())
            profiles.append(relative ? QDir(folder).filePath(path) : path);
        path.clear();
        relative = true;
    };
    // Small and read whole; a huge file there is not Firefox's.
    const QList<QByteArray> lines = ini.read(1 << 20).split('\n');
    for (const QByteArray &raw : lines) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            endSection();
            inProfile = line.startsWith(QLatin1StringView("[Profile"), Qt::CaseInsensitive);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = line.first(equals).trimmed();
        const QString value = line.sliced(equals + 1).trimmed();
        if (key.compare(QLatin1StringView("Path"), Qt::CaseInsensitive) == 0)
            path = value;
        else if (key.compare(QLatin1StringView("IsRelative"), Qt::CaseInsensitive) == 0)
            relative = value != QLatin1StringView("0");
    }
    endSection();
    return profiles;
}

} // namespace

QList<BookmarkLocation> findBookmarkFiles(const QString &home, const QString &configFolder)
{
    QList<BookmarkLocation> found;
    QSet<QString> seen;
    auto add = [&](const QString &browser, const QString &file) {
        const QFileInfo info(file);
        if (info.isFile() && !seen.contains(info.canonicalFilePath())) {
            seen.insert(info.canonicalFilePath());
            found.append({browser, QDir::cleanPath(file)});
        }
    };
    const QDir homeDir(home);
    const QDir config(configFolder);

    for (const QString &folder :
         {homeDir.filePath(QStringLiteral(".mozilla/firefox")),
          homeDir.filePath(QStringLiteral("snap/firefox/common/.mozilla/firefox")),
          homeDir.filePath(QStringLiteral(".var/app/org.mozilla.firefox/.mozilla/firefox")),
          config.filePath(QStringLiteral("mozilla/firefox"))}) {
        for (const QString &profile : firefoxProfiles(folder))
            add(QStringLiteral("Firefox"), QDir(profile).filePath(QStringLiteral("places.sqlite")));
    }

    // Each browser keeps its profiles ("Default", "Profile 1", ...) in one user-data folder.
    const struct
    {
        const char *browser;
        QString folder;
    } chromiumFamily[] = {
        {"Chromium", config.filePath(QStringLiteral("chromium"))},
        {"Chromium", homeDir.filePath(QStringLiteral("snap/chromium/common/chromium"))},
        {"Chromium",
         homeDir.filePath(QStringLiteral(".var/app/org.chromium.Chromium/config/chromium"))},
        {"Google Chrome", config.filePath(QStringLiteral("google-chrome"))},
        {"Brave", config.filePath(QStringLiteral("BraveSoftware/Brave-Browser"))},
        {"Vivaldi", config.filePath(QStringLiteral("vivaldi"))},
        {"Microsoft Edge", config.filePath(QStringLiteral("microsoft-edge"))},
    };
    for (const auto &browser : chromiumFamily) {
        const QDir data(browser.folder);
        const QStringList profiles = data.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString &profile : profiles)
            add(QString::fromLatin1(browser.browser),
                data.filePath(profile + QStringLiteral("/Bookmarks")));
    }
    return found;
}
