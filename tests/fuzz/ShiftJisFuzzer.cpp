// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// The Shift-JIS codec (code page 932).
//
// The data is taken twice: as UTF-16 code units (so unpaired surrogates and every character of
// the Basic Multilingual Plane turn up) and as Shift-JIS bytes. Properties:
// - encoding never loses a character: decoding the bytes gives the text back, except that each
//   character the code page cannot hold appears as its decimal numeric reference "&#N;";
// - fitsShiftJis says true exactly when no reference was needed;
// - appendShiftJis adds to what is there the same bytes toShiftJis gives;
// - decoding any bytes is safe, and text that came out of the decoder goes through the encoder
//   and back unchanged when it fits the code page.

#include "FuzzSupport.h"

#include "platform/ShiftJis.h"

#include <QStringDecoder>

namespace {

bool holdsReference(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() >= 0x80 && !fitsShiftJis(QStringView(&c, 1)))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    QString text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text += QChar(char16_t(bytes[i] | (bytes[i + 1] << 8)));

    const QByteArray encoded = toShiftJis(text);
    const QString decoded = fromShiftJis(encoded);
    FUZZ_CHECK(decoded == expectedShiftJisText(text));
    FUZZ_CHECK(fitsShiftJis(text) == !holdsReference(text));

    QByteArray appended("prefix");
    appendShiftJis(appended, text);
    FUZZ_CHECK(appended == "prefix" + encoded);

    const QByteArrayView raw(bytes, size);
    const QString fromBytes = fromShiftJis(raw);
    if (fitsShiftJis(fromBytes))
        FUZZ_CHECK(fromShiftJis(toShiftJis(fromBytes)) == fromBytes);
    return 0;
}
