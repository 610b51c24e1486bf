// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "settings/ProfileFile.h"

#include "platform/AtomicFile.h"
#include "platform/ProfileRules.h"
#include "platform/RegularFile.h"
#include "platform/ShiftJis.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

const QByteArray Utf8Mark("\xEF\xBB\xBF");

using ProfileRules::trimBlanks;

QStringView trimBlanks(QStringView text)
{
    while (!text.isEmpty() &&
           (text.front() == QLatin1Char(' ') || text.front() == QLatin1Char('\t')))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == QLatin1Char(' ') || text.back() == QLatin1Char('\t')))
        text.chop(1);
    return text;
}

} // namespace

ProfileFile::ProfileFile(QString path) : m_path(std::move(path)) {}

bool ProfileFile::load()
{
    m_lines.clear();
    m_utf8 = false;
    m_error.clear();
    QByteArray bytes;
    bool missing = false;
    if (!readRegularFile(m_path, MaxFileBytes, bytes, m_error, &missing)) {
        if (!missing)
            return false;
        m_error.clear();
        return true;
    }
    parse(bytes);
    return true;
}

void ProfileFile::parse(const QByteArray &data)
{
    QByteArrayView rest(data);
    if (rest.startsWith(Utf8Mark)) {
        m_utf8 = true;
        rest = rest.sliced(Utf8Mark.size());
    }
    qsizetype start = 0;
    const qsizetype n = rest.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = rest[i];
        if (c != '\r' && c != '\n')
            continue;
        const qsizetype endingLength = (c == '\r' && i + 1 < n && rest[i + 1] == '\n') ? 2 : 1;
        m_lines.append(makeLine(rest.sliced(start, i - start).toByteArray(),
                                rest.sliced(i, endingLength).toByteArray()));
        i += endingLength - 1;
        start = i + 1;
    }
    if (start < n)
        m_lines.append(makeLine(rest.sliced(start).toByteArray(), QByteArray()));
}

ProfileFile::Line ProfileFile::makeLine(QByteArray text, QByteArray ending) const
{
    Line line;
    line.text = std::move(text);
    line.ending = std::move(ending);
    // "[", "]" and "=" are looked for in the decoded text: in Shift-JIS the second byte of a
    // double-byte character can be "[" or "]".
    const QByteArrayView trimmed = trimBlanks(line.text);
    if (trimmed.startsWith('[')) {
        const QString header = decode(trimmed);
        const qsizetype close = header.lastIndexOf(QLatin1Char(']'));
        if (close > 0) {
            line.isSection = true;
            line.sectionName = header.mid(1, close - 1).trimmed();
            return line;
        }
    }
    // "=" (0x3D) is never the second byte of a Shift-JIS character, so the bytes can be split.
    const qsizetype equals = line.text.indexOf('=');
    if (equals >= 0) {
        line.isKey = true;
        line.keyName = decode(trimBlanks(QByteArrayView(line.text).first(equals)));
    }
    return line;
}

QString ProfileFile::decode(QByteArrayView bytes) const
{
    if (!m_utf8)
        return fromShiftJis(bytes);
    // A value may itself start with U+FEFF; QString::fromUtf8 would drop it as a byte-order mark.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(bytes);
}

QByteArray ProfileFile::encode(const QString &text) const
{
    return m_utf8 ? text.toUtf8() : toShiftJis(text);
}

qsizetype ProfileFile::findSection(QStringView section) const
{
    const QStringView wanted = section.trimmed();
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].isSection &&
            m_lines[i].sectionName.compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype ProfileFile::sectionEnd(qsizetype header) const
{
    qsizetype i = header + 1;
    while (i < m_lines.size() && !m_lines[i].isSection)
        ++i;
    return i;
}

std::optional<QString> ProfileFile::value(QStringView section, QStringView key) const
{
    const qsizetype header = findSection(section);
    if (header < 0)
        return std::nullopt;
    const QStringView wanted = key.trimmed();
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line &line = m_lines[i];
        if (!line.isKey || line.keyName.compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        const QByteArrayView raw = ProfileRules::withoutEnclosingQuotes(
            trimBlanks(QByteArrayView(line.text).sliced(line.text.indexOf('=') + 1)));
        return decode(raw.first(wholeCharacterPrefix(raw, ProfileRules::MaxValueBytes, m_utf8)));
    }
    return std::nullopt;
}

void ProfileFile::switchToUtf8()
{
    m_utf8 = true;
    for (Line &line : m_lines) {
        // A line that is not valid Shift-JIS keeps its bytes: converting it would lose them
        // (a broken character would become a substitute or vanish).
        QByteArray text = isValidShiftJis(line.text) ? fromShiftJis(line.text).toUtf8() : line.text;
        // Names are taken again as the UTF-8 file will be read.
        line = makeLine(std::move(text), std::move(line.ending));
    }
}

bool ProfileFile::write(QStringView section, QStringView key, const QString &value)
{
    // A line break inside a value would split it into lines of its own and corrupt the file.
    QString clean = value;
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    // A value that is itself enclosed in quotes would lose them when read: one more pair keeps it.
    const QStringView trimmed = trimBlanks(clean);
    if (trimmed.size() >= 2 && trimmed.front() == trimmed.back() &&
        (trimmed.front() == QLatin1Char('"') || trimmed.front() == QLatin1Char('\'')))
        clean = QLatin1Char('"') + trimmed.toString() + QLatin1Char('"');

    const QList<Line> before = m_lines;
    const bool wasUtf8 = m_utf8;
    if (!m_utf8 && !fitsShiftJis(clean))
        switchToUtf8();

    const QByteArray newValue = encode(clean);
    const QString keyName = key.trimmed().toString();
    const QString sectionName = section.trimmed().toString();
    const QByteArray lineEnd("\r\n");
    auto ensureEnding = [&](qsizetype index) {
        if (index >= 0 && index < m_lines.size() && m_lines[index].ending.isEmpty())
            m_lines[index].ending = lineEnd;
    };

    const qsizetype header = findSection(sectionName);
    if (header < 0) {
        ensureEnding(m_lines.size() - 1);
        m_lines.append(
            makeLine(encode(QLatin1Char('[') + sectionName + QLatin1Char(']')), lineEnd));
        m_lines.append(makeLine(encode(keyName) + '=' + newValue, lineEnd));
    } else {
        const qsizetype end = sectionEnd(header);
        qsizetype found = -1;
        qsizetype lastFilled = header;
        for (qsizetype i = header + 1; i < end; ++i) {
            if (m_lines[i].isKey && found < 0 &&
                m_lines[i].keyName.compare(keyName, Qt::CaseInsensitive) == 0)
                found = i;
            if (!trimBlanks(m_lines[i].text).isEmpty())
                lastFilled = i;
        }
        if (found >= 0) {
            Line &line = m_lines[found];
            line = makeLine(line.text.first(line.text.indexOf('=') + 1) + newValue, line.ending);
        } else {
            ensureEnding(lastFilled);
            m_lines.insert(lastFilled + 1, makeLine(encode(keyName) + '=' + newValue, lineEnd));
        }
    }

    if (save())
        return true;
    m_lines = before;
    m_utf8 = wasUtf8;
    return false;
}

QByteArray ProfileFile::contents() const
{
    QByteArray out;
    if (m_utf8)
        out += Utf8Mark;
    for (const Line &line : m_lines)
        out += line.text + line.ending;
    return out;
}

bool ProfileFile::save()
{
    const QFileInfo info(m_path);
    // A read-only settings file (its owner may not write it) is not replaced behind the owner's
    // back, even by a user whose rights would allow it.
    if (info.exists() &&
        (!info.isFile() || !info.isWritable() || !info.permission(QFile::WriteOwner))) {
        m_error =
            info.isFile() ? QStringLiteral("read-only") : QStringLiteral("not a regular file");
        return false;
    }
    // The old file stays whole until the new one is on the disk whole: a full disk or a quota
    // fails the write and costs nothing of what the file held.
    AtomicFile file(m_path);
    if (file.open() && file.write(contents()) && file.commit())
        return true;
    m_error = file.errorString();
    return false;
}
