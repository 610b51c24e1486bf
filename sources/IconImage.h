// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/LinkIcon.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <vector>

// The size a page draws an icon at, in pixels: of several sizes, the one closest to it is taken.
constexpr int WantedIconSize = 32;
// The largest icon put on a page. A favicon is a few KiB; one larger would make a page of many
// links heavy, and is more likely a photo than an icon.
constexpr qsizetype MaxIconBytes = 64 * 1024;

// The MIME type that an image's own first bytes show: image/png, image/x-icon (a well-formed
// ICO directory), image/svg+xml (text whose first element is <svg>), image/jpeg, image/webp or
// image/gif. Empty for anything else: a name never decides it.
QByteArray iconMimeType(QByteArrayView data);

// One image listed in an ICO file's directory.
struct IcoImage
{
    int width = 0; // pixels; 256 where the directory says 0
    int height = 0;
    int bitCount = 0;
    qsizetype offset = 0; // where its bytes lie in the file
    qsizetype size = 0;
};

// The directory of an ICO file: every image it lists, each of them lying wholly inside data
// after the directory. Nothing when data is no ICO file, lists no image or lists one that lies
// (in part) outside it.
std::optional<std::vector<IcoImage>> icoDirectory(QByteArrayView data);

// Whether a size of width pixels is nearer to WantedIconSize than one of other; between two as
// near, the larger wins (drawn smaller it stays sharp).
bool isCloserToWantedSize(int width, int other);

// The icon that the bytes of an image file hold, ready for a page: its MIME type from its
// signature, and of an ICO file with several images only the one closest to WantedIconSize
// (a PNG image in it as image/png, a bitmap as an ICO file of that one image). Nothing when the
// bytes are of no kind above or the icon is larger than MaxIconBytes.
std::optional<LinkIcon> iconFromImage(QByteArrayView data);
