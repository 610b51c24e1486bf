// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "generate/ShortcutReader.h"

#include "platform/ProfileQuotes.h"
#include "generate/UrlText.h"
#include "platform/PosixFile.h"
#include "platform/ShiftJis.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char Utf8Mark[3] = {'\xEF', '\xBB', '\xBF'};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

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

inline void ShortcutReader::ShortText::add(char c)
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

void ShortcutReader::ShortText::add(const char *from, const char *to)
{
    for (; from < to && !tooLong; ++from)
        add(*from);
}

bool ShortcutReader::ShortText::equalsIgnoringCase(QByteArrayView name) const
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

void ShortcutReader::feed(QByteArrayView bytes)
{
    // The byte-order mark is looked for in the first bytes, which may come in separate pieces:
    // UTF-8's three, or UTF-16's two in either order.
    while (m_atFileStart && !bytes.isEmpty()) {
        m_head[m_headSize++] = bytes.front();
        bytes = bytes.sliced(1);
        const QByteArrayView head(m_head, m_headSize);
        if (head == QByteArrayView(Utf8Mark, 3)) {
            m_utf8 = true;
            m_atFileStart = false;
        } else if (head == "\xFF\xFE" || head == "\xFE\xFF") {
            // Read as UTF-8 made from it, so every rule below holds for it unchanged.
            m_utf16.emplace(head[0] == '\xFF' ? QStringConverter::Utf16LE
                                              : QStringConverter::Utf16BE);
            m_utf8 = true;
            m_atFileStart = false;
        } else if (!QByteArrayView(Utf8Mark, 3).startsWith(head) && head != "\xFF" &&
                   head != "\xFE") {
            m_atFileStart = false;
            scan(head);
        }
    }
    if (!m_utf16) {
        scan(bytes);
        return;
    }
    // A piece may end between the two halves of a surrogate pair: the first half waits for
    // the second.
    QString text = m_heldSurrogate + QString(m_utf16->decode(bytes));
    m_heldSurrogate.clear();
    if (!text.isEmpty() && text.back().isHighSurrogate()) {
        m_heldSurrogate = text.back();
        text.chop(1);
    }
    scan(text.toUtf8());
}

void ShortcutReader::scan(QByteArrayView bytes)
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

void ShortcutReader::finish()
{
    if (m_atFileStart) {
        m_atFileStart = false;
        scan(QByteArrayView(m_head, m_headSize));
    }
    if (!m_heldSurrogate.isEmpty())
        scan(m_heldSurrogate.toUtf8());
    m_heldSurrogate.clear();
    endLine();
    // The end of the file closes whatever section was open.
    m_url.done = true;
    m_wideUrl.done = true;
    m_comment.done = true;
}

QByteArrayView ShortcutReader::unquoted(const Target &target)
{
    const QByteArrayView value(target.value);
    if (!target.overflow)
        return withoutEnclosingQuotes(value);
    // Only the opening quote is among the kept bytes; the closing one goes with the cut.
    return isQuotePair(value.front(), target.lastByte) ? value.sliced(1) : value;
}

std::optional<QByteArray> ShortcutReader::wideUrl() const
{
    // UTF-7 is ASCII, so the cut cannot fall inside a byte sequence; one that falls inside an
    // encoded run makes the text malformed.
    const QByteArrayView value =
        unquoted(m_wideUrl).first(std::min<qsizetype>(unquoted(m_wideUrl).size(), MaxValueBytes));
    if (value.isEmpty())
        return std::nullopt;
    QStringDecoder utf7("UTF-7");
    const QString url = utf7.decode(value);
    if (!utf7.isValid() || utf7.hasError())
        return std::nullopt;
    return percentEncodedUrl(url);
}

ShortcutReader::ValueViews ShortcutReader::valueViews()
{
    auto cut = [this](const Target &target, QByteArray &converted) {
        const QByteArrayView value = unquoted(target);
        const QByteArrayView kept = value.first(wholeCharacterPrefix(value, MaxValueBytes, m_utf8));
        if (!m_utf8)
            return kept;
        converted = toShiftJis(QString::fromUtf8(kept));
        return QByteArrayView(converted);
    };
    if (std::optional<QByteArray> url = wideUrl()) {
        m_convertedUrl = std::move(*url);
        return {m_convertedUrl, cut(m_comment, m_convertedComment)};
    }
    return {cut(m_url, m_convertedUrl), cut(m_comment, m_convertedComment)};
}

void ShortcutReader::reset()
{
    // Every state goes back to where a new reader starts (a member added to the reader is reset
    // here too); the values' memory is kept. The converted values are made anew when needed.
    for (Target *target : {&m_url, &m_wideUrl, &m_comment}) {
        emptyKeepingMemory(target->value);
        emptyKeepingMemory(target->pendingBlanks);
        target->overflow = false;
        target->seenSection = false;
        target->done = false;
    }
    m_section = Section::None;
    m_kind = LineKind::Start;
    m_name.clear();
    m_sectionAtClose.clear();
    m_sawClose = false;
    m_trailNext = false;
    m_target = nullptr;
    m_atFileStart = true;
    m_headSize = 0;
    m_utf16.reset();
    m_heldSurrogate.clear();
    m_utf8 = false;
    m_lastWasCr = false;
}

void ShortcutReader::byte(char c)
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

void ShortcutReader::sectionBytes(const char *from, const char *to)
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

void ShortcutReader::addValueBytes(QByteArrayView run)
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
    constexpr qsizetype Keep = MaxValueBytes + 2;
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

void ShortcutReader::noteValueTail(QByteArrayView run)
{
    for (qsizetype i = run.size(); i > 0; --i) {
        if (!isBlank(run[i - 1])) {
            m_target->overflow = true;
            m_target->lastByte = run[i - 1];
            return;
        }
    }
}

ShortcutReader::Target *ShortcutReader::wantedTarget()
{
    if (m_section == Section::Shortcut && !m_url.done && m_name.equalsIgnoringCase("URL"))
        return &m_url;
    if (m_section == Section::WideShortcut && !m_wideUrl.done && m_name.equalsIgnoringCase("URL"))
        return &m_wideUrl;
    if (m_section == Section::Comment && !m_comment.done && m_name.equalsIgnoringCase("Comment"))
        return &m_comment;
    return nullptr;
}

void ShortcutReader::endLine()
{
    if (m_kind == LineKind::Value || (m_kind == LineKind::Ignored && m_target)) {
        m_target->done = true; // the first key of a name wins
    } else if (m_kind == LineKind::Section && m_sawClose) {
        // A new section closes the current one for good.
        if (m_section == Section::Shortcut)
            m_url.done = true;
        else if (m_section == Section::WideShortcut)
            m_wideUrl.done = true;
        else if (m_section == Section::Comment)
            m_comment.done = true;
        m_section = Section::Other;
        if (m_sectionAtClose.equalsIgnoringCase("InternetShortcut") && !m_url.seenSection) {
            m_url.seenSection = true;
            m_section = Section::Shortcut;
        } else if (m_sectionAtClose.equalsIgnoringCase("InternetShortcut.W") &&
                   !m_wideUrl.seenSection) {
            m_wideUrl.seenSection = true;
            m_section = Section::WideShortcut;
        } else if (m_sectionAtClose.equalsIgnoringCase("Comment") && !m_comment.seenSection) {
            m_comment.seenSection = true;
            m_section = Section::Comment;
        }
    }
    m_kind = LineKind::Start;
    m_target = nullptr;
    m_trailNext = false;
}

bool ShortcutReader::read(const char *nativePath, int folderFd)
{
    const int fd = ::openat(folderFd, nativePath, OpenFlags);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return false;
        finish(); // there, but unreadable: no values, as the profile reader gives
        return true;
    }
    readOpen(fd);
    return true;
}

void ShortcutReader::readOpen(int fd)
{
    char buffer[16384];
    bool regular = false;
    for (;;) {
        const ssize_t n = readRetrying(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        feed(QByteArrayView(buffer, n));
        // A regular file returns less than asked only at its end; stopping there saves a read
        // per file. Nothing after both values can change them either.
        if (n < qsizetype(sizeof buffer) || isComplete())
            break;
        // A file that goes on is read on only when it is a regular file, which ends: a device
        // put in place of the listed file (a link to /dev/zero) would never end. Looked at
        // once, and only for files this large, so the usual small file costs nothing more.
        if (!regular) {
            struct stat status;
            if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
                break;
            regular = true;
        }
    }
    ::close(fd);
    finish();
}
