// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// The icon reading: the image kind told from a signature, and the ICO directory.
//
// Input: any bytes, as an icon file or an icon database's blob holds them.
// Properties:
// - every image the ICO directory lists lies wholly inside the input, after the directory;
// - an ICO type is given exactly when the directory can be read;
// - an icon made from the input is no larger than the limit, and its bytes tell the type it is
//   given; an icon cut out of a larger ICO file is itself an ICO file of one image, or a PNG,
//   and holds the bytes of an image the input lists.

#include "FuzzSupport.h"

#include "sources/IconImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<std::vector<IcoImage>> images = icoDirectory(input);
    if (images) {
        FUZZ_CHECK(!images->empty());
        const qsizetype directoryEnd = 6 + qsizetype(images->size()) * 16;
        for (const IcoImage &image : *images) {
            FUZZ_CHECK(image.offset >= directoryEnd);
            FUZZ_CHECK(image.size > 0);
            FUZZ_CHECK(image.offset + image.size <= input.size());
            FUZZ_CHECK(image.width >= 1 && image.width <= 256);
        }
    }
    const QByteArray type = iconMimeType(input);
    FUZZ_CHECK(images.has_value() == (type == "image/x-icon"));

    const std::optional<LinkIcon> icon = iconFromImage(input);
    FUZZ_CHECK(!icon || !type.isEmpty());
    if (!icon)
        return 0;
    FUZZ_CHECK(icon->data.size() <= MaxIconBytes);
    FUZZ_CHECK(iconMimeType(icon->data) == icon->mimeType);
    if (type == "image/x-icon" && images->size() > 1) {
        // One image of the input, alone.
        bool found = false;
        if (icon->mimeType == "image/x-icon") {
            const std::optional<std::vector<IcoImage>> kept = icoDirectory(icon->data);
            FUZZ_CHECK(kept && kept->size() == 1);
            const QByteArrayView bytes = QByteArrayView(icon->data).sliced(kept->front().offset);
            for (const IcoImage &image : *images)
                found = found || input.sliced(image.offset, image.size) == bytes;
        } else {
            FUZZ_CHECK(icon->mimeType == "image/png");
            for (const IcoImage &image : *images)
                found = found || input.sliced(image.offset, image.size) == icon->data;
        }
        FUZZ_CHECK(found);
    } else {
        FUZZ_CHECK(icon->data == input);
    }
    return 0;
}
