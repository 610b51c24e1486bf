// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "sources/SourceIcons.h"

#include <QHashFunctions>
#include <QString>

#include <optional>
#include <unordered_map>

// The icons of shortcut files: the local .ico, .png or .svg file that a shortcut's IconFile
// entry names, its path being the link's icon key. Each file is read once however many links
// name it, as a regular file of bounded size (RegularFile), so a FIFO or a device put there
// cannot block or flood the page. The kind of image is told from its bytes; the name only
// chooses the files looked at. A file that cannot be read or holds no icon gives none.
class ShortcutIcons final : public SourceIcons
{
public:
    // The largest icon file read: an ICO file may hold many sizes, of which only the one closest
    // to the size wanted goes on the page (and that one must be small).
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    const LinkIcon *iconFor(const Link &link) override;

private:
    struct PathHash
    {
        size_t operator()(const QString &path) const { return qHash(path); }
    };
    std::unordered_map<QString, std::optional<LinkIcon>, PathHash> m_icons; // by path
};
