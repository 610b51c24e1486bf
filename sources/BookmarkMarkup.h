// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

// The markup of a Netscape bookmark file as the reader hands it to the HTML5 parser: what a
// bookmark file is made of, and flat. Left open, several kinds of markup nest without end in an
// HTML5 parser (an <H3> holds the next <DT>, a formatting element is opened again for every piece
// of text after it, a table fosters what follows it), and even a bookmark file's own lists,
// nested as deep as folders go, make the parser walk a thousand open elements for every item. It
// walks what is open for nearly every token, so a megabyte of such markup would keep it busy for
// minutes. Here the parser is given nothing that nests: its time grows with the size of the file
// alone.
//
// What is kept, byte for byte: the text with its character references (the parser decodes them),
// comments and the doctype, and the tags <H3>, <A> and <DD> with at most MaxAttributes of their
// attributes. Each of these is closed where the next item of the file begins (an <A> inside an
// <H3> stays inside it), and a <DT> has no part left. A list's start, <DL>, becomes <HR> and its
// end <BR>: elements that hold nothing, which the reader takes for the list's two ends. Every
// other tag is left out, and so is the whole of an element whose content is no markup (<TITLE>,
// <SCRIPT>, <STYLE>, <TEXTAREA>, ...): none holds anything a bookmark file keeps.
class BookmarkMarkup final
{
public:
    static constexpr int MaxAttributes = 32;

    // The kept markup of bytes; lists nested deeper than maxListDepth make it stop early, with
    // tooDeep() true.
    BookmarkMarkup(QByteArrayView bytes, int maxListDepth);

    const QByteArray &bytes() const { return m_out; }
    bool tooDeep() const { return m_tooDeep; }
    // The places in bytes() between two items, where nothing is open: a piece parsed on its own
    // may end at any of them. In order.
    const std::vector<qsizetype> &cuts() const { return m_cuts; }

private:
    enum class Kept
    {
        None,
        List,
        ListEnd,
        Term,        // <DT>
        Description, // <DD>
        Heading,
        HeadingEnd,
        Anchor,
        AnchorEnd,
    };

    // Each returns where the scan goes on.
    qsizetype comment(qsizetype at);
    qsizetype tag(qsizetype at);
    qsizetype skipRawText(qsizetype at, QByteArrayView name);
    void keep(Kept kind, qsizetype from, qsizetype to, qsizetype nameEnd,
              const qsizetype *attributeEnds, int attributes);
    void closeAnchor();
    void closeHeading();
    // Closes what is open and marks the place between two items.
    void closeItem();

    QByteArrayView m_in;
    QByteArray m_out;
    int m_maxListDepth;
    int m_lists = 0;
    bool m_anchorOpen = false;
    bool m_headingOpen = false;
    bool m_descriptionOpen = false;
    bool m_tooDeep = false;
    std::vector<qsizetype> m_cuts;
};
