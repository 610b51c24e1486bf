// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/Link.h"

#include <QByteArray>

// A link's icon as its source holds it: the image's bytes and their MIME type, taken from the
// bytes' own signature (image/png, image/x-icon, image/svg+xml, ...).
struct LinkIcon
{
    QByteArray data;
    QByteArray mimeType;
};

// Finds the icons of links, where the sources keep them (a browser's icon store, a shortcut's
// IconFile=). A writer that shows icons asks it once per link; a writer given none shows none.
class IconLookup
{
public:
    virtual ~IconLookup() = default;
    // The icon of link, or nullptr where none is known. The icon stays valid as long as the
    // lookup does; the same bytes may be given for several links (the same pointer or not).
    virtual const LinkIcon *iconFor(const Link &link) = 0;
};
