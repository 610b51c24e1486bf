#include "platform/ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <memory>

namespace {

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// One table from UTF-16 code unit to code page bytes, built once from the system's converter.
// Encoding then costs one lookup per character, which matters on trees of many thousand names.
// 0 means "not in the code page"; a single byte b is stored as b | 0x10000 so that NUL and
// the ASCII range are told apart from the empty entry.
class EncodeTable
{
public:
    EncodeTable() : m_table(std::make_unique<std::array<quint32, 0x10000>>())
    {
        m_table->fill(0);
        QStringDecoder decoder("windows-31j", QStringDecoder::Flag::Stateless);
        QStringEncoder encoder("windows-31j", QStringEncoder::Flag::Stateless);
        // Every code of the page is decoded; the character it gives is encoded again, and the
        // converter's answer is kept when it decodes back to that character. Where several codes
        // stand for one character (the duplicated extension rows) this keeps the one that the
        // converter writes, and one-way fallbacks never enter the table.
        auto consider = [&](QByteArrayView bytes) {
            const QString decoded = decoder.decode(bytes);
            if (decoded.size() != 1 || decoded[0] == QChar::ReplacementCharacter ||
                decoded[0].isSurrogate())
                return;
            const char16_t c = decoded[0].unicode();
            if (c < 0x80 || (*m_table)[c] != 0)
                return;
            const QByteArray back = encoder.encode(QStringView(&c, 1));
            if (back.isEmpty() || back.size() > 2 || decoder.decode(back) != decoded)
                return;
            const auto b0 = static_cast<unsigned char>(back[0]);
            (*m_table)[c] = back.size() == 1
                                ? (b0 | 0x10000u)
                                : ((quint32(b0) << 8) | static_cast<unsigned char>(back[1]));
        };
        for (unsigned b = 0xA1; b <= 0xDF; ++b) {
            const char c = char(b);
            consider(QByteArrayView(&c, 1));
        }
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(lead))
                continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F)
                    continue;
                const char pair[2] = {char(lead), char(trail)};
                consider(QByteArrayView(pair, 2));
            }
        }
    }

    quint32 lookup(char16_t c) const { return (*m_table)[c]; }

private:
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
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            appendReference(out, QChar::surrogateToUcs4(c, text[i + 1].unicode()));
            ++i;
            continue;
        }
        const quint32 code = table.lookup(c);
        if (code == 0) {
            appendReference(out, c);
        } else if (code & 0x10000) {
            out += char(code & 0xFF);
        } else {
            out += char(code >> 8);
            out += char(code & 0xFF);
        }
    }
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

QString fromShiftJis(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-31j", QStringDecoder::Flag::Stateless);
    for (char c : bytes) {
        if (c == '\x1A' || c == '\x1C' || c == '\x7F')
            return decodeControlCodesAsThemselves(decoder, bytes);
    }
    return decoder.decode(bytes);
}

bool isValidShiftJis(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-31j", QStringDecoder::Flag::Stateless);
    // decode() is lazy: the conversion runs when its result becomes a QString.
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}
