#include "generate/NetscapeBookmarks.h"

#include "generate/BookmarkTree.h"

#include <QByteArray>

#include <gumbo.h>

#include <algorithm>
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
    static const char *const flat[] = {
        "area",  "base",   "br",    "col",  "embed", "hr",   "img",   "input", "link",   "meta",
        "param", "source", "track", "wbr",  "dt",    "dd",   "p",     "li",    "option", "optgroup",
        "a",     "h1",     "h2",    "h3",   "h4",    "h5",   "h6",    "tr",    "td",     "th",
        "thead", "tbody",  "tfoot", "html", "head",  "body", "title", "rb",    "rt",     "rp"};
    for (const char *tag : flat) {
        if (name == QByteArrayView(tag))
            return false;
    }
    return true;
}

// How deep the file's start tags nest at most, counted from the tag names alone. The HTML5
// parser takes time that grows much faster than the depth (ten thousand nested lists take
// seconds, thirty thousand a minute), so a file nested deeper than any bookmark folder can be is
// refused before it is parsed. Tags that the parser closes by itself do not count; the count is
// an upper bound of what the parser builds.
int markupDepth(QByteArrayView bytes, int limit)
{
    int depth = 0;
    QByteArray name;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '<')
            continue;
        qsizetype j = i + 1;
        const bool end = j < bytes.size() && bytes[j] == '/';
        if (end)
            ++j;
        name.resize(0);
        while (j < bytes.size() && name.size() < 16 &&
               ((bytes[j] >= 'a' && bytes[j] <= 'z') || (bytes[j] >= 'A' && bytes[j] <= 'Z') ||
                (bytes[j] >= '0' && bytes[j] <= '9')))
            name += lowerByte(bytes[j++]);
        if (name.isEmpty() || !nestsWhenLeftOpen(name))
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

class ParsedHtml final
{
public:
    explicit ParsedHtml(QByteArrayView bytes)
        : m_output(
              gumbo_parse_with_options(&kGumboDefaultOptions, bytes.data(), size_t(bytes.size())))
    {}
    ~ParsedHtml() { gumbo_destroy_output(&kGumboDefaultOptions, m_output); }
    ParsedHtml(const ParsedHtml &) = delete;
    ParsedHtml &operator=(const ParsedHtml &) = delete;

    const GumboNode *document() const { return m_output->document; }

private:
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

bool readNetscapeBookmarks(QByteArrayView bytes, BookmarkTree &tree, QString &error)
{
    // The root list and the folder list of each level, with a little room for other markup.
    if (markupDepth(bytes, BookmarkTree::MaxFolderDepth + 8) > BookmarkTree::MaxFolderDepth + 8) {
        error = BookmarkTree::tooDeepError();
        return false;
    }
    const ParsedHtml html(bytes);

    // The elements are taken in document order. Each <DL> is a list of the folder whose <H3>
    // came last before it (a list without one continues the folder it is in); its end returns
    // to the folder around it.
    struct Open
    {
        const GumboNode *node;
        unsigned next;
        bool list;
    };
    std::vector<Open> open{{html.document(), 0, false}};
    std::vector<int> folders{0};
    int pendingFolder = -1; // an <H3> not yet followed by its list
    bool afterLink = false; // a <DD> here describes the last link
    while (!open.empty()) {
        Open &top = open.back();
        const GumboVector &children = childrenOf(top.node);
        if (top.next >= children.length) {
            if (top.list) {
                folders.pop_back();
                pendingFolder = -1;
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
                folders.back() == 0 && (hasAttribute(node, "personal_toolbar_folder") ||
                                        hasAttribute(node, "unfiled_bookmarks_folder"));
            pendingFolder = tree.addFolder(folders.back(), textOf(node), container);
            if (pendingFolder < 0) {
                error = BookmarkTree::tooDeepError();
                return false;
            }
            afterLink = false;
            break;
        }
        case GUMBO_TAG_A:
            tree.addLink(folders.back(), textOf(node), attributeText(node, "href"));
            pendingFolder = -1;
            afterLink = true;
            break;
        case GUMBO_TAG_DD:
            if (afterLink)
                tree.describeLastLink(folders.back(), textOf(node));
            afterLink = false;
            open.push_back({node, 0, false}); // a folder's description holds its list
            break;
        case GUMBO_TAG_DL:
            folders.push_back(pendingFolder >= 0 ? pendingFolder : folders.back());
            pendingFolder = -1;
            afterLink = false;
            open.push_back({node, 0, true});
            break;
        default:
            open.push_back({node, 0, false});
            break;
        }
    }
    tree.finish();
    return true;
}
