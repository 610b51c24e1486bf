// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "model/UrlKey.h"

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// The length of the scheme at the start of url ("http" of "http://..."), 0 when there is none:
// a letter, then letters, digits, "+", "-" and ".", up to the first ":".
qsizetype schemeLength(QStringView url)
{
    if (url.isEmpty() || !isAsciiLetter(url[0]))
        return 0;
    for (qsizetype i = 1; i < url.size(); ++i) {
        const QChar c = url[i];
        if (c == QLatin1Char(':'))
            return i;
        if (!isAsciiLetter(c) && !c.isDigit() && c != QLatin1Char('+') && c != QLatin1Char('-') &&
            c != QLatin1Char('.'))
            return 0;
    }
    return 0;
}

} // namespace

QString normalisedUrl(QStringView url)
{
    const qsizetype scheme = schemeLength(url);
    if (scheme == 0)
        return url.toString();
    QString out = url.first(scheme).toString().toLower();
    out += QLatin1Char(':');
    QStringView rest = url.sliced(scheme + 1);
    if (!rest.startsWith(QLatin1String("//"))) {
        out += rest;
        return out;
    }
    out += QLatin1String("//");
    rest = rest.sliced(2);
    // The authority runs to the path, the query or the fragment.
    qsizetype end = 0;
    while (end < rest.size() && rest[end] != QLatin1Char('/') && rest[end] != QLatin1Char('?') &&
           rest[end] != QLatin1Char('#'))
        ++end;
    QStringView authority = rest.first(end);
    rest = rest.sliced(end);
    // The user's part before "@" keeps its case; the host is what follows, a bracketed IPv6
    // address included, and its port after the last ":" outside the brackets.
    const qsizetype at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        out += authority.first(at + 1);
        authority = authority.sliced(at + 1);
    }
    const qsizetype bracket = authority.lastIndexOf(QLatin1Char(']'));
    const qsizetype colon = authority.lastIndexOf(QLatin1Char(':'));
    QStringView host = authority;
    QStringView port;
    if (colon > bracket) {
        host = authority.first(colon);
        port = authority.sliced(colon + 1);
    }
    out += host.toString().toLower();
    const QStringView schemeName = QStringView(out).first(scheme);
    const bool defaultPort = (schemeName == QLatin1String("http") && port == QLatin1String("80")) ||
                             (schemeName == QLatin1String("https") && port == QLatin1String("443"));
    if (colon > bracket && !defaultPort) {
        out += QLatin1Char(':');
        out += port;
    }
    if (rest.isEmpty() || rest[0] != QLatin1Char('/'))
        out += QLatin1Char('/');
    out += rest;
    return out;
}
