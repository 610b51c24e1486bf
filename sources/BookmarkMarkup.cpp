// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/BookmarkMarkup.h"

#include <algorithm>

namespace {

bool isBlankByte(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lowerByte(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(QByteArrayView bytes, QByteArrayView lowerName)
{
    if (bytes.size() != lowerName.size())
        return false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (lowerByte(bytes[i]) != lowerName[i])
            return false;
    }
    return true;
}

// The elements whose content the parser reads as text up to their own end tag, not as markup.
bool holdsNoMarkup(QByteArrayView name)
{
    for (const char *tag : {"title", "textarea", "script", "style", "xmp", "iframe", "noembed",
                            "noframes", "plaintext"}) {
        if (equalsIgnoringCase(name, QByteArrayView(tag)))
            return true;
    }
    return false;
}

} // namespace

BookmarkMarkup::BookmarkMarkup(QByteArrayView bytes, int maxListDepth)
    : m_in(bytes), m_maxListDepth(maxListDepth)
{
    m_out.reserve(bytes.size() + bytes.size() / 16);
    qsizetype at = 0;
    while (at < m_in.size() && !m_tooDeep) {
        // Text up to the next "<" is kept as it is.
        const qsizetype lt = m_in.indexOf('<', at);
        const qsizetype textEnd = lt < 0 ? m_in.size() : lt;
        m_out.append(m_in.sliced(at, textEnd - at));
        if (lt < 0)
            break;
        const char next = lt + 1 < m_in.size() ? m_in[lt + 1] : '\0';
        const char afterSlash = next == '/' && lt + 2 < m_in.size() ? m_in[lt + 2] : '\0';
        if (next == '!' || next == '?' ||
            (next == '/' && afterSlash != '\0' && afterSlash != '>' &&
             !isAsciiLetter(afterSlash))) {
            at = comment(lt); // "</" and no name is a comment to the parser too
        } else if (isAsciiLetter(next) || isAsciiLetter(afterSlash)) {
            at = tag(lt);
        } else if (next == '/' && afterSlash == '>') {
            at = lt + 3; // "</>" is nothing
        } else {
            // A "<" that opens no tag is text. Written as a reference, it cannot join what is
            // written after it into a tag ("<" then the text after a tag left out).
            m_out.append("&lt;");
            at = lt + 1;
        }
    }
}

qsizetype BookmarkMarkup::comment(qsizetype at)
{
    // "<!--" to "-->" (or "<!-->" and "<!--->", which end at once); any other "<!" or "<?" to
    // the next ">". Kept whole: a tag inside a comment is no tag.
    qsizetype end;
    if (m_in.sliced(at).startsWith("<!--")) {
        const qsizetype body = at + 4;
        if (m_in.sliced(body).startsWith(">"))
            end = body + 1;
        else if (m_in.sliced(body).startsWith("->"))
            end = body + 2;
        else {
            const qsizetype close = m_in.indexOf("-->", body);
            end = close < 0 ? m_in.size() : close + 3;
        }
    } else {
        const qsizetype close = m_in.indexOf('>', at);
        end = close < 0 ? m_in.size() : close + 1;
    }
    m_out.append(m_in.sliced(at, end - at));
    return end;
}

qsizetype BookmarkMarkup::tag(qsizetype at)
{
    const bool endTag = m_in[at + 1] == '/';
    qsizetype p = at + (endTag ? 2 : 1);
    const qsizetype nameStart = p;
    while (p < m_in.size() && !isBlankByte(m_in[p]) && m_in[p] != '/' && m_in[p] != '>')
        ++p;
    const qsizetype nameEnd = p;
    const QByteArrayView name = m_in.sliced(nameStart, nameEnd - nameStart);

    // The attributes, as the parser's tokenizer finds them: a quoted value may hold ">".
    qsizetype attributeEnds[MaxAttributes];
    int attributes = 0;
    for (;;) {
        while (p < m_in.size() && (isBlankByte(m_in[p]) || m_in[p] == '/'))
            ++p;
        if (p >= m_in.size())
            return m_in.size(); // a tag the file cuts short is dropped, as the parser drops it
        if (m_in[p] == '>')
            break;
        ++p; // the first byte of a name, "=" included
        while (p < m_in.size() && !isBlankByte(m_in[p]) && m_in[p] != '/' && m_in[p] != '>' &&
               m_in[p] != '=')
            ++p;
        while (p < m_in.size() && isBlankByte(m_in[p]))
            ++p;
        if (p < m_in.size() && m_in[p] == '=') {
            ++p;
            while (p < m_in.size() && isBlankByte(m_in[p]))
                ++p;
            if (p < m_in.size() && (m_in[p] == '"' || m_in[p] == '\'')) {
                const qsizetype close = m_in.indexOf(m_in[p], p + 1);
                if (close < 0)
                    return m_in.size();
                p = close + 1;
            } else {
                while (p < m_in.size() && !isBlankByte(m_in[p]) && m_in[p] != '>')
                    ++p;
            }
        }
        if (attributes < MaxAttributes)
            attributeEnds[attributes] = p;
        ++attributes;
    }
    const qsizetype end = p + 1;

    Kept kind = Kept::None;
    if (equalsIgnoringCase(name, "dl"))
        kind = endTag ? Kept::ListEnd : Kept::List;
    else if (!endTag && equalsIgnoringCase(name, "dt"))
        kind = Kept::Term;
    else if (!endTag && equalsIgnoringCase(name, "dd"))
        kind = Kept::Description;
    else if (equalsIgnoringCase(name, "h3"))
        kind = endTag ? Kept::HeadingEnd : Kept::Heading;
    else if (equalsIgnoringCase(name, "a"))
        kind = endTag ? Kept::AnchorEnd : Kept::Anchor;
    else if (!endTag && holdsNoMarkup(name)) {
        keep(Kept::None, at, end, nameEnd, attributeEnds, attributes);
        return skipRawText(end, name);
    }
    keep(kind, at, end, nameEnd, attributeEnds, attributes);
    return end;
}

qsizetype BookmarkMarkup::skipRawText(qsizetype at, QByteArrayView name)
{
    // To the element's end tag, whatever its case, and past it; with none, to the end.
    if (equalsIgnoringCase(name, "plaintext"))
        return m_in.size();
    const QByteArray lowerName = name.toByteArray().toLower();
    for (qsizetype p = m_in.indexOf("</", at); p >= 0; p = m_in.indexOf("</", p + 2)) {
        const qsizetype after = p + 2 + name.size();
        if (after <= m_in.size() &&
            equalsIgnoringCase(m_in.sliced(p + 2, name.size()), lowerName) &&
            (after == m_in.size() || isBlankByte(m_in[after]) || m_in[after] == '/' ||
             m_in[after] == '>')) {
            const qsizetype close = m_in.indexOf('>', after);
            return close < 0 ? m_in.size() : close + 1;
        }
    }
    return m_in.size();
}

void BookmarkMarkup::closeAnchor()
{
    if (m_anchorOpen)
        m_out.append("</A>");
    m_anchorOpen = false;
}

void BookmarkMarkup::closeHeading()
{
    closeAnchor();
    if (m_headingOpen)
        m_out.append("</H3>");
    m_headingOpen = false;
}

void BookmarkMarkup::closeItem()
{
    closeHeading();
    if (m_descriptionOpen)
        m_out.append("</DD>");
    m_descriptionOpen = false;
    if (m_cuts.empty() || m_cuts.back() != m_out.size())
        m_cuts.push_back(m_out.size());
}

void BookmarkMarkup::keep(Kept kind, qsizetype from, qsizetype to, qsizetype nameEnd,
                          const qsizetype *attributeEnds, int attributes)
{
    switch (kind) {
    case Kept::None:
        // A tag left out between two texts still parts them: a character reference cannot run
        // on from one into the other.
        if (!m_out.isEmpty() && m_out.back() != '>' && !isBlankByte(m_out.back()))
            m_out.append("<!---->");
        return;
    case Kept::List:
        if (++m_lists > m_maxListDepth) {
            m_tooDeep = true;
            return;
        }
        closeItem();
        m_out.append("<HR>");
        return;
    case Kept::ListEnd:
        closeItem();
        if (m_lists > 0) {
            --m_lists;
            m_out.append("<BR>");
        }
        return;
    case Kept::Term:
        closeItem();
        return;
    case Kept::Description:
        closeItem();
        m_descriptionOpen = true;
        break;
    case Kept::Heading:
        closeItem();
        m_headingOpen = true;
        break;
    case Kept::HeadingEnd:
        if (m_headingOpen)
            closeHeading();
        return;
    case Kept::Anchor:
        // A link in a folder's name stays in it; any other begins an item of its own.
        if (m_headingOpen)
            closeAnchor();
        else
            closeItem();
        m_anchorOpen = true;
        break;
    case Kept::AnchorEnd:
        closeAnchor();
        return;
    }
    if (attributes <= MaxAttributes) {
        m_out.append(m_in.sliced(from, to - from));
    } else {
        // A tag of many attributes keeps its first ones: the parser compares every attribute
        // with those before it.
        m_out.append(m_in.sliced(from, std::max(attributeEnds[MaxAttributes - 1], nameEnd) - from));
        m_out.append('>');
    }
}
