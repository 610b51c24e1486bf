// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "settings/SettingsFile.h"

#include "platform/SpecialFolders.h"
#include "settings/ColorText.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsTable.h"

#include <QDir>
#include <QFileInfo>

namespace {

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

ESettingsReadError readError(const QString &path)
{
    return ESettingsReadError(QStringLiteral("%1 を読み込めません").arg(path));
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

void loadSettingsFile(const QString &path, TGlobalVariant &settings)
{
    ProfileFile file(path);
    // An unreadable file gives every setting its default, so the program can go on, and is
    // then reported.
    const bool readable = file.load();
    for (const DesignSetting &s : designSettings()) {
        const std::optional<QString> stored = file.value(s.section, s.key);
        const QString defaultText = QString::fromUtf16(s.defaultText);
        if (const auto *text = std::get_if<DesignSetting::Text>(&s.field)) {
            QString &value = (*text)(settings);
            value = stored.value_or(defaultText);
            // The folder is checked at once, before any later key can end the load. A file
            // there is a browser's bookmark file and is kept.
            if (&value == &settings.FavoriteFolder && !QFileInfo(value).isDir() &&
                !QFileInfo(value).isFile())
                value = SpecialFolderPath(CSIDL_FAVORITES);
        } else if (const auto *color = std::get_if<DesignSetting::Color>(&s.field)) {
            (*color)(settings) = HexTextToColor(stored.value_or(defaultText));
        } else if (const auto *flag = std::get_if<DesignSetting::Flag>(&s.field)) {
            std::optional<qint64> number;
            if (stored)
                number = parseProfileInteger(*stored);
            if (!number)
                number = parseProfileInteger(defaultText);
            (*flag)(settings) = *number != 0;
        }
    }
    if (!readable)
        throw readError(path);
}

void saveSettingsFile(const QString &path, const TGlobalVariant &settings)
{
    // The user's own settings folder (~/.config/talvensa) is made at the first save.
    QDir().mkpath(QFileInfo(path).absolutePath());
    ProfileFile file(path);
    if (!file.load())
        throw readError(path);
    // The table reaches the fields of a record it may change: a copy of this one.
    TGlobalVariant record = settings;
    for (const DesignSetting &s : designSettings()) {
        QString text;
        if (const auto *value = std::get_if<DesignSetting::Text>(&s.field))
            text = (*value)(record);
        else if (const auto *color = std::get_if<DesignSetting::Color>(&s.field))
            text = ColorToHexText((*color)(record));
        else if (const auto *flag = std::get_if<DesignSetting::Flag>(&s.field))
            text = (*flag)(record) ? QStringLiteral("1") : QStringLiteral("0");
        if (!file.write(s.section, s.key, text))
            throw ESettingsWriteError(QStringLiteral("%1 に書き込めません").arg(path));
    }
}
