// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "FuzzSupport.h"

#include "model/TreeSource.h"
#include "model/LinkTree.h"

// What every page from a bookmark file must hold, whatever the file: as many sections as the
// source announced, the root's first; captions and titles on one line; addresses of printable
// ASCII only (so the page's href stays one attribute on one line); comments on one line, with
// no "<" or ">" (a description never becomes markup).
inline void checkBookmarkPage(BookmarkTree tree)
{
    const qsizetype links = tree.linkCount();
    BookmarkSource source(std::move(tree));
    const int announced = source.folderCount();
    int folders = 0;
    qsizetype seen = 0;
    auto oneLine = [](QStringView text) {
        for (const QChar c : text)
            FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() != 0x7F);
    };
    while (source.nextFolder()) {
        const QString caption = source.caption();
        FUZZ_CHECK(folders > 0 || caption.isEmpty());
        oneLine(caption);
        ++folders;
        PageLink link;
        while (source.nextLink(link)) {
            ++seen;
            oneLine(link.title);
            for (const char c : link.url)
                FUZZ_CHECK(c >= 0x20 && c < 0x7F);
            for (const char c : link.comment)
                FUZZ_CHECK(c != '\r' && c != '\n' && c != '<' && c != '>');
        }
    }
    FUZZ_CHECK(folders == announced);
    FUZZ_CHECK(seen <= links);
    FUZZ_CHECK(!source.nextFolder());
}
