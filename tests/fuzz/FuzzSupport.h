// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/ShiftJis.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

// Helpers shared by the fuzz targets.

// Ends the run with a message when a property does not hold; libFuzzer then keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// A folder for the files a target writes, in memory where the system offers it, removed at exit.
inline const QTemporaryDir &fuzzScratchDir()
{
    static const QTemporaryDir dir = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        return QTemporaryDir(base + QStringLiteral("/talvensa-fuzz-XXXXXX"));
    }();
    return dir;
}

inline void writeWholeFile(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
}

inline QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::abort();
    }
    return file.readAll();
}

// One line of a text file: its text and its line end ("\r\n", "\n", "\r" or none).
struct FuzzLine
{
    QByteArray text;
    QByteArray ending;
};

// Splits bytes into lines at CR LF, LF and CR, the way the profile files are read.
inline QList<FuzzLine> splitLines(QByteArrayView bytes)
{
    QList<FuzzLine> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        const qsizetype endLength =
            (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        lines.append({bytes.sliced(start, i - start).toByteArray(),
                      bytes.sliced(i, endLength).toByteArray()});
        i += endLength - 1;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append({bytes.sliced(start).toByteArray(), QByteArray()});
    return lines;
}

// What a text reads as once written in Shift-JIS and decoded again: every character the code
// page holds as it is, every other one as a decimal numeric character reference (a surrogate
// pair as one).
inline QString expectedShiftJisText(QStringView text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += QStringLiteral("&#%1;").arg(QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else if (c.unicode() < 0x80 || fitsShiftJis(QStringView(&c, 1))) {
            out += c;
        } else {
            out += QStringLiteral("&#%1;").arg(c.unicode());
        }
    }
    return out;
}
