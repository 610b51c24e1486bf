// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// The Netscape bookmark file reader (HTML parsed by the HTML5 parser, then taken as folders and
// links).
//
// Input: the file's bytes after its <!DOCTYPE NETSCAPE-Bookmark-file-1> line, which the target
// puts in front so that every input is read as such a file.
// Properties: the reader ends (no crash, no hang) and either refuses the file with a reason or
// gives a page that holds checkBookmarkPage's rules; the markup it hands the HTML5 parser
// (BookmarkMarkup) nests nothing, whatever the file, so the parser's time grows with the file's
// size alone: below <body> its tree is no deeper than a folder name with a link in it.

#include "BookmarkFuzzSupport.h"

#include "sources/BookmarkMarkup.h"
#include "sources/NetscapeBookmarks.h"

#include <gumbo.h>

#include <utility>
#include <vector>

namespace {

int parsedDepth(const QByteArray &markup)
{
    GumboOutput *output =
        gumbo_parse_with_options(&kGumboDefaultOptions, markup.constData(), size_t(markup.size()));
    int deepest = 0;
    std::vector<std::pair<const GumboNode *, int>> nodes{{output->root, 0}};
    while (!nodes.empty()) {
        const auto [node, depth] = nodes.back();
        nodes.pop_back();
        deepest = std::max(deepest, depth);
        if (node->type != GUMBO_NODE_ELEMENT)
            continue;
        for (unsigned i = 0; i < node->v.element.children.length; ++i)
            nodes.emplace_back(static_cast<const GumboNode *>(node->v.element.children.data[i]),
                               depth + 1);
    }
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return deepest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n" +
                            QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
    FUZZ_CHECK(isNetscapeBookmarks(file));
    const BookmarkMarkup markup(file, LinkTree::MaxFolderDepth + 8);
    if (!markup.tooDeep())
        FUZZ_CHECK(parsedDepth(markup.bytes()) <= 5);
    LinkTree tree;
    QString error;
    if (!readNetscapeBookmarks(file, tree, error)) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    checkBookmarkPage(std::move(tree));
    return 0;
}
