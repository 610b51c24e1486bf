// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// The Netscape bookmark file reader (HTML parsed by the HTML5 parser, then taken as folders and
// links).
//
// Input: the file's bytes after its <!DOCTYPE NETSCAPE-Bookmark-file-1> line, which the target
// puts in front so that every input is read as such a file.
// Properties: the reader ends (no crash, no hang) and either refuses the file with a reason or
// gives a page that holds checkBookmarkPage's rules.

#include "BookmarkFuzzSupport.h"

#include "sources/NetscapeBookmarks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n" +
                            QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
    FUZZ_CHECK(isNetscapeBookmarks(file));
    LinkTree tree;
    QString error;
    if (!readNetscapeBookmarks(file, tree, error)) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    checkBookmarkPage(std::move(tree));
    return 0;
}
