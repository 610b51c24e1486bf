// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// The private-profile file: any file loads and is kept byte for byte, and a write reads back.
//
// Input: a section name, a key name, a value and the initial file, taken from the data in that
// order. Properties:
// - loading any file succeeds and contents() gives the file's bytes back unchanged;
// - after write(section, key, value), a fresh load of the file gives the value back (blanks at
//   its ends trimmed, CR and LF turned into blanks), cut to at most 2047 bytes at a character
//   boundary and at most one character short of that;
// - every other line of the file is still there, in its order: the write replaced one key line
//   in place, or added one key line, or added a section and its key at the end.

#include "FuzzSupport.h"

#include "platform/ProfileRules.h"
#include "platform/ShiftJis.h"
#include "settings/ProfileFile.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

// Names the program itself uses, so the fuzzer meets existing sections and keys often.
const char *const KnownNames[] = {"Document", "FavoriteFolder", "InternetShortcut",
                                  "URL",      "Comment",        "Link",
                                  "Title",    "BackColor"};

// A section or key name that a profile line can hold: printable ASCII without "[", "]" and "="
// and not starting with a blank. Empty when the data gives none.
QString consumeName(FuzzedDataProvider &data)
{
    const auto choice = data.ConsumeIntegral<quint8>();
    if (choice < std::size(KnownNames) * 16)
        return QString::fromLatin1(KnownNames[choice % std::size(KnownNames)]);
    QString name;
    for (char c : data.ConsumeRandomLengthString(24)) {
        if (c >= 0x21 && c <= 0x7E && c != '[' && c != ']' && c != '=')
            name += QLatin1Char(c);
    }
    return name;
}

QByteArray encodeFor(bool utf8, const QString &text)
{
    return utf8 ? text.toUtf8() : toShiftJis(text);
}

QByteArrayView trimBlanks(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && (bytes.front() == ' ' || bytes.front() == '\t'))
        bytes = bytes.sliced(1);
    while (!bytes.isEmpty() && (bytes.back() == ' ' || bytes.back() == '\t'))
        bytes.chop(1);
    return bytes;
}

QList<FuzzLine> linesOf(QByteArrayView contents)
{
    if (contents.startsWith("\xEF\xBB\xBF"))
        contents = contents.sliced(3);
    return splitLines(contents);
}

void dumpLines(const char *title, const QList<FuzzLine> &lines)
{
    std::fprintf(stderr, "%s:\n", title);
    for (const FuzzLine &line : lines)
        std::fprintf(stderr, "  %s | %s\n", line.text.toHex(' ').constData(),
                     line.ending.toHex(' ').constData());
}

void checkOtherLinesKept(QList<FuzzLine> before, const QList<FuzzLine> &after, bool transcoded)
{
    // On a failure the lines are shown, so the input needs no further tools to understand.
    if (qEnvironmentVariableIsSet("TALVENSA_FUZZ_VERBOSE")) {
        dumpLines("before", before);
        dumpLines("after", after);
    }
    if (transcoded) {
        // Lines that are not valid Shift-JIS keep their bytes.
        for (FuzzLine &line : before) {
            if (isValidShiftJis(line.text))
                line.text = fromShiftJis(line.text).toUtf8();
        }
    }
    auto endingKept = [](const FuzzLine &old, const FuzzLine &now) {
        // A last line without a line end gets one when a line is put after it.
        return old.ending == now.ending || (old.ending.isEmpty() && now.ending == "\r\n");
    };
    const qsizetype added = after.size() - before.size();
    if (added == 0) {
        // One key line may have its value replaced; what comes before "=" stays.
        int replaced = 0;
        for (qsizetype i = 0; i < before.size(); ++i) {
            FUZZ_CHECK(endingKept(before[i], after[i]));
            if (before[i].text == after[i].text)
                continue;
            ++replaced;
            const qsizetype equals = before[i].text.indexOf('=');
            FUZZ_CHECK(equals >= 0);
            FUZZ_CHECK(after[i].text.startsWith(before[i].text.first(equals + 1)));
        }
        FUZZ_CHECK(replaced <= 1);
    } else if (added == 1) {
        // One key line inserted somewhere; everything else unchanged.
        qsizetype skip = 0;
        while (skip < before.size() && before[skip].text == after[skip].text)
            ++skip;
        for (qsizetype i = 0; i < before.size(); ++i) {
            const FuzzLine &now = after[i < skip ? i : i + 1];
            FUZZ_CHECK(before[i].text == now.text);
            FUZZ_CHECK(endingKept(before[i], now));
        }
    } else {
        // A new section and its key at the end.
        FUZZ_CHECK(added == 2);
        for (qsizetype i = 0; i < before.size(); ++i) {
            FUZZ_CHECK(before[i].text == after[i].text);
            FUZZ_CHECK(endingKept(before[i], after[i]));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const QString section = consumeName(data);
    const QString key = consumeName(data);
    const bool valueAsUtf8 = data.ConsumeBool();
    const std::string rawValue = data.ConsumeRandomLengthString(3000);
    const QString value = valueAsUtf8
                              ? QString::fromUtf8(rawValue.data(), rawValue.size())
                              : fromShiftJis(QByteArrayView(rawValue.data(), rawValue.size()));
    const std::vector<uint8_t> initial = data.ConsumeRemainingBytes<uint8_t>();
    const QByteArrayView initialBytes(initial.data(), initial.size());

    const QString path = fuzzScratchDir().filePath(QStringLiteral("talvensa.ini"));
    writeWholeFile(path, initialBytes);

    ProfileFile file(path);
    FUZZ_CHECK(file.load());
    FUZZ_CHECK(file.contents() == initialBytes);
    // Reading any key of a loaded file is safe.
    (void)file.value(section, key);

    if (section.isEmpty() || key.isEmpty())
        return 0;
    const bool wasUtf8 = file.isUtf8();
    FUZZ_CHECK(file.write(section, key, value));
    const QByteArray written = readWholeFile(path);
    FUZZ_CHECK(written == file.contents());

    ProfileFile reread(path);
    FUZZ_CHECK(reread.load());
    FUZZ_CHECK(reread.contents() == written);
    FUZZ_CHECK(reread.isUtf8() == file.isUtf8());
    const std::optional<QString> got = reread.value(section, key);
    FUZZ_CHECK(got.has_value());

    QString clean = value;
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray whole = trimBlanks(encodeFor(reread.isUtf8(), clean)).toByteArray();
    const QByteArray gotBytes = encodeFor(reread.isUtf8(), *got);
    if (qEnvironmentVariableIsSet("TALVENSA_FUZZ_VERBOSE")) {
        std::fprintf(stderr, "section %s key %s utf8 %d\nwritten %s\nexpected %s\ngot %s\n",
                     qPrintable(section), qPrintable(key), reread.isUtf8(),
                     written.toHex(' ').constData(), whole.toHex(' ').constData(),
                     gotBytes.toHex(' ').constData());
    }
    FUZZ_CHECK(gotBytes.size() <= ProfileRules::MaxValueBytes);
    FUZZ_CHECK(whole.startsWith(gotBytes));
    if (whole.size() <= ProfileRules::MaxValueBytes)
        FUZZ_CHECK(gotBytes.size() == whole.size());
    else
        FUZZ_CHECK(gotBytes.size() >= ProfileRules::MaxValueBytes - (reread.isUtf8() ? 3 : 1));

    checkOtherLinesKept(linesOf(initialBytes), linesOf(written), !wasUtf8 && reread.isUtf8());
    return 0;
}
