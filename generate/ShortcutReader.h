// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <fcntl.h>

// Reads the two values the page takes from an Internet shortcut file: "URL" of the section
// "InternetShortcut" and "Comment" of the section "Comment". The file is read by the same rules
// as the settings file (ProfileFile): section and key names match without regard to ASCII case,
// the first section of a name counts and the first key in it, blanks around names and values are
// trimmed, a value enclosed in one pair of matching quotes loses them, and a value is cut to 2047
// bytes, never inside a character. Lines end at CR LF, LF or
// CR. A file that starts with a UTF-8 or UTF-16 byte-order mark is read as Unicode text, and its
// values are turned into Shift-JIS for the page (numeric references for what the code page cannot
// hold). Windows keeps an address with characters outside its code page also as "URL" of the
// section "InternetShortcut.W", in UTF-7: when that value is well-formed it is the link's
// address, with what lies outside ASCII percent-encoded as UTF-8; otherwise "InternetShortcut"
// gives it.
//
// The file is fed in pieces and only the two values are kept, so memory stays small whatever the
// size of the file or of its lines. Otherwise the values stay the file's bytes, so Shift-JIS text
// reaches the page unchanged.
class ShortcutReader final
{
public:
    static constexpr int MaxValueBytes = 2047;

    void feed(QByteArrayView bytes);
    // Ends the last line; the values are final after this.
    void finish();
    // True once both values are known: nothing later in the file can change them.
    bool isComplete() const { return m_url.done && m_wideUrl.done && m_comment.done; }

    // The values, cut to MaxValueBytes, as page bytes: views into the reader, valid until it is
    // reset or fed again, as a page reads many files with one reader and copies nothing.
    struct ValueViews
    {
        QByteArrayView url;
        QByteArrayView comment;
    };
    ValueViews valueViews();

    // Starts afresh for another file, keeping the memory the values took.
    void reset();

    // Opens and reads a shortcut file without blocking (a FIFO gives no values rather than a
    // wait); the caller makes sure the path names a regular file first. A relative path is taken
    // from the folder open as folderFd (AT_FDCWD: the working folder). The reader must be fresh
    // (or reset). False when there is no such file; no values when it cannot be read. The values
    // are then those of valueViews().
    bool read(const char *nativePath, int folderFd = AT_FDCWD);
    // How read() opens a file: non-blocking, so that a FIFO put in place of the file after it
    // was listed gives an empty read instead of a wait. A device there is read no further than
    // one buffer.
    static constexpr int OpenFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    // The rest of read() for a file already opened with OpenFlags, which it closes.
    void readOpen(int fd);

private:
    enum class LineKind
    {
        Start,   // only blanks so far
        Section, // after "[" at the start
        Key,     // in the key part
        Value,   // in the value of a key we want
        Ignored, // the rest of a line that cannot matter
    };
    // What the current section is, as far as the two values go.
    enum class Section
    {
        None,
        Shortcut,
        WideShortcut, // "InternetShortcut.W"
        Comment,
        Other,
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
        QByteArray value;
        // Blanks met after the last other byte: the file's own bytes (a tab stays a tab), at
        // most as many as the value can still take.
        QByteArray pendingBlanks;
        // The value went on past the bytes kept; its last byte that is not a blank.
        bool overflow = false;
        char lastByte = 0;
        bool seenSection = false; // its section has been met (only the first one counts)
        bool done = false;
    };

    void scan(QByteArrayView bytes);
    void byte(char c);
    void sectionBytes(const char *from, const char *to);
    void endLine();
    void addValueBytes(QByteArrayView run);
    void noteValueTail(QByteArrayView run);
    // The kept bytes of a value as it is read: without its enclosing quotes, not yet cut.
    static QByteArrayView unquoted(const Target &target);
    Target *wantedTarget();
    // The URL of "InternetShortcut.W" as href bytes, when it is there and well-formed UTF-7.
    std::optional<QByteArray> wideUrl() const;

    Target m_url;
    Target m_wideUrl;
    Target m_comment;
    QByteArray m_convertedUrl; // the values of a UTF-8 file in Shift-JIS, for valueViews()
    QByteArray m_convertedComment;
    Section m_section = Section::None;
    LineKind m_kind = LineKind::Start;
    ShortText m_name;           // section name or key
    ShortText m_sectionAtClose; // section name up to the last "]" so far
    bool m_sawClose = false;
    bool m_trailNext = false; // the next byte is the second byte of a double-byte character
    Target *m_target = nullptr;
    bool m_atFileStart = true;
    char m_head[3]; // the first bytes, until they are known to be a byte-order mark or not
    int m_headSize = 0;
    std::optional<QStringDecoder> m_utf16; // a UTF-16 file, made into UTF-8 as it is fed
    QString m_heldSurrogate;
    bool m_utf8 = false;
    bool m_lastWasCr = false;
};
