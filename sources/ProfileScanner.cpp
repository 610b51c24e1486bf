// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/ProfileScanner.h"

#include "platform/ProfileRules.h"
#include "platform/ShiftJis.h"

#include <algorithm>
#include <cstring>

using ProfileRules::asciiLower;
using ProfileRules::isBlank;

namespace {

// Makes bytes empty; memory it holds is kept for what comes next (a null array stays null).
void emptyKeepingMemory(QByteArray &bytes)
{
    if (!bytes.isEmpty())
        bytes.resize(0);
}

// The first CR or LF in [from, to), or to.
const char *lineEndIn(const char *from, const char *to)
{
    const size_t n = size_t(to - from);
    const auto *lf = static_cast<const char *>(std::memchr(from, '\n', n));
    const auto *cr = static_cast<const char *>(std::memchr(from, '\r', lf ? size_t(lf - from) : n));
    return cr ? cr : lf ? lf : to;
}

} // namespace

ProfileScanner::ProfileScanner(std::initializer_list<Key> keys)
{
    for (const Key &key : keys) {
        Q_ASSERT(m_targetCount < MaxKeys);
        Target &target = m_targets[size_t(m_targetCount++)];
        target.key = QByteArrayView(key.key);
        const QByteArrayView section(key.section);
        int index = 0;
        while (index < m_sectionCount && m_sectionNames[size_t(index)].name != section)
            ++index;
        if (index == m_sectionCount)
            m_sectionNames[size_t(m_sectionCount++)].name = section;
        target.section = index;
    }
}

inline void ProfileScanner::ShortText::add(char c)
{
    if (tooLong)
        return;
    if (isBlank(c)) {
        // Past the capacity the count no longer matters: anything that follows is too long.
        if (size > 0 && pendingBlanks <= int(sizeof bytes))
            ++pendingBlanks;
        return;
    }
    if (size + pendingBlanks + 1 > int(sizeof bytes)) {
        tooLong = true;
        return;
    }
    for (; pendingBlanks > 0; --pendingBlanks)
        bytes[size++] = ' ';
    bytes[size++] = c;
}

void ProfileScanner::ShortText::add(const char *from, const char *to)
{
    for (; from < to && !tooLong; ++from)
        add(*from);
}

bool ProfileScanner::ShortText::equalsIgnoringCase(QByteArrayView name) const
{
    if (tooLong || size != name.size())
        return false;
    if (std::memcmp(bytes, name.data(), size_t(size)) == 0)
        return true; // written as the name is, the usual case
    for (int i = 0; i < size; ++i) {
        if (asciiLower(bytes[i]) != asciiLower(name[i]))
            return false;
    }
    return true;
}

bool ProfileScanner::isComplete() const
{
    for (int i = 0; i < m_targetCount; ++i) {
        if (!m_targets[size_t(i)].done)
            return false;
    }
    return true;
}

void ProfileScanner::scan(QByteArrayView bytes)
{
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    while (p < end) {
        const char c = *p;
        // Within a line the bytes up to the next one that changes the state go in one piece: a
        // value is copied as a run, an ignored line is skipped, a key or section name is
        // gathered in one loop. Line ends, "=" after a key and the start of a line go through
        // byte().
        if (m_kind != LineKind::Start) {
            const char *stop = p;
            if (m_kind == LineKind::Key) {
                while (stop < end && *stop != '=' && *stop != '\r' && *stop != '\n')
                    ++stop;
            } else {
                stop = lineEndIn(p, end);
            }
            if (stop > p) {
                switch (m_kind) {
                case LineKind::Key:
                    m_name.add(p, stop);
                    break;
                case LineKind::Section:
                    sectionBytes(p, stop);
                    break;
                case LineKind::Value:
                    addValueBytes(QByteArrayView(p, stop - p));
                    break;
                case LineKind::Ignored:
                    if (m_target)
                        noteValueTail(QByteArrayView(p, stop - p));
                    break;
                case LineKind::Start:
                    break;
                }
                m_lastWasCr = false;
                p = stop;
                continue;
            }
        }
        byte(c);
        ++p;
    }
}

void ProfileScanner::finish()
{
    endLine();
    // The end of the file closes whatever section was open.
    for (int i = 0; i < m_targetCount; ++i)
        m_targets[size_t(i)].done = true;
}

QByteArrayView ProfileScanner::value(int key) const
{
    const Target &target = m_targets[size_t(key)];
    QByteArrayView value(target.value);
    if (!target.overflow) {
        value = ProfileRules::withoutEnclosingQuotes(value);
    } else if (ProfileRules::isQuotePair(value.front(), target.lastByte)) {
        // Only the opening quote is among the kept bytes; the closing one went with the cut.
        value = value.sliced(1);
    }
    return value.first(wholeCharacterPrefix(value, ProfileRules::MaxValueBytes, m_utf8));
}

void ProfileScanner::reset()
{
    // Every state goes back to where a new scanner starts (a member added to the scanner is
    // reset here too); the values' memory is kept.
    for (int i = 0; i < m_targetCount; ++i) {
        Target &target = m_targets[size_t(i)];
        emptyKeepingMemory(target.value);
        emptyKeepingMemory(target.pendingBlanks);
        target.overflow = false;
        target.done = false;
    }
    for (int i = 0; i < m_sectionCount; ++i)
        m_sectionNames[size_t(i)].seen = false;
    m_section = -1;
    m_kind = LineKind::Start;
    m_name.clear();
    m_sectionAtClose.clear();
    m_sawClose = false;
    m_trailNext = false;
    m_target = nullptr;
    m_utf8 = false;
    m_lastWasCr = false;
}

void ProfileScanner::byte(char c)
{
    if (c == '\r' || c == '\n') {
        // CR LF is one line end; CR or LF alone is one too.
        if (!(c == '\n' && m_lastWasCr))
            endLine();
        m_lastWasCr = c == '\r';
        return;
    }
    m_lastWasCr = false;

    switch (m_kind) {
    case LineKind::Start:
        if (isBlank(c))
            return;
        m_name.clear();
        if (c == '[') {
            m_kind = LineKind::Section;
            m_sectionAtClose.clear();
            m_sawClose = false;
            m_trailNext = false;
            return;
        }
        m_kind = LineKind::Key;
        [[fallthrough]];
    case LineKind::Key:
        // "=" is never the second byte of a double-byte character.
        if (c == '=') {
            m_target = wantedTarget();
            if (m_target) {
                emptyKeepingMemory(m_target->value);
                emptyKeepingMemory(m_target->pendingBlanks);
                m_target->overflow = false;
                m_kind = LineKind::Value;
            } else {
                m_kind = LineKind::Ignored;
            }
            return;
        }
        m_name.add(c);
        return;
    case LineKind::Section:
        sectionBytes(&c, &c + 1);
        return;
    case LineKind::Value:
        addValueBytes(QByteArrayView(&c, 1));
        return;
    case LineKind::Ignored:
        if (m_target)
            noteValueTail(QByteArrayView(&c, 1));
        return;
    }
}

void ProfileScanner::sectionBytes(const char *from, const char *to)
{
    // The name runs to the last "]" of the line that is not the second byte of a double-byte
    // character. Without a double-byte character begun or in the run (the usual case), every
    // "]" counts, so only the last one matters.
    if (!m_trailNext) {
        bool plain = true;
        for (const char *p = from; p < to && !m_utf8; ++p) {
            if (static_cast<unsigned char>(*p) >= 0x81) {
                plain = false;
                break;
            }
        }
        if (plain) {
            for (const char *p = to; p > from;) {
                if (*--p == ']') {
                    m_name.add(from, p);
                    m_sectionAtClose = m_name;
                    m_sawClose = true;
                    from = p;
                    break;
                }
            }
            m_name.add(from, to);
            return;
        }
    }
    for (; from < to; ++from) {
        const char c = *from;
        if (m_trailNext) {
            m_trailNext = false;
        } else if (!m_utf8 && isShiftJisLeadByte(c)) {
            m_trailNext = true;
        } else if (c == ']') {
            m_sectionAtClose = m_name;
            m_sawClose = true;
        }
        m_name.add(c);
    }
}

void ProfileScanner::addValueBytes(QByteArrayView run)
{
    Target &t = *m_target;
    // Leading blanks of the value are dropped; trailing ones are held back until something
    // follows them, so the value is trimmed exactly however the line is split.
    if (t.value.isEmpty()) {
        qsizetype skip = 0;
        while (skip < run.size() && isBlank(run[skip]))
            ++skip;
        run = run.sliced(skip);
    }
    qsizetype filled = run.size();
    while (filled > 0 && isBlank(run[filled - 1]))
        --filled;
    // An opening quote and one byte beyond the limit are kept too, so that the cut can tell
    // where a character ends after the quote is dropped.
    constexpr qsizetype Keep = ProfileRules::MaxValueBytes + 2;
    auto holdBlanks = [&t](QByteArrayView blanks) {
        if (!blanks.isEmpty())
            t.pendingBlanks.append(blanks.first(
                std::min(blanks.size(), Keep - t.value.size() - t.pendingBlanks.size())));
    };
    if (filled == 0) {
        holdBlanks(run);
        return;
    }
    if (!t.pendingBlanks.isEmpty()) {
        t.value.append(t.pendingBlanks);
        t.pendingBlanks.clear();
    }
    const qsizetype room = Keep - t.value.size();
    t.value.append(run.first(std::min(filled, room)));
    if (filled > room)
        noteValueTail(run.sliced(room, filled - room));
    holdBlanks(run.sliced(filled));
    // Nothing later on the line can change the kept bytes; only its last byte is looked at,
    // for a closing quote.
    if (t.value.size() >= Keep)
        m_kind = LineKind::Ignored;
}

void ProfileScanner::noteValueTail(QByteArrayView run)
{
    for (qsizetype i = run.size(); i > 0; --i) {
        if (!isBlank(run[i - 1])) {
            m_target->overflow = true;
            m_target->lastByte = run[i - 1];
            return;
        }
    }
}

ProfileScanner::Target *ProfileScanner::wantedTarget()
{
    if (m_section < 0)
        return nullptr;
    for (int i = 0; i < m_targetCount; ++i) {
        Target &target = m_targets[size_t(i)];
        if (target.section == m_section && !target.done && m_name.equalsIgnoringCase(target.key))
            return &target;
    }
    return nullptr;
}

void ProfileScanner::endLine()
{
    if (m_kind == LineKind::Value || (m_kind == LineKind::Ignored && m_target)) {
        m_target->done = true; // the first key of a name wins
    } else if (m_kind == LineKind::Section && m_sawClose) {
        // A new section closes the current one for good.
        for (int i = 0; i < m_targetCount; ++i) {
            if (m_targets[size_t(i)].section == m_section)
                m_targets[size_t(i)].done = true;
        }
        m_section = -1;
        for (int s = 0; s < m_sectionCount; ++s) {
            SectionName &section = m_sectionNames[size_t(s)];
            if (!section.seen && m_sectionAtClose.equalsIgnoringCase(section.name)) {
                section.seen = true;
                m_section = s;
                break;
            }
        }
    }
    m_kind = LineKind::Start;
    m_target = nullptr;
    m_trailNext = false;
}
