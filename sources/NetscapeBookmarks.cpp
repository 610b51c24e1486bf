// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/NetscapeBookmarks.h"

#include "model/LinkTree.h"
#include "sources/BookmarkMarkup.h"

#include <QByteArray>

#include <gumbo.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <future>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
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

// A piece of the markup as parsed, with the memory the parser took for it.
struct ParsedPiece
{
    ParseArena arena;
    std::optional<ParsedHtml> html;
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
// description) is not part of it. The reader goes into a description (<DD>) to find what it
// holds, so the text of a description leaves out the folders, links and descriptions inside
// it: they give their text to their own entries, and every text is read once however deep
// descriptions nest.
QString textOf(const GumboNode *node, bool description = false)
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
            const GumboTag tag = child->v.element.tag;
            if (tag != GUMBO_TAG_DL &&
                !(description &&
                  (tag == GUMBO_TAG_A || tag == GUMBO_TAG_H3 || tag == GUMBO_TAG_DD)))
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

// A date attribute, seconds since 1970 in decimal; 0 where it is missing, no number or not
// after 1970.
qint64 dateAttribute(const GumboNode *element, const char *name)
{
    bool ok = false;
    const qint64 seconds = attributeText(element, name).toLongLong(&ok);
    return ok && seconds > 0 ? seconds : 0;
}

// Builds the tree from the parsed elements, in document order. The markup is flat
// (BookmarkMarkup): each folder's name <H3>, each link <A> and each description <DD> stands
// alone, and a list that opens and ends is marked <HR> and <BR>. A list belongs to the folder
// whose <H3> came last before it (a list without one goes on with the folder it is in); its end
// returns to the folder around it. The file is parsed in pieces cut between its items, and the
// reader keeps its place from one piece to the next.
class NetscapeReader final
{
public:
    explicit NetscapeReader(LinkTree &tree) : m_tree(tree) {}

    // Takes the elements of one piece.
    bool read(const GumboNode *document, QString &error)
    {
        std::vector<std::pair<const GumboNode *, unsigned>> open{{document, 0}};
        while (!open.empty()) {
            auto &[parent, next] = open.back();
            const GumboVector &children = childrenOf(parent);
            if (next >= children.length) {
                open.pop_back();
                continue;
            }
            const auto *node = static_cast<const GumboNode *>(children.data[next++]);
            if (!isElement(node))
                continue;
            const GumboTag tag = node->v.element.tag;
            if (tag == GUMBO_TAG_HTML || tag == GUMBO_TAG_HEAD || tag == GUMBO_TAG_BODY)
                open.emplace_back(node, 0);
            else if (!take(node, error))
                return false;
        }
        return true;
    }

private:
    // One element of the flat markup; false, with the reason, when the folders nest too deep.
    bool take(const GumboNode *node, QString &error)
    {
        switch (node->v.element.tag) {
        case GUMBO_TAG_H3: {
            // The browser's own containers are marked so at the top level.
            const bool toolbar = hasAttribute(node, "personal_toolbar_folder");
            const bool container = m_folders.back() == 0 &&
                                   (toolbar || hasAttribute(node, "unfiled_bookmarks_folder"));
            m_pendingFolder = m_tree.addFolder(m_folders.back(), textOf(node), container);
            if (m_pendingFolder < 0) {
                error = LinkTree::tooDeepError();
                return false;
            }
            LinkTree::Node &folder = m_tree.folder(m_pendingFolder);
            folder.toolbar = toolbar;
            folder.added = dateAttribute(node, "add_date");
            folder.modified = dateAttribute(node, "last_modified");
            m_afterLink = false;
            break;
        }
        case GUMBO_TAG_A: {
            Link &link =
                m_tree.addBookmark(m_folders.back(), textOf(node), attributeText(node, "href"));
            link.added = dateAttribute(node, "add_date");
            link.modified = dateAttribute(node, "last_modified");
            m_pendingFolder = -1;
            m_afterLink = true;
            break;
        }
        case GUMBO_TAG_DD:
            if (m_afterLink)
                m_tree.describeLastLink(m_folders.back(), textOf(node, true));
            m_afterLink = false;
            break;
        case GUMBO_TAG_HR: // a list opens
            m_folders.push_back(m_pendingFolder >= 0 ? m_pendingFolder : m_folders.back());
            m_pendingFolder = -1;
            m_afterLink = false;
            break;
        case GUMBO_TAG_BR: // the list ends
            if (m_folders.size() > 1)
                m_folders.pop_back();
            m_pendingFolder = -1;
            break;
        default:
            break;
        }
        return true;
    }

    LinkTree &m_tree;
    std::vector<int> m_folders{0}; // the folder of each open list, under the root
    int m_pendingFolder = -1;      // an <H3> not yet followed by its list
    bool m_afterLink = false;      // a <DD> here describes the last link
};

// Where the piece that starts at from ends: at the first place between two items after about
// PieceSize bytes, or at the end.
qsizetype pieceEnd(const BookmarkMarkup &markup, qsizetype from)
{
    constexpr qsizetype PieceSize = 1 << 20;
    const std::vector<qsizetype> &cuts = markup.cuts();
    const auto cut = std::lower_bound(cuts.begin(), cuts.end(), from + PieceSize);
    return cut == cuts.end() ? markup.bytes().size() : *cut;
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

bool readNetscapeBookmarks(QByteArrayView file, LinkTree &tree, QString &error)
{
    // The parser is given what a bookmark file is made of, and nothing else, so that it nests
    // the lists alone: the root list and one for each folder level, with a little room.
    const BookmarkMarkup markup(file, LinkTree::MaxFolderDepth + 8);
    if (markup.tooDeep()) {
        error = LinkTree::tooDeepError();
        return false;
    }
    const QByteArrayView bytes = markup.bytes();
    std::vector<std::pair<qsizetype, qsizetype>> pieces; // from, end
    for (qsizetype from = 0; from < bytes.size();) {
        const qsizetype end = pieceEnd(markup, from);
        pieces.emplace_back(from, end);
        from = end;
    }
    // The parser takes most of the time, so with more than one core the pieces are parsed on
    // the machine's cores ahead of the reader, which takes them in order. At most one piece a
    // core is parsed and not yet read, which bounds the memory; a piece that no thread can be
    // started for is parsed here.
    const auto parse = [bytes](std::pair<qsizetype, qsizetype> piece,
                               std::unique_ptr<ParsedPiece> into) {
        into->html.emplace(bytes.sliced(piece.first, piece.second - piece.first), into->arena);
        return into;
    };
    const unsigned cores = std::thread::hardware_concurrency();
    const size_t ahead = pieces.size() > 1 && cores > 1 ? cores : 0;
    std::deque<std::future<std::unique_ptr<ParsedPiece>>> parsing;
    std::vector<std::unique_ptr<ParsedPiece>> spare; // read, their memory kept for the next ones
    const auto takeSpare = [&spare] {
        if (spare.empty())
            return std::make_unique<ParsedPiece>();
        std::unique_ptr<ParsedPiece> piece = std::move(spare.back());
        spare.pop_back();
        return piece;
    };
    NetscapeReader reader(tree);
    size_t next = 0; // parsing holds the pieces from i to next, in order
    for (size_t i = 0; i < pieces.size(); ++i) {
        try {
            for (; next < pieces.size() && parsing.size() < ahead; ++next)
                parsing.push_back(std::async(std::launch::async, parse, pieces[next], takeSpare()));
        } catch (const std::system_error &) {
            // No more threads for now.
        }
        std::unique_ptr<ParsedPiece> piece;
        if (parsing.empty()) {
            piece = parse(pieces[i], takeSpare());
            ++next;
        } else {
            piece = parsing.front().get();
            parsing.pop_front();
        }
        const bool read = reader.read(piece->html->document(), error);
        piece->html.reset();
        spare.push_back(std::move(piece));
        if (!read)
            return false;
    }
    tree.finish();
    return true;
}
