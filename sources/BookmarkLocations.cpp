// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/BookmarkLocations.h"

#include "platform/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

// Far more than the profiles.ini of any number of profiles takes.
constexpr qint64 MaxProfilesIniBytes = 4 << 20;

// The profile folders that a Firefox profiles.ini names, in its order: the Path of each
// [Profile...] section, taken from the ini's folder when IsRelative is 1. None when there is
// no profiles.ini; when one is there but cannot be read (a FIFO, a device, a huge file), none
// and a note in problems.
struct FirefoxProfile
{
    QString folder;
    QString name; // the Name= of its section; empty: none given
};

QList<FirefoxProfile> firefoxProfiles(const QString &folder, QStringList *problems)
{
    const QString iniPath = QDir(folder).filePath(QStringLiteral("profiles.ini"));
    QByteArray bytes;
    QString error;
    bool missing = false;
    if (!readRegularFile(iniPath, MaxProfilesIniBytes, bytes, error, &missing)) {
        if (!missing && problems)
            problems->append(
                QStringLiteral("%1: %2; its profiles are not listed").arg(iniPath, error));
        return {};
    }
    QList<FirefoxProfile> profiles;
    QString path;
    QString name;
    bool relative = true;
    bool inProfile = false;
    auto endSection = [&] {
        if (inProfile && !path.isEmpty())
            profiles.append({relative ? QDir(folder).filePath(path) : path, name});
        path.clear();
        name.clear();
        relative = true;
    };
    const QList<QByteArray> lines = bytes.split('\n');
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
        else if (key.compare(QLatin1StringView("Name"), Qt::CaseInsensitive) == 0)
            name = value;
        else if (key.compare(QLatin1StringView("IsRelative"), Qt::CaseInsensitive) == 0)
            relative = value != QLatin1StringView("0");
    }
    endSection();
    return profiles;
}

} // namespace

QList<BookmarkLocation> findBookmarkFiles(const QString &home, const QString &configFolder,
                                          QStringList *problems)
{
    QList<BookmarkLocation> found;
    QSet<QString> seen;
    auto add = [&](const QString &browser, const QString &profile, const QString &file) {
        const QFileInfo info(file);
        if (info.isFile() && !seen.contains(info.canonicalFilePath())) {
            seen.insert(info.canonicalFilePath());
            found.append({browser, QDir::cleanPath(file), profile});
        }
    };
    const QDir homeDir(home);
    const QDir config(configFolder);

    for (const QString &folder :
         {homeDir.filePath(QStringLiteral(".mozilla/firefox")),
          homeDir.filePath(QStringLiteral("snap/firefox/common/.mozilla/firefox")),
          homeDir.filePath(QStringLiteral(".var/app/org.mozilla.firefox/.mozilla/firefox")),
          config.filePath(QStringLiteral("mozilla/firefox"))}) {
        for (const FirefoxProfile &profile : firefoxProfiles(folder, problems))
            add(QStringLiteral("Firefox"),
                profile.name.isEmpty() ? QFileInfo(profile.folder).fileName() : profile.name,
                QDir(profile.folder).filePath(QStringLiteral("places.sqlite")));
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
            add(QString::fromLatin1(browser.browser), profile,
                data.filePath(profile + QStringLiteral("/Bookmarks")));
    }
    return found;
}

QString BookmarkLocation::name() const
{
    QString name = profile.isEmpty() ? browser : QStringLiteral("%1 (%2)").arg(browser, profile);
    // A folder's name may hold a line break or a tab; the name is one field of one line.
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            c = QLatin1Char(' ');
    }
    return name;
}
