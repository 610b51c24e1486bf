// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/NetscapeBookmarks.h"

#include "model/LinkTree.h"

#include <QByteArray>

#include <gumbo.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

bool isBlankByte(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

char lowerByte(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool startsWithIgnoringCase(QByteArrayView bytes, QByteArrayView prefix)
{
    if (bytes.size() < prefix.size())
        return false;
    for (qsizetype i = 0; i < prefix.size(); ++i) {
        if (lowerByte(bytes[i]) != lowerByte(prefix[i]))
            return false;
    }
    return true;
}

// Elements that never hold others on an HTML5 parser's stack for long: void elements, and those
// that the next one of their kind (or a list item) closes even when the file leaves them open.
bool nestsWhenLeftOpen(QByteArrayView name)
{
    // The tags of a bookmark file first: they make up nearly all of it.
    static const char *const flat[] = {
        "dt",   "a",     "p",      "h3",       "dd",   "hr",    "meta", "title", "h1",     "br",
        "area", "base",  "col",    "embed",    "img",  "input", "link", "param", "source", "track",
        "wbr",  "li",    "option", "optgroup", "h2",   "h4",    "h5",   "h6",    "tr",     "td",
        "th",   "thead", "tbody",  "tfoot",    "html", "head",  "body", "rb",    "rt",     "rp"};
    for (const char *tag : flat) {
        if (name == QByteArrayView(tag))
            return false;
    }
    return true;
}

// How deep the file's start tags nest at most, counted from the tag names alone. The HTML5
// parser takes time that grows much faster than the depth (ten thousand nested lists take
// seconds, thirty thousand a minute), so a file nested deeper than any bookmark folder can be is
// refused before it is parsed. Tags that the parser closes by itself do not count, so the count
// follows the nesting the parser builds from a bookmark file's markup.
int markupDepth(QByteArrayView bytes, int limit)
{
    int depth = 0;
    char name[16];
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '<')
            continue;
        qsizetype j = i + 1;
        const bool end = j < bytes.size() && bytes[j] == '/';
        if (end)
            ++j;
        qsizetype length = 0;
        while (j < bytes.size() && length < qsizetype(sizeof name) &&
               ((bytes[j] >= 'a' && bytes[j] <= 'z') || (bytes[j] >= 'A' && bytes[j] <= 'Z') ||
                (bytes[j] >= '0' && bytes[j] <= '9')))
            name[length++] = lowerByte(bytes[j++]);
        if (length == 0 || !nestsWhenLeftOpen(QByteArrayView(name, length)))
            continue;
        if (end) {
            depth = std::max(depth - 1, 0);
        } else if (++depth > limit) {
            return depth;
        }
        i = j - 1;
    }
    return depth;
}

// The parser's memory for one piece, taken from large blocks and given back all at once when
// the piece has been read: the parser makes and frees a small allocation for nearly every
// character and tag, which costs more time in the system allocator than the parsing itself.
class ParseArena final
{
public:
    void *allocate(size_t size)
    {
        size = (size + 15) & ~size_t(15);
        if (m_block >= m_blocks.size() || m_used + size > m_blocks[m_block].size) {
            // The next block that is large enough, or a new one.
            ++m_block;
            while (m_block < m_blocks.size() && m_blocks[m_block].size < size)
                ++m_block;
            if (m_block >= m_blocks.size()) {
                // Small files need little; each new block is larger, up to MaxBlockSize.
                const size_t blockSize = std::max(
                    size,
                    std::min(MaxBlockSize, FirstBlockSize << std::min<size_t>(m_blocks.size(), 8)));
                m_blocks.push_back({std::unique_ptr<char[]>(new char[blockSize]), blockSize});
                m_block = m_blocks.size() - 1;
            }
            m_used = 0;
        }
        void *memory = m_blocks[m_block].memory.get() + m_used;
        m_used += size;
        return memory;
    }
    // Everything allocated is free again; the blocks are kept for the next piece.
    void reset()
    {
        m_block = 0;
        m_used = 0;
    }

private:
    static constexpr size_t FirstBlockSize = 64 << 10;
    static constexpr size_t MaxBlockSize = 4 << 20;
    struct Block
    {
        std::unique_ptr<char[]> memory;
        size_t size;
    };
    std::vector<Block> m_blocks;
    size_t m_block = 0;
    size_t m_used = 0;
};

class ParsedHtml final
{
public:
    ParsedHtml(QByteArrayView bytes, ParseArena &arena) : m_arena(arena)
    {
        GumboOptions options = kGumboDefaultOptions;
        options.allocator = [](void *arena, size_t size) {
            return static_cast<ParseArena *>(arena)->allocate(size);
        };
        options.deallocator = [](void *, void *) {};
        options.userdata = &arena;
        // Real exports leave every <DT> and <p> open, each a parse error that the parser would
        // otherwise keep a record of: none is kept.
        options.max_errors = 0;
        m_output = gumbo_parse_with_options(&options, bytes.data(), size_t(bytes.size()));
    }
    ~ParsedHtml() { m_arena.reset(); }
    ParsedHtml(const ParsedHtml &) = delete;
    ParsedHtml &operator=(const ParsedHtml &) = delete;

    const GumboNode *document() const { return m_output->document; }

private:
    ParseArena &m_arena;
    GumboOutput *m_output;
};

bool isElement(const GumboNode *node)
{
    return node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE;
}

const GumboVector &childrenOf(const GumboNode *node)
{
    return node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children : node->v.element.children;
}

// The text inside node, entities decoded; a nested <DL> (the list that follows a folder's
// description) is not part of it.
QString textOf(const GumboNode *node)
{
    QByteArray utf8;
    std::vector<std::pair<const GumboNode *, unsigned>> stack{{node, 0}};
    while (!stack.empty()) {
        auto &[parent, next] = stack.back();
        const GumboVector &children = childrenOf(parent);
        if (next >= children.length) {
            stack.pop_back();
            continue;
        }
        const auto *child = static_cast<const GumboNode *>(children.data[next++]);
        if (isElement(child)) {
            if (child->v.element.tag != GUMBO_TAG_DL)
                stack.emplace_back(child, 0);
        } else if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE ||
                   child->type == GUMBO_NODE_CDATA) {
            utf8 += child->v.text.text;
        }
    }
    return QString::fromUtf8(utf8).trimmed();
}

bool hasAttribute(const GumboNode *element, const char *name)
{
    return gumbo_get_attribute(&element->v.element.attributes, name) != nullptr;
}

QString attributeText(const GumboNode *element, const char *name)
{
    const GumboAttribute *attribute = gumbo_get_attribute(&element->v.element.attributes, name);
    return attribute ? QString::fromUtf8(attribute->value).trimmed() : QString();
}

// Builds the tree from the parsed elements, in document order. Each <DL> is a list of the folder
// whose <H3> came last before it (a list without one continues the folder it is in); its end
// returns to the folder around it.
//
// The file is parsed in pieces of about a megabyte, cut where a line starts with <DT>: the
// parser's tree takes about nine times the size of what it parses, so a whole large file would
// take far more memory than the bookmarks it holds. A piece begins with as many <DL> as lists
// are open at its start, which put the parser where it stood; those lists are not entered
// again, and a list that a piece leaves open is not left, since it goes on in the next piece.
class NetscapeReader final
{
public:
    explicit NetscapeReader(LinkTree &tree) : m_tree(tree) {}

    int openLists() const { return int(m_folders.size()) - 1; }

    // Takes the elements of one piece, parsed after openLists() <DL> tags put before it.
    bool read(const GumboNode *document, bool lastPiece, QString &error)
    {
        struct Open
        {
            const GumboNode *node;
            unsigned next;
            bool list;
        };
        std::vector<Open> open{{document, 0, false}};
        int reopened = openLists();
        while (!open.empty()) {
            Open &top = open.back();
            const GumboVector &children = childrenOf(top.node);
            if (top.next >= children.length) {
                if (top.list && (lastPiece || top.node->v.element.original_end_tag.length > 0)) {
                    m_folders.pop_back();
                    m_pendingFolder = -1;
                }
                open.pop_back();
                continue;
            }
            const auto *node = static_cast<const GumboNode *>(children.data[top.next++]);
            if (!isElement(node))
                continue;
            switch (node->v.element.tag) {
            case GUMBO_TAG_H3: {
                // The browser's own containers are marked so at the top level.
                const bool container =
                    m_folders.back() == 0 && (hasAttribute(node, "personal_toolbar_folder") ||
                                              hasAttribute(node, "unfiled_bookmarks_folder"));
                m_pendingFolder = m_tree.addFolder(m_folders.back(), textOf(node), container);
                if (m_pendingFolder < 0) {
                    error = LinkTree::tooDeepError();
                    return false;
                }
                m_afterLink = false;
                break;
            }
            case GUMBO_TAG_A:
                m_tree.addBookmark(m_folders.back(), textOf(node), attributeText(node, "href"));
                m_pendingFolder = -1;
                m_afterLink = true;
                break;
            case GUMBO_TAG_DD:
                if (m_afterLink)
                    m_tree.describeLastLink(m_folders.back(), textOf(node));
                m_afterLink = false;
                open.push_back({node, 0, false}); // a folder's description holds its list
                break;
            case GUMBO_TAG_DL:
                if (reopened > 0) {
                    --reopened;
                } else {
                    m_folders.push_back(m_pendingFolder >= 0 ? m_pendingFolder : m_folders.back());
                    m_pendingFolder = -1;
                    m_afterLink = false;
                }
                open.push_back({node, 0, true});
                break;
            default:
                open.push_back({node, 0, false});
                break;
            }
        }
        return true;
    }

private:
    LinkTree &m_tree;
    std::vector<int> m_folders{0}; // the folder of each open list, under the root
    int m_pendingFolder = -1;      // an <H3> not yet followed by its list
    bool m_afterLink = false;      // a <DD> here describes the last link
};

// Where the piece that starts at from ends: at the start of the first line beginning with <DT>
// after about PieceSize bytes, or at the end.
qsizetype pieceEnd(QByteArrayView bytes, qsizetype from)
{
    constexpr qsizetype PieceSize = 1 << 20;
    for (qsizetype at = from + PieceSize; at < bytes.size();) {
        const void *found = std::memchr(bytes.data() + at, '\n', size_t(bytes.size() - at));
        if (!found)
            break;
        at = static_cast<const char *>(found) - bytes.data() + 1; // the start of a line
        qsizetype tag = at;
        while (tag < bytes.size() && (bytes[tag] == ' ' || bytes[tag] == '\t'))
            ++tag;
        if (startsWithIgnoringCase(bytes.sliced(tag), "<DT") && tag + 3 < bytes.size() &&
            (bytes[tag + 3] == '>' || isBlankByte(bytes[tag + 3])))
            return at;
    }
    return bytes.size();
}

} // namespace

bool isNetscapeBookmarks(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    while (!bytes.isEmpty() && isBlankByte(bytes.front()))
        bytes = bytes.sliced(1);
    if (!startsWithIgnoringCase(bytes, "<!DOCTYPE"))
        return false;
    bytes = bytes.sliced(9);
    if (bytes.isEmpty() || !isBlankByte(bytes.front()))
        return false;
    while (!bytes.isEmpty() && isBlankByte(bytes.front()))
        bytes = bytes.sliced(1);
    if (!startsWithIgnoringCase(bytes, "NETSCAPE-Bookmark-file-1"))
        return false;
    bytes = bytes.sliced(24);
    while (!bytes.isEmpty() && isBlankByte(bytes.front()))
        bytes = bytes.sliced(1);
    return bytes.startsWith('>');
}

bool readNetscapeBookmarks(QByteArrayView bytes, LinkTree &tree, QString &error)
{
    // The root list and the folder list of each level, with a little room for other markup.
    if (markupDepth(bytes, LinkTree::MaxFolderDepth + 8) > LinkTree::MaxFolderDepth + 8) {
        error = LinkTree::tooDeepError();
        return false;
    }
    NetscapeReader reader(tree);
    ParseArena arena;
    QByteArray piece;
    for (qsizetype from = 0; from < bytes.size();) {
        const qsizetype end = pieceEnd(bytes, from);
        piece.resize(0);
        for (int i = reader.openLists(); i > 0; --i)
            piece += "<DL>";
        piece += bytes.sliced(from, end - from);
        const ParsedHtml html(piece, arena);
        if (!reader.read(html.document(), end == bytes.size(), error))
            return false;
        from = end;
    }
    tree.finish();
    return true;
}
