// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "outputs/ClassicPage.h"

#include "outputs/PageText.h"
#include "outputs/StyleSheet.h"
#include "outputs/UrlText.h"
#include "platform/ShiftJis.h"
#include "platform/VersionInfo.h"

#include <algorithm>

namespace {

// Whether a byte of an address is percent-encoded in the href: the three characters that could
// end the attribute or open a tag, and the control characters (NUL, ESC, CR, LF, DEL...), which
// would break the line or the markup, as a browser encodes them anyway. None of them occurs as
// the second byte of a Shift-JIS character, so the bytes can be looked at one by one.
bool isEscapedInHref(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F || c == '"' || c == '<' || c == '>';
}

const char Hex[] = "0123456789ABCDEF";

// The href of an address of ASCII characters alone, the usual one, put straight from its text:
// Shift-JIS and percent-encoding leave ASCII as it is. False, with nothing put, for any other.
bool putAsciiHref(PageOutput &out, QStringView url)
{
    char *const start = out.room(3 * url.size());
    char *p = start;
    for (const QChar character : url) {
        const char16_t c = character.unicode();
        if (c >= 0x80)
            return false;
        if (isEscapedInHref(char(c))) {
            *p++ = '%';
            *p++ = Hex[c >> 4];
            *p++ = Hex[c & 0xF];
        } else {
            *p++ = char(c);
        }
    }
    out.commit(p);
    return true;
}

// The href bytes of an address.
void putHref(PageOutput &out, QByteArrayView url)
{
    // Most addresses hold none of them, so the bytes between two are put as one run.
    const char *p = url.data();
    const char *const end = p + url.size();
    while (p < end) {
        const char *next = std::find_if(p, end, isEscapedInHref);
        out.put(QByteArrayView(p, next - p));
        if (next == end)
            break;
        const auto b = static_cast<unsigned char>(*next);
        const char escape[3] = {'%', Hex[b >> 4], Hex[b & 0xF]};
        out.put(QByteArrayView(escape, 3));
        p = next + 1;
    }
}

} // namespace

ClassicPage::ClassicPage(PageOutput &out, const TGlobalVariant &settings)
    : m_out(out), m_settings(settings)
{}

QByteArrayView ClassicPage::addressBytes(const Link &link, QByteArray &scratch)
{
    if (link.urlIsShortcutText && !link.storedUrl.isEmpty())
        return link.storedUrl;
    scratch.resize(0);
    if (link.urlIsShortcutText)
        appendShiftJis(scratch, link.url);
    else
        scratch = percentEncodedUrl(link.url);
    return scratch;
}

QByteArrayView ClassicPage::commentBytes(const Link &link, QByteArray &scratch)
{
    if (link.commentIsMarkup && !link.storedComment.isEmpty())
        return link.storedComment;
    scratch.resize(0);
    if (link.commentIsMarkup)
        appendShiftJis(scratch, link.comment);
    else
        appendNameText(scratch, link.comment);
    return scratch;
}

void ClassicPage::begin()
{
    m_out.line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">");
    m_out.line("<html>");
    m_out.line("<head>");
    m_out.line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=x-sjis\">");
    putText(m_out, BuildStyleSheet(m_settings));
    m_out.endLine();
    m_out.put("<title>");
    putText(m_out, m_settings.Document.Title);
    m_out.put("</title>");
    m_out.endLine();
    m_out.line("</head>");
    m_out.line("<body>");
    m_out.line("<div class=\"TitleMessage\">");
    m_out.put("\t");
    putText(m_out, m_settings.Title.Title);
    m_out.endLine();
    m_out.line("</div>");
    m_out.line("<br>");
}

void ClassicPage::beginFolder(const Folder &folder)
{
    m_out.line("<div class=\"FolderName\">");
    m_out.put("\t");
    putName(m_out, folder.path.join(QLatin1Char('/')));
    m_out.endLine();
    m_out.line("</div>");
}

void ClassicPage::link(const Link &link)
{
    m_out.line("<div class=\"FileList\">");
    // A shortcut that went away since its folder was listed keeps an empty line.
    if (link.present)
        linkLine(link);
    m_out.endLine();
    m_out.line("</div>");
}

void ClassicPage::linkLine(const Link &link)
{
    m_out.put("\t<a href=\"");
    if ((link.urlIsShortcutText && !link.storedUrl.isEmpty()) || !putAsciiHref(m_out, link.url))
        putHref(m_out, addressBytes(link, m_address));
    m_out.put("\" target=\"_blank\">");
    putName(m_out, link.title);
    m_out.put("</a>");
    if (m_settings.Document.BVKCommentFlag) {
        m_out.put("<span class=\"BVKComment\">");
        m_out.put(commentBytes(link, m_comment));
        m_out.put("</span>");
    }
}

void ClassicPage::endFolder()
{
    m_out.line("<br>");
}

void ClassicPage::end()
{
    QString version;
    ReadVersionValue(10, version);
    QByteArray footer("<hr><div style=\"text-align:right;\"><a href=\"");
    footer += TalvensaWebPage;
    footer += "\" target=\"_blank\">Talvensa ";
    appendShiftJis(footer, version);
    footer += "</a></div>";
    m_out.line(footer);
    m_out.line("</body>");
    m_out.line("</html>");
}
