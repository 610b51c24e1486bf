// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "outputs/Utf8Page.h"

#include "outputs/ColorContrast.h"
#include "outputs/HtmlText.h"
#include "outputs/PageText.h"
#include "platform/VersionInfo.h"
#include "settings/ColorText.h"

#include <QCryptographicHash>

#include <algorithm>

namespace {

// The search: the folded text of every link is made once, at load; each keystroke then runs
// one loop over the links and one over the folders, and touches only the elements whose
// visibility changes.
const char Script[] = R"js((function () {
  'use strict';
  var box = document.getElementById('q');
  var count = document.getElementById('count');
  var main = document.querySelector('main');
  if (!box || !count || !main) return;
  var items = Array.prototype.slice.call(main.getElementsByTagName('li'));
  var folders = Array.prototype.slice.call(main.getElementsByTagName('details'));
  var n = items.length, m = folders.length;
  var folderIndex = new Map();
  var i, f;
  for (f = 0; f < m; f++) folderIndex.set(folders[f], f);
  function owner(element) {
    var d = element.parentElement ? element.parentElement.closest('details') : null;
    return d ? folderIndex.get(d) : -1;
  }
  // Case, width (NFKC: full-width letters and half-width kana) and katakana as hiragana.
  function fold(text) {
    return text.normalize('NFKC').toLowerCase().replace(/[\u30a1-\u30f6\u30fd\u30fe]/g,
      function (c) { return String.fromCharCode(c.charCodeAt(0) - 0x60); });
  }
  function address(link) {
    var href = link.getAttribute('href') || '';
    try { return decodeURI(href); } catch (e) { return href; }
  }
  var text = new Array(n), ownerOf = new Int32Array(n);
  // The matches of the query as a list of indexes, and each link's generation of its last match;
  // whether each link and folder is shown in the page. A link inside a hidden folder is left
  // as it is: it is not seen, and it is set right when its folder shows again.
  var list = new Int32Array(n), listSize = n, mark = new Int32Array(n), generation = 0;
  var shown = new Uint8Array(n);
  var parentOf = new Int32Array(m), hits = new Int32Array(m), open = new Uint8Array(m);
  for (i = 0; i < n; i++) {
    var a = items[i].getElementsByTagName('a')[0];
    text[i] = a ? fold(a.textContent) + '\n' + fold(address(a)) : '';
    ownerOf[i] = owner(items[i]);
    shown[i] = 1;
    list[i] = i;
  }
  for (f = 0; f < m; f++) { parentOf[f] = owner(folders[f]); open[f] = 1; }
  var current = '';
  function apply(raw) {
    var query = fold(raw);
    if (query === current) return;
    var all = query === '', size = 0, k;
    if (all) {
      for (i = 0; i < n; i++) list[i] = i;
      size = n;
    } else if (query.indexOf(current) !== -1) {
      // A query that holds the last one matches a part of its matches: only those are looked at.
      for (k = 0; k < listSize; k++) {
        if (text[list[k]].indexOf(query) !== -1) list[size++] = list[k];
      }
    } else {
      for (i = 0; i < n; i++) {
        if (text[i].indexOf(query) !== -1) list[size++] = i;
      }
    }
    current = query;
    listSize = size;
    generation++;
    hits.fill(0);
    for (k = 0; k < size; k++) {
      mark[list[k]] = generation;
      if (ownerOf[list[k]] >= 0) hits[ownerOf[list[k]]]++;
    }
    // Sub-folders come after their parents: from the last, each adds its matches to its parent.
    for (f = m - 1; f >= 0; f--) {
      if (parentOf[f] >= 0) hits[parentOf[f]] += hits[f];
    }
    for (f = 0; f < m; f++) {
      var visible = all || hits[f] > 0;
      if (visible !== (open[f] === 1)) {
        folders[f].hidden = !visible;
        open[f] = visible ? 1 : 0;
      }
      if (!all && visible && !folders[f].open) folders[f].open = true;
    }
    for (i = 0; i < n; i++) {
      var o = ownerOf[i];
      if (o >= 0 && open[o] === 0) continue;
      var match = mark[i] === generation;
      if (match !== (shown[i] === 1)) {
        items[i].hidden = !match;
        shown[i] = match ? 1 : 0;
      }
    }
    count.textContent = all ? n + ' 件' : n + ' 件中 ' + size + ' 件';
  }
  function queryInAddress() {
    var hash = location.hash;
    if (hash.indexOf('#q=') !== 0) return '';
    try { return decodeURIComponent(hash.slice(3)); } catch (e) { return hash.slice(3); }
  }
  function keepInAddress(query) {
    var fragment = query ? '#q=' + encodeURIComponent(query) : '';
    try {
      history.replaceState(history.state, '', location.href.split('#')[0] + fragment);
    } catch (e) {
      location.replace(fragment || '#');
    }
  }
  function update() {
    apply(box.value);
    keepInAddress(box.value);
  }
  // Keys typed faster than the page is drawn are filtered for once, just before the next frame.
  var scheduled = false;
  box.addEventListener('input', function () {
    if (scheduled) return;
    scheduled = true;
    requestAnimationFrame(function () {
      scheduled = false;
      update();
    });
  });
  document.addEventListener('keydown', function (event) {
    if (event.ctrlKey || event.metaKey || event.altKey || event.isComposing) return;
    var target = event.target;
    var editing = target !== box && target && (target.isContentEditable ||
      /^(INPUT|TEXTAREA|SELECT)$/.test(target.tagName));
    if (editing) return;
    if (event.key === '/' && target !== box) {
      event.preventDefault();
      box.focus();
      box.select();
    } else if (event.key === 'Escape' && box.value !== '') {
      event.preventDefault();
      box.value = '';
      update();
    }
  });
  window.addEventListener('hashchange', function () {
    var query = queryInAddress();
    if (query !== box.value) {
      box.value = query;
      apply(query);
    }
  });
  box.parentElement.hidden = false;
  count.textContent = n + ' 件';
  box.value = queryInAddress();
  apply(box.value);
})();
)js";

QByteArray colorText(TColor color)
{
    return '#' + ColorToHexText(color).toLatin1();
}

// A setting's text as a CSS value: as the user wrote it, except that "<" cannot close the style
// element ("\3C " is the same character to CSS).
QByteArray cssValue(const QString &value)
{
    QByteArray text = value.toUtf8();
    text.replace('<', "\\3C ");
    return text;
}

// The rules of a style element, one declaration a line.
class Css
{
public:
    explicit Css(QByteArray &text) : m_text(text) {}
    Css &rule(const char *selector)
    {
        finish();
        m_text += m_indent;
        m_text += selector;
        m_text += " {\n";
        m_open = true;
        return *this;
    }
    Css &set(const char *name, const QByteArray &value)
    {
        m_text += m_indent;
        m_text += '\t';
        m_text += name;
        m_text += ": ";
        m_text += value;
        m_text += ";\n";
        return *this;
    }
    Css &color(const char *name, TColor value) { return set(name, colorText(value)); }
    Css &font(const QString &family)
    {
        if (family != NoFontSpecified)
            set("font-family", cssValue(family));
        return *this;
    }
    void media(const char *query)
    {
        finish();
        m_text += query;
        m_text += " {\n";
        m_indent = "\t";
    }
    void endMedia()
    {
        finish();
        m_text += "}\n";
        m_indent.clear();
    }
    void finish()
    {
        if (m_open)
            m_text += m_indent + "}\n";
        m_open = false;
    }

private:
    QByteArray &m_text;
    QByteArray m_indent;
    bool m_open = false;
};

QByteArray base64Hash(QByteArrayView text)
{
    return QCryptographicHash::hash(text, QCryptographicHash::Sha256).toBase64();
}

// Where the href of a link is nothing but ASCII that is put as it is, except "&", the usual
// case: it is put straight. False, with nothing put, for any other.
bool putPlainHref(PageOutput &out, QStringView url)
{
    char *const start = out.room(5 * url.size());
    char *p = start;
    for (const QChar character : url) {
        const char16_t c = character.unicode();
        if (c <= 0x20 || c >= 0x7F || c == u'"' || c == u'<' || c == u'>' || c == u'\\' ||
            c == u'^' || c == u'`' || c == u'{' || c == u'|' || c == u'}' || c == u'%' || c == u'#')
            return false;
        if (c == u'&') {
            std::memcpy(p, "&amp;", 5);
            p += 5;
        } else {
            *p++ = char(c);
        }
    }
    out.commit(p);
    return true;
}

} // namespace

Utf8Page::Utf8Page(PageOutput &out, const TGlobalVariant &settings, IconLookup *icons)
    : m_out(out), m_settings(settings), m_icons(icons),
      m_newWindow(settings.Document.Link.OpenRightWindowFlag),
      m_comments(settings.Document.BVKCommentFlag)
{}

QByteArrayView Utf8Page::scriptText()
{
    return QByteArrayView(Script, sizeof Script - 1);
}

QByteArray Utf8Page::styleText(const TGlobalVariant &g, bool icons)
{
    const TLink &link = g.Document.Link;
    const TBVK &bvk = g.Document.BVK;
    QByteArray text = "\n";
    Css css(text);
    css.rule(":root").set("color-scheme", "light dark");
    css.rule("body")
        .color("background-color", g.Document.BackColor)
        .color("color", bvk.Color)
        .set("margin", "8px");
    css.rule(".TitleMessage")
        .set("font-size", cssValue(g.Title.Size))
        .set("text-align", "center")
        .color("color", g.Title.Color)
        .font(g.Title.Font)
        .set("font-style", g.Title.Italic ? "italic" : "normal")
        .set("font-weight", g.Title.Bold ? "bold" : "normal")
        .set("margin", "0.3em 0");
    css.rule(".search").set("text-align", "center").set("margin", "0 0 1em");
    css.rule(".search input").set("font-size", cssValue(link.Size)).set("margin", "0 0.5em");
    css.rule(".FolderName")
        .set("font-size", cssValue(g.Folder.Size))
        .color("color", g.Folder.Color)
        .font(g.Folder.Font)
        .set("font-style", g.Folder.Italic ? "italic" : "normal")
        .set("font-weight", g.Folder.Bold ? "bold" : "normal")
        .set("cursor", "pointer");
    css.rule(".FolderName > *").set("display", "inline").set("font", "inherit").set("margin", "0");
    css.rule("details").set("margin", "0.3em 0");
    css.rule("details details").set("margin-left", "1.25em");
    css.rule(".FileList")
        .set("list-style", "none")
        .set("margin", "0.2em 0")
        .set("padding-left", "10px")
        .set("font-size", cssValue(link.Size))
        .font(link.Font);
    css.rule("a").set("text-decoration", link.UnderbarFlag ? "underline" : "none");
    css.rule("a:link").color("color", link.LinkColor);
    css.rule("a:visited").color("color", link.VisitedColor);
    css.rule("a:active").color("color", link.ActiveColor);
    css.rule("a:hover").color("color", link.HoverColor);
    if (link.BackColorFlag)
        css.color("background-color", link.BackColor);
    css.rule(".BVKComment")
        .set("margin-left", "20px")
        .set("font-size", cssValue(bvk.Size))
        .color("color", bvk.Color)
        .font(bvk.Font);
    if (icons) {
        css.rule(".icon")
            .set("display", "inline-block")
            .set("width", "16px")
            .set("height", "16px")
            .set("margin-right", "4px")
            .set("vertical-align", "-3px");
        css.rule(".icons")
            .set("position", "absolute")
            .set("width", "0")
            .set("height", "0")
            .set("overflow", "hidden");
    }
    // A large page lays out only what is on the screen: showing and hiding thousands of links
    // as the user types then costs little more than for a few.
    css.rule(".FileList, details")
        .set("content-visibility", "auto")
        .set("contain-intrinsic-size", "auto 10em");
    css.rule("footer").set("text-align", "right").set("margin-top", "1em");
    css.rule("[hidden]").set("display", "none !important");

    // The dark scheme: the background darkened in its own hue, every text colour lightened in
    // its own hue just until it reads on the background it stands on.
    const TColor background = darkBackground(g.Document.BackColor);
    const TColor hoverBackground = link.BackColorFlag ? darkHighlight(link.BackColor) : background;
    css.media("@media (prefers-color-scheme: dark)");
    css.rule("body")
        .color("background-color", background)
        .color("color", readableOnDark(bvk.Color, background));
    css.rule(".TitleMessage").color("color", readableOnDark(g.Title.Color, background));
    css.rule(".FolderName").color("color", readableOnDark(g.Folder.Color, background));
    css.rule("a:link").color("color", readableOnDark(link.LinkColor, background));
    css.rule("a:visited").color("color", readableOnDark(link.VisitedColor, background));
    css.rule("a:active").color("color", readableOnDark(link.ActiveColor, background));
    css.rule("a:hover").color("color", readableOnDark(link.HoverColor, hoverBackground));
    if (link.BackColorFlag)
        css.color("background-color", hoverBackground);
    css.rule(".BVKComment").color("color", readableOnDark(bvk.Color, background));
    css.endMedia();
    return text;
}

QByteArray Utf8Page::contentSecurityPolicy(QByteArrayView style, bool images)
{
    QByteArray policy = "default-src 'none'; style-src 'sha256-" + base64Hash(style) +
                        "'; script-src 'sha256-" + base64Hash(scriptText()) + "'";
    if (images)
        policy += "; img-src data:";
    policy += "; base-uri 'none'; form-action 'none'";
    return policy;
}

void Utf8Page::putBlock(const char *tag, QByteArrayView text)
{
    // The page's lines end with CR LF; a browser reads each as LF, which the hashes are of.
    m_out.put("<");
    m_out.put(QByteArrayView(tag));
    m_out.put(">");
    qsizetype from = 0;
    for (qsizetype at; (at = text.indexOf('\n', from)) >= 0; from = at + 1) {
        m_out.put(text.sliced(from, at - from));
        m_out.endLine();
    }
    m_out.put(text.sliced(from));
    m_out.put("</");
    m_out.put(QByteArrayView(tag));
    m_out.put(">");
    m_out.endLine();
}

void Utf8Page::begin()
{
    const QByteArray style = styleText(m_settings, m_icons != nullptr);
    m_out.line("<!DOCTYPE html>");
    m_out.line("<html lang=\"ja\">");
    m_out.line("<head>");
    m_out.line("<meta charset=\"utf-8\">");
    m_out.line("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">");
    m_out.put("<meta http-equiv=\"Content-Security-Policy\" content=\"");
    m_out.put(contentSecurityPolicy(style, m_icons != nullptr));
    m_out.put("\">");
    m_out.endLine();
    m_out.put("<title>");
    putHtmlText(m_out, m_settings.Document.Title);
    m_out.put("</title>");
    m_out.endLine();
    putBlock("style", style);
    m_out.line("</head>");
    m_out.line("<body>");
    m_out.line("<header>");
    m_out.put("<h1 class=\"TitleMessage\">");
    putHtmlText(m_out, m_settings.Title.Title);
    m_out.put("</h1>");
    m_out.endLine();
    // Shown by the script: without it the box could do nothing.
    m_out.line("<div class=\"search\" role=\"search\" hidden>");
    m_out.line("<label for=\"q\">検索</label><input type=\"search\" id=\"q\" autocomplete=\"off\" "
               "spellcheck=\"false\" placeholder=\"タイトルか URL（/ キー）\" "
               "aria-describedby=\"count\"><output id=\"count\" for=\"q\" "
               "aria-live=\"polite\"></output>");
    m_out.line("</div>");
    m_out.line("</header>");
    m_out.line("<main>");
}

void Utf8Page::closeList()
{
    if (m_listOpen)
        m_out.line("</ul>");
    m_listOpen = false;
}

void Utf8Page::closeFoldersTo(qsizetype depth)
{
    closeList();
    while (m_open.size() > depth) {
        m_out.line("</details>");
        m_open.removeLast();
    }
}

void Utf8Page::openFolder(const QString &name)
{
    m_open.append(name);
    // A heading a level deeper for each level of folders, so that a screen reader moves from
    // folder to folder and knows where it is; HTML has six.
    const char level = char('1' + std::min<qsizetype>(m_open.size(), 5));
    const char heading[] = {'h', level};
    m_out.put("<details open><summary class=\"FolderName\"><");
    m_out.put(QByteArrayView(heading, 2));
    m_out.put(">");
    putHtmlText(m_out, name);
    m_out.put("</");
    m_out.put(QByteArrayView(heading, 2));
    m_out.put("></summary>");
    m_out.endLine();
}

void Utf8Page::beginFolder(const Folder &folder)
{
    const QStringList &path = folder.path;
    if (path.isEmpty()) {
        closeFoldersTo(0);
        return;
    }
    // The folders open that lead to this one stay open; any that do not are closed, and a
    // level that the source left out is opened under its name.
    qsizetype common = 0;
    while (common < m_open.size() && common < path.size() - 1 && m_open[common] == path[common])
        ++common;
    closeFoldersTo(common);
    for (qsizetype i = common; i < path.size(); ++i)
        openFolder(path[i]);
}

void Utf8Page::putHref(const Link &link)
{
    if (putPlainHref(m_out, link.url))
        return;
    m_href.resize(0);
    appendHrefText(m_href, link.url);
    // The href text is ASCII or UTF-8 with nothing to escape but "&".
    qsizetype from = 0;
    for (qsizetype at; (at = m_href.indexOf('&', from)) >= 0; from = at + 1) {
        m_out.put(QByteArrayView(m_href).sliced(from, at - from));
        m_out.put("&amp;");
    }
    m_out.put(QByteArrayView(m_href).sliced(from));
}

void Utf8Page::putIcon(const Link &link)
{
    const LinkIcon *icon = m_icons->iconFor(link);
    int number = -1;
    if (icon && !icon->data.isEmpty() && isPlainMimeType(icon->mimeType)) {
        const auto known = m_iconByPointer.constFind(icon);
        if (known != m_iconByPointer.constEnd()) {
            number = *known;
        } else {
            const QByteArray key = icon->mimeType + '\0' + icon->data;
            const auto same = m_iconByBytes.constFind(key);
            if (same != m_iconByBytes.constEnd()) {
                number = *same;
            } else {
                number = int(m_iconList.size());
                m_iconList.append(icon);
                m_iconByBytes.insert(key, number);
            }
            m_iconByPointer.insert(icon, number);
        }
    }
    if (number < 0) {
        // The same room as an icon, so that the titles line up.
        m_out.put("<svg class=\"icon\" aria-hidden=\"true\"></svg>");
        return;
    }
    m_out.put("<svg class=\"icon\" aria-hidden=\"true\"><use href=\"#i");
    m_out.put(QByteArray::number(number));
    m_out.put("\"/></svg>");
}

void Utf8Page::link(const Link &link)
{
    // A shortcut that went away since its folder was listed has nothing to show.
    if (!link.present)
        return;
    if (!m_listOpen) {
        m_out.line("<ul class=\"FileList\">");
        m_listOpen = true;
    }
    m_out.put("<li><a href=\"");
    putHref(link);
    // A script address opens in the page itself, whose policy stops it from running.
    if (m_newWindow && !isScriptAddress(link.url))
        m_out.put("\" target=\"_blank\" rel=\"noopener\">");
    else
        m_out.put("\">");
    if (m_icons)
        putIcon(link);
    putHtmlText(m_out, link.title.isEmpty() ? link.url : link.title);
    m_out.put("</a>");
    if (m_comments && !link.comment.isEmpty()) {
        // Escaped like every other text: a comment's markup would need the page to trust it.
        m_out.put("<span class=\"BVKComment\">");
        putHtmlText(m_out, link.comment);
        m_out.put("</span>");
    }
    m_out.put("</li>");
    m_out.endLine();
}

void Utf8Page::endFolder()
{
    closeList();
}

void Utf8Page::end()
{
    QString version;
    ReadVersionValue(10, version);
    QByteArray footer("<footer><a href=\"");
    footer += TalvensaWebPage;
    footer += "\" target=\"_blank\" rel=\"noopener\">Talvensa ";
    appendHtmlText(footer, version);
    footer += "</a></footer>";
    closeFoldersTo(0);
    m_out.line("</main>");
    if (!m_iconList.isEmpty()) {
        m_out.line("<svg class=\"icons\" aria-hidden=\"true\">");
        for (qsizetype i = 0; i < m_iconList.size(); ++i) {
            m_out.put("<symbol id=\"i");
            m_out.put(QByteArray::number(i));
            m_out.put("\" viewBox=\"0 0 16 16\"><image width=\"16\" height=\"16\" href=\"data:");
            m_out.put(m_iconList[i]->mimeType);
            m_out.put(";base64,");
            m_out.put(m_iconList[i]->data.toBase64());
            m_out.put("\"/></symbol>");
            m_out.endLine();
        }
        m_out.line("</svg>");
    }
    m_out.line(footer);
    putBlock("script", scriptText());
    m_out.line("</body>");
    m_out.line("</html>");
}
