// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "outputs/UrlText.h"

namespace {

void appendPercentEncoded(QByteArray &out, char32_t code)
{
    char utf8[4];
    int size;
    if (code < 0x80) {
        utf8[0] = char(code);
        size = 1;
    } else if (code < 0x800) {
        utf8[0] = char(0xC0 | (code >> 6));
        utf8[1] = char(0x80 | (code & 0x3F));
        size = 2;
    } else if (code < 0x10000) {
        utf8[0] = char(0xE0 | (code >> 12));
        utf8[1] = char(0x80 | ((code >> 6) & 0x3F));
        utf8[2] = char(0x80 | (code & 0x3F));
        size = 3;
    } else {
        utf8[0] = char(0xF0 | (code >> 18));
        utf8[1] = char(0x80 | ((code >> 12) & 0x3F));
        utf8[2] = char(0x80 | ((code >> 6) & 0x3F));
        utf8[3] = char(0x80 | (code & 0x3F));
        size = 4;
    }
    static const char hex[] = "0123456789ABCDEF";
    for (int i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        out += '%';
        out += hex[b >> 4];
        out += hex[b & 0xF];
    }
}

} // namespace

QByteArray percentEncodedUrl(QStringView url)
{
    QByteArray out;
    out.reserve(url.size());
    for (qsizetype i = 0; i < url.size(); ++i) {
        const char16_t c = url[i].unicode();
        if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < url.size() && url[i + 1].isLowSurrogate()) {
            appendPercentEncoded(out, QChar::surrogateToUcs4(c, url[++i].unicode()));
        } else {
            appendPercentEncoded(out, QChar::isSurrogate(c) ? char32_t(0xFFFD) : char32_t(c));
        }
    }
    return out;
}
