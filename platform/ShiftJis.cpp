// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <memory>
#include <vector>

namespace {

// Every code of the page, each followed by a line feed: the one-byte katakana, then every lead
// byte with every trail byte. A line feed is never part of a double-byte character, so it
// marks where the converter's answer for one code ends.
QByteArray everyCodeOnItsOwnLine()
{
    QByteArray codes;
    codes.reserve(60 * 188 * 3 + 64 * 2);
    for (unsigned b = 0xA1; b <= 0xDF; ++b) {
        codes += char(b);
        codes += '\n';
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isShiftJisLeadByte(char(lead)))
            continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            codes += char(lead);
            codes += char(trail);
            codes += '\n';
        }
    }
    return codes;
}

// The pieces of a text between its line feeds (the last one ends the text), as views into it.
template <typename View, typename Char> std::vector<View> splitLines(View text, Char lineFeed)
{
    std::vector<View> pieces;
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == lineFeed) {
            pieces.push_back(text.sliced(from, i - from));
            from = i + 1;
        }
    }
    return pieces;
}

// One table from UTF-16 code unit to code page bytes, built once from the system's converter.
// Encoding then costs one lookup per character, which matters on trees of many thousand names.
// 0 means "not in the code page"; a single byte b is stored as b | 0x10000 so that NUL and
// the ASCII range are told apart from the empty entry.
//
// Every code of the page is decoded; the character it gives is encoded again, and the
// converter's answer is kept when it decodes back to that character. Where several codes stand
// for one character (the duplicated extension rows) this keeps the one that the converter
// writes, and one-way fallbacks never enter the table. The converter is asked about all codes
// in three calls rather than three per code, which keeps start-up short.
class EncodeTable
{
public:
    EncodeTable() : m_table(std::make_unique<std::array<quint32, 0x10000>>())
    {
        m_table->fill(0);
        QStringDecoder decoder("windows-31j", QStringDecoder::Flag::Stateless);
        QStringEncoder encoder("windows-31j", QStringEncoder::Flag::Stateless);

        // The characters that some code decodes to, once each.
        const QString decoded = decoder.decode(everyCodeOnItsOwnLine());
        std::vector<char16_t> characters;
        QString candidates;
        for (const QStringView piece : splitLines(QStringView(decoded), QLatin1Char('\n'))) {
            if (piece.size() != 1 || piece[0] == QChar::ReplacementCharacter ||
                piece[0].isSurrogate() || piece[0].unicode() < 0x80)
                continue;
            const char16_t c = piece[0].unicode();
            if ((*m_table)[c] != 0)
                continue;
            (*m_table)[c] = 1; // seen; the real entry is set below
            characters.push_back(c);
            candidates += QChar(c);
            candidates += QLatin1Char('\n');
        }
        for (const char16_t c : characters)
            (*m_table)[c] = 0;

        // Each one encoded, and the answer decoded once more to check that it leads back.
        const QByteArray answers = encoder.encode(candidates);
        const std::vector<QByteArrayView> encoded = splitLines(QByteArrayView(answers), '\n');
        const QString answersDecoded = decoder.decode(answers);
        const std::vector<QStringView> backAgain =
            splitLines(QStringView(answersDecoded), QLatin1Char('\n'));
        if (encoded.size() != characters.size() || backAgain.size() != characters.size()) {
            fillOneByOne(decoder, encoder, characters);
            return;
        }
        for (size_t i = 0; i < characters.size(); ++i)
            keep(characters[i], encoded[i], backAgain[i]);
    }

    quint32 lookup(char16_t c) const { return (*m_table)[c]; }
    const quint32 *data() const { return m_table->data(); }

private:
    // The same checks asked of the converter character by character, for a converter whose
    // answers do not keep to one line per character.
    void fillOneByOne(QStringDecoder &decoder, QStringEncoder &encoder,
                      const std::vector<char16_t> &characters)
    {
        for (const char16_t c : characters) {
            const QByteArray back = encoder.encode(QStringView(&c, 1));
            keep(c, back, QString(decoder.decode(back)));
        }
    }

    void keep(char16_t c, QByteArrayView back, QStringView backDecoded)
    {
        if (back.isEmpty() || back.size() > 2 || backDecoded != QStringView(&c, 1))
            return;
        const auto b0 = static_cast<unsigned char>(back[0]);
        (*m_table)[c] = back.size() == 1
                            ? (b0 | 0x10000u)
                            : ((quint32(b0) << 8) | static_cast<unsigned char>(back[1]));
    }

    std::unique_ptr<std::array<quint32, 0x10000>> m_table;
};

const EncodeTable &encodeTable()
{
    static const EncodeTable table;
    return table;
}

void appendReference(QByteArray &out, char32_t codePoint)
{
    out += "&#";
    out += QByteArray::number(quint32(codePoint));
    out += ';';
}

} // namespace

void appendShiftJis(QByteArray &out, QStringView text)
{
    const EncodeTable &table = encodeTable();
    const qsizetype n = text.size();
    // A code unit gives at most two bytes unless it becomes a numeric reference, so room for two
    // per unit is made first and the bytes are written straight into it; a reference (rare)
    // goes through an ordinary append, after which room is made again for what is left.
    qsizetype written = out.size();
    out.resize(written + 2 * n);
    char *p = out.data() + written;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            *p++ = char(c);
            continue;
        }
        const quint32 code = table.lookup(c);
        if (code & 0x10000) {
            *p++ = char(code & 0xFF);
        } else if (code != 0) {
            *p++ = char(code >> 8);
            *p++ = char(code & 0xFF);
        } else {
            out.resize(p - out.constData());
            if (QChar::isHighSurrogate(c) && i + 1 < n &&
                QChar::isLowSurrogate(text[i + 1].unicode())) {
                appendReference(out, QChar::surrogateToUcs4(c, text[i + 1].unicode()));
                ++i;
            } else {
                appendReference(out, c);
            }
            written = out.size();
            out.resize(written + 2 * (n - i - 1));
            p = out.data() + written;
        }
    }
    out.resize(p - out.constData());
}

const quint32 *shiftJisTable()
{
    return encodeTable().data();
}

QByteArray toShiftJis(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    appendShiftJis(out, text);
    return out;
}

bool fitsShiftJis(QStringView text)
{
    const EncodeTable &table = encodeTable();
    for (QChar c : text) {
        if (c.unicode() >= 0x80 && table.lookup(c.unicode()) == 0)
            return false;
    }
    return true;
}

namespace {

// The system's converter for this code page follows IBM's table for three control codes: it
// reads 0x1A as U+001C, 0x1C as U+007F and 0x7F as U+001A, where code page 932 (and our encoder)
// has each of them stand for itself. Their text is put right here. U+001A is also what the
// converter gives for an invalid byte, so 0x7F (never part of a double-byte character) ends the
// piece handed to the converter, and the U+001A it gives for it becomes U+007F.
QString decodeControlCodesAsThemselves(QStringDecoder &decoder, QByteArrayView bytes)
{
    QString out;
    while (!bytes.isEmpty()) {
        const qsizetype del = bytes.indexOf('\x7F');
        const QByteArrayView piece = del < 0 ? bytes : bytes.first(del + 1);
        bytes = bytes.sliced(piece.size());
        QString text = decoder.decode(piece);
        for (QChar &c : text) {
            if (c == QChar(0x1C))
                c = QChar(0x1A);
            else if (c == QChar(0x7F))
                c = QChar(0x1C);
        }
        if (del >= 0 && !text.isEmpty())
            text.back() = QChar(0x7F);
        out += text;
    }
    return out;
}

} // namespace

namespace {

// The code page's decoder, made once for each thread that decodes: making one costs more than
// decoding a whole value, and a page decodes a great many. Fresh for every use.
QStringDecoder &shiftJisDecoder()
{
    thread_local std::unique_ptr<QStringDecoder> decoder;
    // Qt's reset keeps the error of an earlier decode, which would then count against every
    // later one: after an error (rare) a new decoder takes the old one's place. (A decoder
    // assigned over another does not report errors at all, so a new one is made in place.)
    if (decoder)
        decoder->resetState();
    if (!decoder || decoder->hasError())
        decoder = std::make_unique<QStringDecoder>("windows-31j", QStringDecoder::Flag::Stateless);
    return *decoder;
}

} // namespace

QString fromShiftJis(QByteArrayView bytes)
{
    QStringDecoder &decoder = shiftJisDecoder();
    for (char c : bytes) {
        if (c == '\x1A' || c == '\x1C' || c == '\x7F')
            return decodeControlCodesAsThemselves(decoder, bytes);
    }
    return decoder.decode(bytes);
}

bool isValidShiftJis(QByteArrayView bytes)
{
    QStringDecoder &decoder = shiftJisDecoder();
    // decode() is lazy: the conversion runs when its result becomes a QString.
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

qsizetype wholeCharacterPrefix(QByteArrayView bytes, qsizetype limit, bool utf8)
{
    if (bytes.size() <= limit)
        return bytes.size();
    if (utf8) {
        qsizetype n = limit;
        while (n > 0 && (static_cast<unsigned char>(bytes[n]) & 0xC0) == 0x80)
            --n;
        return n;
    }
    qsizetype n = 0;
    while (n < limit) {
        const qsizetype width = isShiftJisLeadByte(bytes[n]) ? 2 : 1;
        if (n + width > limit)
            break;
        n += width;
    }
    return n;
}
