// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "outputs/NetscapeExport.h"

#include "outputs/HtmlText.h"
#include "platform/FileNames.h"
#include "platform/ShiftJis.h"

#include <algorithm>

namespace {

const char Hex[] = "0123456789ABCDEF";

enum class TextKind
{
    Name, // element text: & < > " as entities, control characters as blanks
    Href, // an attribute's address: " < > and control characters percent-encoded
};

// Text that UTF-8 can hold: a name whose bytes are not UTF-8 was most likely made on a Shift-JIS
// system and is read as Shift-JIS; where that fails too, each such unit becomes U+FFFD.
QString encodableText(QStringView text)
{
    const QByteArray bytes = textToFileName(text);
    if (isValidShiftJis(bytes))
        return fromShiftJis(bytes);
    QString out = text.toString();
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out[i].isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate())
            ++i;
        else if (out[i].isSurrogate())
            out[i] = QChar::ReplacementCharacter;
    }
    return out;
}

// Puts text as UTF-8 with the escapes of kind, straight into the output: a title or an address
// is encoded in one pass, with no buffer between.
void putUtf8(PageOutput &out, QStringView text, TextKind kind)
{
    // The most a unit can take: "&quot;".
    char *const start = out.room(6 * text.size());
    char *p = start;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            if (kind == TextKind::Href) {
                if (c < 0x20 || c == 0x7F || c == u'"' || c == u'<' || c == u'>') {
                    *p++ = '%';
                    *p++ = Hex[c >> 4];
                    *p++ = Hex[c & 0xF];
                } else {
                    *p++ = char(c);
                }
                continue;
            }
            switch (c) {
            case u'&':
                p = std::copy_n("&amp;", 5, p);
                break;
            case u'<':
                p = std::copy_n("&lt;", 4, p);
                break;
            case u'>':
                p = std::copy_n("&gt;", 4, p);
                break;
            case u'"':
                p = std::copy_n("&quot;", 6, p);
                break;
            default:
                *p++ = c < 0x20 || c == 0x7F ? ' ' : char(c);
                break;
            }
        } else if (c < 0x800) {
            *p++ = char(0xC0 | (c >> 6));
            *p++ = char(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                   text[i + 1].isLowSurrogate()) {
            const char32_t code = QChar::surrogateToUcs4(c, text[++i].unicode());
            *p++ = char(0xF0 | (code >> 18));
            *p++ = char(0x80 | ((code >> 12) & 0x3F));
            *p++ = char(0x80 | ((code >> 6) & 0x3F));
            *p++ = char(0x80 | (code & 0x3F));
        } else if (QChar::isSurrogate(c)) {
            // Rare: the whole text is made encodable first and written again.
            out.commit(start);
            putUtf8(out, encodableText(text), kind);
            return;
        } else {
            *p++ = char(0xE0 | (c >> 12));
            *p++ = char(0x80 | ((c >> 6) & 0x3F));
            *p++ = char(0x80 | (c & 0x3F));
        }
    }
    out.commit(p);
}

QString titleText(const QString &text)
{
    return text.trimmed().isEmpty() ? QStringLiteral("Bookmarks") : text;
}

} // namespace

NetscapeExport::NetscapeExport(PageOutput &out, const TGlobalVariant &settings, IconLookup *icons)
    : m_out(out), m_settings(settings), m_icons(icons)
{}

void NetscapeExport::begin()
{
    m_out.put("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n");
    m_out.put("<!-- This is an automatically generated file.\n");
    m_out.put("     It will be read and overwritten.\n");
    m_out.put("     DO NOT EDIT! -->\n");
    m_out.put("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n");
    m_out.put("<TITLE>");
    putUtf8(m_out, titleText(m_settings.Document.Title), TextKind::Name);
    m_out.put("</TITLE>\n<H1>");
    putUtf8(m_out, titleText(m_settings.Title.Title), TextKind::Name);
    m_out.put("</H1>\n\n<DL><p>");
    m_out.endLfLine();
}

void NetscapeExport::indent(qsizetype extra)
{
    const qsizetype spaces = 4 * (m_open.size() + 1 + extra);
    char *const p = m_out.room(spaces);
    m_out.commit(std::fill_n(p, spaces, ' '));
}

void NetscapeExport::putDate(const char *attribute, qint64 seconds)
{
    if (seconds <= 0 || seconds >= (qint64(1) << 32))
        return;
    m_out.put(" ");
    m_out.put(QByteArrayView(attribute));
    m_out.put("=\"");
    char digits[16];
    char *end = digits + sizeof digits;
    char *p = end;
    for (quint64 value = quint64(seconds); value > 0; value /= 10)
        *--p = char('0' + value % 10);
    m_out.put(QByteArrayView(p, end - p));
    m_out.put("\"");
}

void NetscapeExport::closeLists(qsizetype keep)
{
    while (m_open.size() > keep) {
        m_open.removeLast();
        indent();
        m_out.put("</DL><p>");
        m_out.endLfLine();
    }
}

void NetscapeExport::openFolder(QStringView name, const Folder *folder)
{
    indent();
    m_out.put("<DT><H3");
    if (folder) {
        putDate("ADD_DATE", folder->added);
        putDate("LAST_MODIFIED", folder->modified);
        if (folder->toolbar)
            m_out.put(" PERSONAL_TOOLBAR_FOLDER=\"true\"");
    }
    m_out.put(">");
    putUtf8(m_out, name, TextKind::Name);
    m_out.put("</H3>");
    m_out.endLfLine();
    indent();
    m_out.put("<DL><p>");
    m_out.endLfLine();
    m_open.append(name.toString());
}

void NetscapeExport::beginFolder(const Folder &folder)
{
    // The source's folders come in pre-order, so the lists open are the new folder's parent and
    // the folders above it. The folder itself is always new (two sister folders may share a
    // name), and a parent that the source did not give is put in as a bare heading.
    const QStringList &path = folder.path;
    if (path.isEmpty()) {
        closeLists(0); // the top level, the file's own list
        return;
    }
    qsizetype same = 0;
    while (same < m_open.size() && same < path.size() - 1 && m_open[same] == path[same])
        ++same;
    closeLists(same);
    for (qsizetype i = same; i < path.size() - 1; ++i)
        openFolder(path[i], nullptr);
    openFolder(path.last(), &folder);
}

void NetscapeExport::link(const Link &link)
{
    // A shortcut file that went away after its folder was listed has no address.
    if (!link.present)
        return;
    indent();
    m_out.put("<DT><A HREF=\"");
    putUtf8(m_out, link.url, TextKind::Href);
    m_out.put("\"");
    putDate("ADD_DATE", link.added);
    putDate("LAST_MODIFIED", link.modified);
    putIcon(link);
    m_out.put(">");
    putUtf8(m_out, link.title, TextKind::Name);
    m_out.put("</A>");
    m_out.endLfLine();
    // A comment is written as text, whatever markup it holds: an importer keeps it as the
    // bookmark's description, and markup of its own could end the line or the list.
    if (!link.comment.isEmpty()) {
        indent();
        m_out.put("<DD>");
        putUtf8(m_out, link.comment, TextKind::Name);
        m_out.endLfLine();
    }
}

void NetscapeExport::putIcon(const Link &link)
{
    if (!m_icons)
        return;
    const LinkIcon *icon = m_icons->iconFor(link);
    if (!icon || icon->data.isEmpty() || !isPlainMimeType(icon->mimeType))
        return;
    auto found = m_iconText.find(icon);
    if (found == m_iconText.end()) {
        QByteArray text = "data:" + icon->mimeType + ";base64," + icon->data.toBase64();
        found = m_iconText.insert(icon, std::move(text));
    }
    m_out.put(" ICON=\"");
    m_out.put(*found);
    m_out.put("\"");
}

void NetscapeExport::endFolder()
{
    // A folder's list stays open for the sub-folders that follow it; the next folder, or the
    // end, closes it.
}

void NetscapeExport::end()
{
    closeLists(0);
    m_out.put("</DL><p>");
    m_out.endLfLine();
}
