// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "settings/GlobalVariant.h"

#include "platform/SpecialFolders.h"
#include "settings/ColorText.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <array>
#include <optional>
#include <variant>

TGlobalVariant GlobalVariant;
QString SettingsFilePath;

namespace {

// One setting of the file: where it lives, what it holds and its default as stored text.
struct Setting
{
    const char16_t *section;
    const char16_t *key;
    std::variant<QString *, TColor *, bool *> field;
    const char16_t *defaultText;
};

// The 28 settings in the order they are read and written (and so the order of sections and keys
// in a file the program creates).
std::array<Setting, 28> settingsTable()
{
    TGlobalVariant &g = GlobalVariant;
    TDocument &d = g.Document;
    TLink &l = d.Link;
    return {{
        {u"Document", u"FavoriteFolder", &g.FavoriteFolder, u""},
        {u"Document", u"Title", &d.Title, u"お気に入り一覧"},
        {u"Document", u"BackColor", &d.BackColor, u"FFFFFF"},
        {u"Document", u"BVKCommentFlag", &d.BVKCommentFlag, u"0"},
        {u"BVK", u"Font", &d.BVK.Font, u"<<指定無し>>"},
        {u"BVK", u"Size", &d.BVK.Size, u"12px"},
        {u"BVK", u"Color", &d.BVK.Color, u"000000"},
        {u"Link", u"Font", &l.Font, u"<<指定無し>>"},
        {u"Link", u"Size", &l.Size, u"14px"},
        {u"Link", u"LinkColor", &l.LinkColor, u"0000FF"},
        {u"Link", u"VisitedColor", &l.VisitedColor, u"0000FF"},
        {u"Link", u"HoverColor", &l.HoverColor, u"0000FF"},
        {u"Link", u"ActiveColor", &l.ActiveColor, u"0000FF"},
        {u"Link", u"UnderbarFlag", &l.UnderbarFlag, u"0"},
        {u"Link", u"BackColorFlag", &l.BackColorFlag, u"1"},
        {u"Link", u"BackColor", &l.BackColor, u"FFFF00"},
        {u"Link", u"OpenRightWindowFlag", &l.OpenRightWindowFlag, u"0"},
        {u"Title", u"Title", &g.Title.Title, u"Favorite"},
        {u"Title", u"Font", &g.Title.Font, u"<<指定無し>>"},
        {u"Title", u"Size", &g.Title.Size, u"20px"},
        {u"Title", u"Color", &g.Title.Color, u"008040"},
        {u"Title", u"Bold", &g.Title.Bold, u"1"},
        {u"Title", u"Italic", &g.Title.Italic, u"0"},
        {u"Folder", u"Font", &g.Folder.Font, u"<<指定無し>>"},
        {u"Folder", u"Size", &g.Folder.Size, u"16px"},
        {u"Folder", u"Color", &g.Folder.Color, u"FF0000"},
        {u"Folder", u"Bold", &g.Folder.Bold, u"0"},
        {u"Folder", u"Italic", &g.Folder.Italic, u"0"},
    }};
}

int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int v = 99;
    if (u >= '0' && u <= '9')
        v = u - '0';
    else if (u >= 'a' && u <= 'f')
        v = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        v = u - 'A' + 10;
    return v < base ? v : -1;
}

} // namespace

// A whole 32-bit integer: decimal with an optional sign, or hexadecimal after "$", "x" or "0x".
// Nothing for anything else, an empty text included.
std::optional<qint64> parseProfileInteger(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+'))) {
        negative = text[0] == QLatin1Char('-');
        text = text.mid(1);
    }
    int base = 10;
    if (text.startsWith(QLatin1Char('$')) ||
        text.startsWith(QLatin1Char('x'), Qt::CaseInsensitive)) {
        base = 16;
        text = text.mid(1);
    } else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        text = text.mid(2);
    }
    if (text.isEmpty())
        return std::nullopt;
    const qint64 limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
    qint64 value = 0;
    for (QChar c : text) {
        const int digit = digitValue(c, base);
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    return negative ? -value : value;
}

QString settingsPathForExecutable(const QString &executablePath)
{
    const QFileInfo info(executablePath);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    return info.dir().filePath(base + QStringLiteral(".ini"));
}

void InitSettings()
{
    SettingsFilePath =
        settingsFileLocation(settingsPathForExecutable(QCoreApplication::applicationFilePath()));
    LoadSettings();
}

namespace {

ESettingsReadError readError()
{
    return ESettingsReadError(QStringLiteral("%1 を読み込めません").arg(SettingsFilePath));
}

} // namespace

void LoadSettings()
{
    ProfileFile file(SettingsFilePath);
    // An unreadable file gives every setting its default, so the program can go on, and is
    // then reported.
    const bool readable = file.load();
    for (const Setting &s : settingsTable()) {
        const std::optional<QString> stored = file.value(s.section, s.key);
        const QString defaultText = QString::fromUtf16(s.defaultText);
        if (QString *const *text = std::get_if<QString *>(&s.field)) {
            **text = stored.value_or(defaultText);
            // The folder is checked at once, before any later key can end the load. A file
            // there is a browser's bookmark file and is kept.
            if (*text == &GlobalVariant.FavoriteFolder && !QFileInfo(**text).isDir() &&
                !QFileInfo(**text).isFile())
                **text = SpecialFolderPath(CSIDL_FAVORITES);
        } else if (TColor *const *color = std::get_if<TColor *>(&s.field)) {
            **color = HexTextToColor(stored.value_or(defaultText));
        } else if (bool *const *flag = std::get_if<bool *>(&s.field)) {
            std::optional<qint64> number;
            if (stored)
                number = parseProfileInteger(*stored);
            if (!number)
                number = parseProfileInteger(defaultText);
            **flag = *number != 0;
        }
    }
    if (!readable)
        throw readError();
}

void SaveSettings()
{
    // The user's own settings folder (~/.config/talvensa) is made at the first save.
    QDir().mkpath(QFileInfo(SettingsFilePath).absolutePath());
    ProfileFile file(SettingsFilePath);
    if (!file.load())
        throw readError();
    for (const Setting &s : settingsTable()) {
        QString text;
        if (QString *const *value = std::get_if<QString *>(&s.field))
            text = **value;
        else if (TColor *const *color = std::get_if<TColor *>(&s.field))
            text = ColorToHexText(**color);
        else if (bool *const *flag = std::get_if<bool *>(&s.field))
            text = **flag ? QStringLiteral("1") : QStringLiteral("0");
        if (!file.write(s.section, s.key, text))
            throw ESettingsWriteError(QStringLiteral("%1 に書き込めません").arg(SettingsFilePath));
    }
}
