// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/ShortcutIcons.h"

#include "platform/RegularFile.h"
#include "sources/IconImage.h"

namespace {

bool hasIconFileName(const QString &path)
{
    for (const char *extension : {".ico", ".png", ".svg"}) {
        if (path.endsWith(QLatin1StringView(extension), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

const LinkIcon *ShortcutIcons::iconFor(const Link &link)
{
    const QString &path = link.iconKey;
    if (!path.startsWith(QLatin1Char('/')) || !hasIconFileName(path))
        return nullptr;
    const auto known = m_icons.find(path);
    if (known != m_icons.end())
        return known->second ? &*known->second : nullptr;
    std::optional<LinkIcon> &icon = m_icons[path];
    QByteArray bytes;
    QString error;
    if (readRegularFile(path, MaxFileBytes, bytes, error))
        icon = iconFromImage(bytes);
    return icon ? &*icon : nullptr;
}
