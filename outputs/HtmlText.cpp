// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "outputs/HtmlText.h"

#include <algorithm>

#include <QChar>
#include <QString>

#include <cstring>

namespace {

const char Hex[] = "0123456789ABCDEF";

char *putUtf8(char *p, char32_t code)
{
    if (code < 0x80) {
        *p++ = char(code);
    } else if (code < 0x800) {
        *p++ = char(0xC0 | (code >> 6));
        *p++ = char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *p++ = char(0xE0 | (code >> 12));
        *p++ = char(0x80 | ((code >> 6) & 0x3F));
        *p++ = char(0x80 | (code & 0x3F));
    } else {
        *p++ = char(0xF0 | (code >> 18));
        *p++ = char(0x80 | ((code >> 12) & 0x3F));
        *p++ = char(0x80 | ((code >> 6) & 0x3F));
        *p++ = char(0x80 | (code & 0x3F));
    }
    return p;
}

char *putLiteral(char *p, const char *text)
{
    const size_t n = std::strlen(text);
    std::memcpy(p, text, n);
    return p + n;
}

// The escaped text from p on; at most 6 bytes for each UTF-16 unit of text.
char *escape(char *p, QStringView text, bool attribute)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            if (c >= 0x20 && c != u'&' && c != u'<' && c != u'>' && c != 0x7F &&
                (c != u'"' || !attribute)) {
                *p++ = char(c);
            } else if (c == u'&') {
                p = putLiteral(p, "&amp;");
            } else if (c == u'<') {
                p = putLiteral(p, "&lt;");
            } else if (c == u'>') {
                p = putLiteral(p, "&gt;");
            } else if (c == u'"') {
                p = putLiteral(p, "&quot;");
            } else if (c == u'\t' || c == u'\n' || c == u'\r') {
                *p++ = c == u'\t' ? '\t' : ' ';
            } else {
                p = putUtf8(p, 0xFFFD);
            }
            continue;
        }
        char32_t code = c;
        if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate())
            code = QChar::surrogateToUcs4(c, text[++i].unicode());
        else if (QChar::isSurrogate(c) || c < 0xA0 || c == 0xFFFE || c == 0xFFFF)
            code = 0xFFFD;
        p = putUtf8(p, code);
    }
    return p;
}

void putEscaped(PageOutput &out, QStringView text, bool attribute)
{
    char *const start = out.room(6 * text.size());
    out.commit(escape(start, text, attribute));
}

bool isSpecialScheme(QStringView scheme)
{
    for (const char *special : {"http", "https", "ftp", "ws", "wss", "file"}) {
        if (scheme.compare(QLatin1StringView(special), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

void appendPercentUtf8(QByteArray &out, char32_t code)
{
    char utf8[4];
    const char *const end = putUtf8(utf8, code);
    for (const char *p = utf8; p < end; ++p) {
        const auto b = static_cast<unsigned char>(*p);
        out += '%';
        out += Hex[b >> 4];
        out += Hex[b & 0xF];
    }
}

QStringView trimmedAddress(QStringView url)
{
    qsizetype from = 0, to = url.size();
    while (from < to && url[from].unicode() <= 0x20)
        ++from;
    while (to > from && url[to - 1].unicode() <= 0x20)
        --to;
    return url.sliced(from, to - from);
}

} // namespace

void putHtmlText(PageOutput &out, QStringView text)
{
    putEscaped(out, text, false);
}

void putHtmlAttribute(PageOutput &out, QStringView text)
{
    putEscaped(out, text, true);
}

void appendHtmlText(QByteArray &out, QStringView text)
{
    const qsizetype used = out.size();
    out.resize(used + 6 * text.size());
    char *const end = escape(out.data() + used, text, false);
    out.resize(end - out.constData());
}

bool isScriptAddress(QStringView url)
{
    url = trimmedAddress(url);
    for (const char *scheme : {"javascript:", "vbscript:"}) {
        if (url.startsWith(QLatin1StringView(scheme), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

void appendHrefText(QByteArray &out, QStringView url)
{
    url = trimmedAddress(url);
    const qsizetype colon = url.indexOf(u':');
    const bool special = colon > 0 && isSpecialScheme(url.first(colon));
    bool inQuery = false;
    bool inFragment = false;
    for (qsizetype i = 0; i < url.size(); ++i) {
        const char16_t c = url[i].unicode();
        if (c == u'?' && !inFragment)
            inQuery = true;
        if (c == u'\\' && special && !inQuery && !inFragment) {
            out += '/';
            continue;
        }
        if (c == u'#' && !inFragment) {
            inFragment = true;
            out += '#';
            continue;
        }
        if (c >= 0x80) {
            char32_t code = c;
            if (QChar::isHighSurrogate(c) && i + 1 < url.size() && url[i + 1].isLowSurrogate()) {
                code = QChar::surrogateToUcs4(c, url[++i].unicode());
            } else if (QChar::isSurrogate(c)) {
                appendPercentUtf8(out, 0xFFFD);
                continue;
            }
            if (code < 0xA0 || code == 0xFFFE || code == 0xFFFF) {
                appendPercentUtf8(out, code);
                continue;
            }
            char utf8[4];
            out.append(utf8, putUtf8(utf8, code) - utf8);
            continue;
        }
        const bool stray =
            c == u'%' && !(i + 2 < url.size() && isHexDigit(url[i + 1]) && isHexDigit(url[i + 2]));
        if (c <= 0x20 || c == 0x7F || std::strchr("\"<>\\^`{|}#", char(c)) != nullptr || stray) {
            out += '%';
            out += Hex[c >> 4];
            out += Hex[c & 0xF];
        } else {
            out += char(c);
        }
    }
}

bool isPlainMimeType(QByteArrayView type)
{
    return !type.isEmpty() && std::all_of(type.begin(), type.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '+' || c == '-' || c == '/';
    });
}
