// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/IconImage.h"

#include <QtEndian>

#include <cstdlib>

namespace {

const QByteArrayView PngSignature("\x89PNG\r\n\x1a\n", 8);

constexpr qsizetype IcoHeaderBytes = 6;
constexpr qsizetype IcoEntryBytes = 16;

quint16 le16(QByteArrayView data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.data() + at);
}

quint32 le32(QByteArrayView data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.data() + at);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The text after the first occurrence of end in text at or after from; empty when it is not
// there.
QByteArrayView after(QByteArrayView text, QByteArrayView end)
{
    const qsizetype at = text.indexOf(end);
    return at < 0 ? QByteArrayView() : text.sliced(at + end.size());
}

// Whether text is XML whose first element is svg: a byte-order mark, blanks, an XML
// declaration, processing instructions, comments and a document type may come before it.
bool isSvg(QByteArrayView text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    // Only the start is looked at: a prologue longer than this is no icon's.
    text = text.first(qMin<qsizetype>(text.size(), 4096));
    for (;;) {
        while (!text.isEmpty() && isBlank(text.front()))
            text = text.sliced(1);
        if (text.startsWith("<?")) {
            text = after(text, "?>");
        } else if (text.startsWith("<!--")) {
            text = after(text.sliced(4), "-->");
        } else if (text.startsWith("<!DOCTYPE")) {
            // An internal subset in brackets may hold ">" of its own.
            const qsizetype close = text.indexOf('>');
            const qsizetype open = text.indexOf('[');
            text = open >= 0 && (close < 0 || open < close) ? after(text, "]") : text;
            text = after(text, ">");
        } else {
            break;
        }
    }
    if (!text.startsWith("<svg") || text.size() < 5)
        return false;
    const char next = text[4];
    return isBlank(next) || next == '>' || next == '/';
}

} // namespace

std::optional<std::vector<IcoImage>> icoDirectory(QByteArrayView data)
{
    if (data.size() < IcoHeaderBytes || le16(data, 0) != 0 || le16(data, 2) != 1)
        return std::nullopt;
    const qsizetype count = le16(data, 4);
    const qsizetype directoryEnd = IcoHeaderBytes + count * IcoEntryBytes;
    if (count == 0 || data.size() < directoryEnd)
        return std::nullopt;
    std::vector<IcoImage> images;
    images.reserve(size_t(count));
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype entry = IcoHeaderBytes + i * IcoEntryBytes;
        IcoImage image;
        image.width = quint8(data[entry]) == 0 ? 256 : quint8(data[entry]);
        image.height = quint8(data[entry + 1]) == 0 ? 256 : quint8(data[entry + 1]);
        image.bitCount = le16(data, entry + 6);
        const quint32 size = le32(data, entry + 8);
        const quint32 offset = le32(data, entry + 12);
        // Compared in 64 bits, so that a size and an offset near 4 GiB cannot wrap round.
        if (size == 0 || offset < quint64(directoryEnd) ||
            quint64(offset) + size > quint64(data.size()))
            return std::nullopt;
        image.offset = qsizetype(offset);
        image.size = qsizetype(size);
        images.push_back(image);
    }
    return images;
}

QByteArray iconMimeType(QByteArrayView data)
{
    if (data.startsWith(PngSignature))
        return QByteArrayLiteral("image/png");
    if (data.startsWith("\xFF\xD8\xFF"))
        return QByteArrayLiteral("image/jpeg");
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a"))
        return QByteArrayLiteral("image/gif");
    if (data.size() >= 12 && data.startsWith("RIFF") && data.sliced(8, 4) == "WEBP")
        return QByteArrayLiteral("image/webp");
    if (icoDirectory(data))
        return QByteArrayLiteral("image/x-icon");
    if (isSvg(data))
        return QByteArrayLiteral("image/svg+xml");
    return QByteArray();
}

bool isCloserToWantedSize(int width, int other)
{
    const int distance = std::abs(width - WantedIconSize);
    const int otherDistance = std::abs(other - WantedIconSize);
    return distance < otherDistance || (distance == otherDistance && width > other);
}

std::optional<LinkIcon> iconFromImage(QByteArrayView data)
{
    LinkIcon icon;
    icon.mimeType = iconMimeType(data);
    if (icon.mimeType.isEmpty())
        return std::nullopt;
    if (icon.mimeType == "image/x-icon") {
        const std::vector<IcoImage> images = *icoDirectory(data);
        if (images.size() > 1) {
            const IcoImage *best = &images.front();
            for (const IcoImage &image : images) {
                if (isCloserToWantedSize(image.width, best->width) ||
                    (image.width == best->width && image.bitCount > best->bitCount))
                    best = &image;
            }
            const QByteArrayView bytes = data.sliced(best->offset, best->size);
            if (bytes.size() > MaxIconBytes)
                return std::nullopt;
            if (bytes.startsWith(PngSignature)) {
                icon.data = bytes.toByteArray();
                icon.mimeType = QByteArrayLiteral("image/png");
                return icon;
            }
            // The bitmap in an ICO file of its own: the header, its directory entry pointing
            // just past it, the bytes.
            const qsizetype entry = IcoHeaderBytes + (best - images.data()) * IcoEntryBytes;
            icon.data.reserve(IcoHeaderBytes + IcoEntryBytes + bytes.size());
            icon.data.append(data.first(4));
            icon.data.append("\x01\x00", 2);
            icon.data.append(data.sliced(entry, 12));
            char offset[4];
            qToLittleEndian<quint32>(quint32(IcoHeaderBytes + IcoEntryBytes), offset);
            icon.data.append(offset, 4);
            icon.data.append(bytes);
            if (icon.data.size() > MaxIconBytes)
                return std::nullopt;
            return icon;
        }
    }
    if (data.size() > MaxIconBytes)
        return std::nullopt;
    icon.data = data.toByteArray();
    return icon;
}
