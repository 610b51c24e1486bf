// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <initializer_list>

// Reads a few chosen values from the text of a private-profile (INI) file fed in pieces, by the
// rules the settings file follows too (platform/ProfileRules.h): section and key names match
// without regard to ASCII case, the first section of a name counts and the first key of a name in
// it, blanks around names and values are trimmed, a value in one pair of matching quotes loses
// them, and a value is cut to MaxValueBytes bytes, never inside a character. Lines end at CR LF,
// LF or CR. The text is in the legacy code page (Shift-JIS), or UTF-8.
//
// Only the chosen values are kept, so memory stays small whatever the size of the file or of
// its lines; the scan copies runs of bytes at a time, since a page reads a great many files.
class ProfileScanner final
{
public:
    // A value to read: its section and key names (ASCII, at most 23 bytes each).
    struct Key
    {
        const char *section;
        const char *key;
    };
    static constexpr int MaxKeys = 4;

    explicit ProfileScanner(std::initializer_list<Key> keys);

    // Whether the text is UTF-8 rather than Shift-JIS; set before the first bytes are scanned.
    void setUtf8(bool utf8) { m_utf8 = utf8; }
    bool isUtf8() const { return m_utf8; }

    void scan(QByteArrayView bytes);
    // Ends the last line; the values are final after this.
    void finish();
    // True once every value is known: nothing later in the text can change them.
    bool isComplete() const;

    // The value of the key of that index, as read: without its quotes and cut. Empty when the
    // key is not there. A view into the scanner, valid until it is reset or scans again.
    QByteArrayView value(int key) const;

    // Starts afresh for another file, keeping the memory the values took.
    void reset();

private:
    enum class LineKind
    {
        Start,   // only blanks so far
        Section, // after "[" at the start
        Key,     // in the key part
        Value,   // in the value of a key we want
        Ignored, // the rest of a line that cannot matter
    };
    // A text of at most a few bytes built with trailing blanks held back, so that trimming is
    // exact however many blanks come between.
    struct ShortText
    {
        char bytes[24];
        int size = 0;
        int pendingBlanks = 0;
        bool tooLong = false;
        void clear()
        {
            size = 0;
            pendingBlanks = 0;
            tooLong = false;
        }
        void add(char c);
        void add(const char *from, const char *to);
        bool equalsIgnoringCase(QByteArrayView name) const;
    };
    struct Target
    {
        QByteArrayView key;
        int section = 0; // index into m_sectionNames
        QByteArray value;
        // Blanks met after the last other byte: the file's own bytes (a tab stays a tab), at
        // most as many as the value can still take.
        QByteArray pendingBlanks;
        // The value went on past the bytes kept; its last byte that is not a blank.
        bool overflow = false;
        char lastByte = 0;
        bool done = false;
    };
    struct SectionName
    {
        QByteArrayView name;
        bool seen = false; // only the first section of a name counts
    };

    void byte(char c);
    void sectionBytes(const char *from, const char *to);
    void endLine();
    void addValueBytes(QByteArrayView run);
    void noteValueTail(QByteArrayView run);
    Target *wantedTarget();

    std::array<Target, MaxKeys> m_targets;
    int m_targetCount = 0;
    std::array<SectionName, MaxKeys> m_sectionNames;
    int m_sectionCount = 0;
    int m_section = -1; // the current section's index; -1 before any, or another section
    LineKind m_kind = LineKind::Start;
    ShortText m_name;           // section name or key
    ShortText m_sectionAtClose; // section name up to the last "]" so far
    bool m_sawClose = false;
    bool m_trailNext = false; // the next byte is the second byte of a double-byte character
    Target *m_target = nullptr;
    bool m_utf8 = false;
    bool m_lastWasCr = false;
};
