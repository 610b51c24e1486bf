// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "FuzzSupport.h"

#include "model/LinkTree.h"
#include "model/TreeSource.h"
#include "outputs/ClassicPage.h"

// What every page from a bookmark file must hold, whatever the file: as many sections as the
// source announced, the root's first; captions and titles on one line; addresses of printable
// ASCII only (so the page's href stays one attribute on one line); comments on one line, with
// no "<" or ">" (a description never becomes markup).
inline void checkBookmarkPage(LinkTree tree)
{
    TreeSource source(std::move(tree));
    const int announced = source.folderCount();
    int folders = 0;
    auto oneLine = [](QStringView text) {
        for (const QChar c : text)
            FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() != 0x7F);
    };
    Link link;
    QByteArray scratch;
    while (const Folder *folder = source.nextFolder()) {
        const QString caption = folder->path.join(QLatin1Char('/'));
        FUZZ_CHECK(folders > 0 || caption.isEmpty());
        oneLine(caption);
        ++folders;
        while (source.nextLink(link)) {
            oneLine(link.title);
            for (const char c : ClassicPage::addressBytes(link, scratch))
                FUZZ_CHECK(c >= 0x20 && c < 0x7F);
            for (const char c : ClassicPage::commentBytes(link, scratch))
                FUZZ_CHECK(c != '\r' && c != '\n' && c != '<' && c != '>');
        }
    }
    FUZZ_CHECK(folders == announced);
    FUZZ_CHECK(!source.nextFolder());
}
