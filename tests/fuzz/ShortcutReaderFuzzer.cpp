// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// The shortcut-file reader (URL and Comment of an Internet shortcut).
//
// Input: the file's bytes; the last byte of the data picks how the file is cut into pieces.
// Properties:
// - the values do not depend on how the file is cut into the pieces fed to the reader;
// - a value of a Shift-JIS file holds at most 2047 bytes of the file and never ends inside a
//   character (the page bytes are the file's bytes); a file with a UTF-8 or UTF-16 byte-order
//   mark is turned into page bytes, which may be longer;
// - once the reader says it is complete, nothing later in the file changes the values;
// - the reader agrees with the settings-file reader (ProfileFile), which follows the same
//   profile rules in a different way, on files that are valid Shift-JIS, or valid UTF-8 after a
//   byte-order mark.

#include "FuzzSupport.h"

#include "model/Link.h"
#include "outputs/ClassicPage.h"
#include "sources/ShortcutReader.h"
#include "platform/ProfileRules.h"
#include "platform/ShiftJis.h"
#include "settings/ProfileFile.h"

namespace {

// The two values as the page gets them: the link the reader's values make, in the classic
// page's bytes.
struct Values
{
    QByteArray url;
    QByteArray comment;
};

Values valuesOf(ShortcutReader &reader)
{
    Link link;
    ShortcutReader::fillLink(reader.valueViews(), link);
    QByteArray scratch;
    const QByteArray url = ClassicPage::addressBytes(link, scratch).toByteArray();
    return {url, ClassicPage::commentBytes(link, scratch).toByteArray()};
}

Values readInPieces(QByteArrayView file, unsigned pieceSeed)
{
    ShortcutReader reader;
    // Piece lengths from a small generator, so every cut position turns up, one byte included.
    quint32 state = pieceSeed * 2654435761u + 1;
    qsizetype at = 0;
    while (at < file.size()) {
        state = state * 1664525u + 1013904223u;
        const qsizetype length = std::min<qsizetype>(file.size() - at, 1 + (state >> 24) % 37);
        reader.feed(file.sliced(at, length));
        at += length;
    }
    reader.finish();
    return valuesOf(reader);
}

Values readWhole(QByteArrayView file, bool *completeEarly)
{
    ShortcutReader reader;
    reader.feed(file);
    reader.finish();
    // Where the reader first says it is complete, reading stops; the values must be the same.
    ShortcutReader partial;
    *completeEarly = false;
    for (qsizetype at = 0; at < file.size(); at += 64) {
        partial.feed(file.sliced(at, std::min<qsizetype>(64, file.size() - at)));
        if (partial.isComplete()) {
            *completeEarly = true;
            break;
        }
    }
    partial.finish();
    const Values whole = valuesOf(reader);
    const Values stopped = valuesOf(partial);
    FUZZ_CHECK(whole.url == stopped.url);
    FUZZ_CHECK(whole.comment == stopped.comment);
    return whole;
}

bool isShiftJisLead(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// True when the Shift-JIS bytes do not end in the middle of a double-byte character.
bool endsOnCharacter(QByteArrayView bytes)
{
    qsizetype i = 0;
    while (i < bytes.size())
        i += isShiftJisLead(bytes[i]) ? 2 : 1;
    return i == bytes.size();
}

void compareWithProfileFile(QByteArrayView file, const Values &values)
{
    const bool utf8 = file.startsWith("\xEF\xBB\xBF");
    if (utf8 ? !file.sliced(3).isValidUtf8() : !isValidShiftJis(file))
        return;
    // Where the two readers differ on purpose, the file is not compared: the settings reader
    // trims a section name of every kind of white space (vertical tab, form feed, U+3000 and the
    // other Unicode spaces) and compares names with Unicode case folding (U+017F and U+212A fold
    // to "s" and "k"); the shortcut reader trims blanks and tabs and ignores ASCII case only.
    static const char *const differing[] = {
        "\v",           "\f",       "\x81\x40",     "\xC2\x85",     "\xC2\xA0",    "\xC5\xBF",
        "\xE1\x9A\x80", "\xE2\x80", "\xE2\x81\x9F", "\xE2\x84\xAA", "\xE3\x80\x80"};
    for (const char *bytes : differing) {
        if (file.contains(QByteArrayView(bytes)))
            return;
    }
    const QString path = fuzzScratchDir().filePath(QStringLiteral("shortcut.url"));
    writeWholeFile(path, file);
    ProfileFile profile(path);
    FUZZ_CHECK(profile.load());
    const QString url = profile.value(u"InternetShortcut", u"URL").value_or(QString());
    const QString comment = profile.value(u"Comment", u"Comment").value_or(QString());
    // The reader takes the address from [InternetShortcut.W] when that section holds one (a
    // Unicode address in UTF-7); the settings reader knows only the plain one, so the addresses
    // are compared only when there is none.
    const bool plainAddress = !profile.value(u"InternetShortcut.W", u"URL").has_value();
    if (utf8) {
        // The reader gives the page bytes; a value that starts with U+FEFF may lose it there.
        auto same = [](const QString &expected, const QByteArray &got) {
            return toShiftJis(expected) == got ||
                   (expected.startsWith(QChar(0xFEFF)) && toShiftJis(expected.mid(1)) == got);
        };
        FUZZ_CHECK(!plainAddress || same(url, values.url));
        FUZZ_CHECK(same(comment, values.comment));
    } else {
        FUZZ_CHECK(!plainAddress || fromShiftJis(values.url) == url);
        FUZZ_CHECK(fromShiftJis(values.comment) == comment);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    if (size == 0)
        return 0;
    const unsigned pieceSeed = bytes[size - 1];
    const QByteArrayView file(bytes, size - 1);

    bool completeEarly = false;
    const Values whole = readWhole(file, &completeEarly);
    const Values pieces = readInPieces(file, pieceSeed);
    if (qEnvironmentVariableIsSet("TALVENSA_FUZZ_VERBOSE")) {
        std::fprintf(stderr, "whole url %s\npieces url %s\nwhole comment %s\npieces comment %s\n",
                     whole.url.toHex(' ').constData(), pieces.url.toHex(' ').constData(),
                     whole.comment.toHex(' ').constData(), pieces.comment.toHex(' ').constData());
    }
    FUZZ_CHECK(whole.url == pieces.url);
    FUZZ_CHECK(whole.comment == pieces.comment);

    // A file with a byte-order mark is Unicode text whose values the reader turns into page
    // bytes, numeric references included, and a Unicode address ([InternetShortcut.W], UTF-7)
    // is percent-encoded; only values that reach the page as the file's bytes are bounded by
    // the cut.
    const bool unicodeFile = file.startsWith("\xEF\xBB\xBF") || file.startsWith("\xFF\xFE") ||
                             file.startsWith("\xFE\xFF");
    const bool unicodeAddress = file.toByteArray().toLower().contains("internetshortcut.w");
    for (const QByteArray *value : {&whole.url, &whole.comment}) {
        FUZZ_CHECK(!value->contains('\r') && !value->contains('\n'));
        if (!unicodeFile && !(value == &whole.url && unicodeAddress)) {
            FUZZ_CHECK(value->size() <= ProfileRules::MaxValueBytes);
            // A cut never leaves half a character behind.
            if (isValidShiftJis(file))
                FUZZ_CHECK(endsOnCharacter(*value));
        }
    }
    compareWithProfileFile(file, whole);
    return 0;
}
