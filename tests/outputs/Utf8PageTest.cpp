// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "outputs/ColorContrast.h"
#include "outputs/HtmlText.h"
#include "outputs/PageFormat.h"
#include "outputs/Utf8Page.h"
#include "settings/ColorText.h"

#include "support/PageTestSupport.h"

#include <QCryptographicHash>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

namespace {

struct TestFolder
{
    QStringList path;
    QList<Link> links;
};

Link makeLink(const QString &title, const QString &url, const QString &comment = QString(),
              const QString &icon = QString())
{
    Link link;
    link.title = title;
    link.url = url;
    link.comment = comment;
    link.commentIsMarkup = true;
    link.iconKey = icon;
    return link;
}

// Icons by key: "a" and "a2" are the same bytes in two objects, "b" other bytes, "bad" an icon
// whose type could break out of its attribute; every other key has none.
class FakeIcons final : public IconLookup
{
public:
    const LinkIcon *iconFor(const Link &link) override
    {
        ++asked;
        if (link.iconKey == u"a")
            return &m_a;
        if (link.iconKey == u"a2")
            return &m_a2;
        if (link.iconKey == u"b")
            return &m_b;
        if (link.iconKey == u"bad")
            return &m_bad;
        return nullptr;
    }
    int asked = 0;

private:
    LinkIcon m_a{"\x89PNG-a", "image/png"};
    LinkIcon m_a2{"\x89PNG-a", "image/png"};
    LinkIcon m_b{"<svg/>", "image/svg+xml"};
    LinkIcon m_bad{"x", "image/png\" onload=\"x"};
};

// The page that the writer the program picks for the format makes of folders, as a browser
// reads it (CR LF as LF).
QString writeHtml(const QList<TestFolder> &folders, const TGlobalVariant &settings,
                  IconLookup *icons = nullptr)
{
    const int fd = ::memfd_create("page", MFD_CLOEXEC);
    EXPECT_GE(fd, 0);
    PageOutput out(fd);
    const auto writer = makeDocumentWriter(PageFormat::Html, out, settings, icons);
    EXPECT_TRUE(writer);
    writer->begin();
    for (const TestFolder &entry : folders) {
        Folder folder;
        folder.path = entry.path;
        writer->beginFolder(folder);
        for (const Link &link : entry.links)
            writer->link(link);
        writer->endFolder();
    }
    writer->end();
    EXPECT_TRUE(out.flush());
    QByteArray bytes(qsizetype(out.written()), '\0');
    EXPECT_EQ(::pread(fd, bytes.data(), size_t(bytes.size()), 0), bytes.size());
    ::close(fd);
    EXPECT_TRUE(bytes.isValidUtf8());
    // Every line ends with CR LF, the last one included.
    EXPECT_TRUE(bytes.endsWith("</html>\r\n"));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
    return QString::fromUtf8(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString between(const QString &text, const QString &open, const QString &close)
{
    const qsizetype start = text.indexOf(open);
    if (start < 0)
        return QStringLiteral("<missing>");
    const qsizetype from = start + open.size();
    return text.mid(from, text.indexOf(close, from) - from);
}

QString hashSource(const QString &text)
{
    return QStringLiteral("'sha256-") +
           QString::fromLatin1(
               QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toBase64()) +
           QLatin1Char('\'');
}

// The main part of a page: the lines between <main> and </main>.
QString mainPart(const QString &page)
{
    return between(page, QStringLiteral("<main>\n"), QStringLiteral("</main>"));
}

class Utf8PageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_settings = defaultSettings(m_dir);
    }
    QTemporaryDir m_dir;
    TGlobalVariant m_settings;
};

} // namespace

TEST_F(Utf8PageTest, HeadIsHtml5WithAPolicyThatAllowsExactlyItsOwnStyleAndScript)
{
    const QString page =
        writeHtml({{{}, {makeLink(QStringLiteral("a"), QStringLiteral("x:y"))}}}, m_settings);
    EXPECT_TRUE(page.startsWith(QStringLiteral(
        "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; ")))
        << page.left(400).toStdString();
    const QString policy =
        between(page, QStringLiteral("http-equiv=\"Content-Security-Policy\" content=\""),
                QStringLiteral("\""));
    // The hashes are of the texts exactly as the browser reads them.
    const QString style = between(page, QStringLiteral("<style>"), QStringLiteral("</style>"));
    const QString script = between(page, QStringLiteral("<script>"), QStringLiteral("</script>"));
    EXPECT_TRUE(policy.contains(QStringLiteral("style-src ") + hashSource(style + QString())))
        << policy.toStdString();
    EXPECT_TRUE(policy.contains(QStringLiteral("script-src ") + hashSource(script)));
    EXPECT_FALSE(policy.contains(QStringLiteral("unsafe")));
    EXPECT_FALSE(policy.contains(QStringLiteral("img-src"))) << "no icons, no images";
    EXPECT_EQ(page.count(QStringLiteral("<style")), 1);
    EXPECT_EQ(page.count(QStringLiteral("<script")), 1);
    EXPECT_FALSE(page.contains(QStringLiteral(" style="))) << "no inline style attributes";
    EXPECT_TRUE(page.contains(QStringLiteral("<title>お気に入り一覧</title>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<h1 class=\"TitleMessage\">Favorite</h1>")));
    // The box is shown by the script alone.
    EXPECT_TRUE(page.contains(QStringLiteral("<div class=\"search\" role=\"search\" hidden>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<label for=\"q\">")));
    EXPECT_TRUE(page.contains(QStringLiteral("<footer><a href=\"https://talvensa.example/\"")));
}

TEST_F(Utf8PageTest, FoldersNestAsTheirPathsSay)
{
    const Link l = makeLink(QStringLiteral("t"), QStringLiteral("https://e.example/"));
    const QString page =
        writeHtml({{{}, {l}},
                   {{QStringLiteral("A")}, {l}},
                   {{QStringLiteral("A"), QStringLiteral("B")}, {}},
                   // A sibling of the same name is a folder of its own.
                   {{QStringLiteral("A"), QStringLiteral("B")}, {l}},
                   {{QStringLiteral("C")}, {}},
                   // Levels the source left out are opened by their names.
                   {{QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")}, {l}}},
                  m_settings);
    QString outline = mainPart(page);
    outline.replace(QRegularExpression(QStringLiteral("<li>.*</li>")), QStringLiteral("L"));
    outline.replace(QStringLiteral("<details open><summary class=\"FolderName\">"),
                    QStringLiteral("+"));
    outline.replace(QRegularExpression(QStringLiteral("<h(\\d)>(.*)</h\\d></summary>")),
                    QStringLiteral("\\2\\1"));
    outline.replace(QStringLiteral("<ul class=\"FileList\">\n"), QString());
    outline.replace(QStringLiteral("</ul>\n"), QString());
    outline.replace(QStringLiteral("</details>"), QStringLiteral("-"));
    EXPECT_EQ(outline.toStdString(), "L\n+A2\nL\n+B3\n-\n+B3\nL\n-\n-\n+C2\n-\n+X2\n+Y3\n+Z4\nL\n"
                                     "-\n-\n-\n");
}

TEST_F(Utf8PageTest, EveryTextIsEscapedAndCommentsArePlainText)
{
    m_settings.Document.BVKCommentFlag = true;
    m_settings.Document.Title = QStringLiteral("</title><script>");
    const QString page =
        writeHtml({{{QStringLiteral("a & <b>")},
                    {makeLink(QStringLiteral("Tom & \"J\" <i>"), QStringLiteral("https://e/"),
                              QStringLiteral("<b>bold</b> &amp;")),
                     // Control characters, a lone surrogate (an undecodable file name byte),
                     // a line break, a non-character.
                     makeLink(QStringLiteral("a\x01") + QChar(0xDC81) + QStringLiteral("\nb") +
                                  QChar(0xFFFF) + QChar(0x85),
                              QStringLiteral("https://e/2")),
                     makeLink(QString(), QStringLiteral("https://e/untitled"))}}},
                  m_settings);
    const QString main = mainPart(page);
    EXPECT_TRUE(main.contains(QStringLiteral("<h2>a &amp; &lt;b&gt;</h2>")));
    EXPECT_TRUE(main.contains(QStringLiteral(">Tom &amp; \"J\" &lt;i&gt;</a><span "
                                             "class=\"BVKComment\">&lt;b&gt;bold&lt;/b&gt; "
                                             "&amp;amp;</span></li>")))
        << main.toStdString();
    EXPECT_TRUE(main.contains(QStringLiteral(">a\uFFFD\uFFFD b\uFFFD\uFFFD</a></li>")));
    EXPECT_TRUE(main.contains(QStringLiteral(">https://e/untitled</a>"))) << "no empty link";
    EXPECT_TRUE(page.contains(QStringLiteral("<title>&lt;/title&gt;&lt;script&gt;</title>")));

    m_settings.Document.BVKCommentFlag = false;
    const QString without = writeHtml(
        {{{}, {makeLink(QStringLiteral("t"), QStringLiteral("https://e/"), QStringLiteral("c"))}}},
        m_settings);
    EXPECT_FALSE(mainPart(without).contains(QStringLiteral("BVKComment")));
}

TEST(HtmlTextTest, HrefsKeepTheAddressAndHoldNothingAnAttributeOrAValidAddressCannot)
{
    const auto href = [](const QString &url) {
        QByteArray out;
        appendHrefText(out, url);
        return QString::fromUtf8(out).toStdString();
    };
    EXPECT_EQ(href(QStringLiteral("https://e.example/a?b=1&c=2#f")),
              "https://e.example/a?b=1&c=2#f");
    // What browsers drop at the ends is dropped; inside, blanks and quotes are encoded.
    EXPECT_EQ(href(QStringLiteral("  https://e/a b\"<>`{|}^\t")),
              "https://e/a%20b%22%3C%3E%60%7B%7C%7D%5E");
    // Backslashes are the slashes a browser reads them as, before the query only.
    EXPECT_EQ(href(QStringLiteral("file:///C:\\memo\\a.html?x=\\")),
              "file:///C:/memo/a.html?x=%5C");
    EXPECT_EQ(href(QStringLiteral("urn:a\\b")), "urn:a%5Cb");
    // A "%" that starts no escape is one; one that does is kept; a second "#" is encoded.
    EXPECT_EQ(href(QStringLiteral("https://e/100%/%E3%81%82#a#b")),
              "https://e/100%25/%E3%81%82#a%23b");
    // Unicode stays as UTF-8; controls and half a surrogate pair do not.
    EXPECT_EQ(href(QStringLiteral("https://例え.jp/パス\x01") + QChar(0xD800) + QChar(0x85)),
              "https://例え.jp/パス%01%EF%BF%BD%C2%85");
    EXPECT_EQ(href(QStringLiteral("https://e/") + QString::fromUcs4(U"😀")), "https://e/😀");

    EXPECT_TRUE(isScriptAddress(QStringLiteral("javascript:alert(1)")));
    EXPECT_TRUE(isScriptAddress(QStringLiteral(" \x01JavaScript:x")));
    EXPECT_TRUE(isScriptAddress(QStringLiteral("VBSCRIPT:x")));
    EXPECT_FALSE(isScriptAddress(QStringLiteral("https://e/javascript:")));
    EXPECT_FALSE(isScriptAddress(QStringLiteral("data:text/plain,x")));
}

TEST_F(Utf8PageTest, LinksOpenInANewWindowPerTheFlagButScriptAddressesNever)
{
    const QList<TestFolder> folders = {
        {{},
         {makeLink(QStringLiteral("w"), QStringLiteral("https://e/?a=1&b=2")),
          makeLink(QStringLiteral("js"), QStringLiteral("  javascript:alert(1)"))}}};
    m_settings.Document.Link.OpenRightWindowFlag = true;
    QString main = mainPart(writeHtml(folders, m_settings));
    EXPECT_TRUE(main.contains(QStringLiteral(
        "<li><a href=\"https://e/?a=1&amp;b=2\" target=\"_blank\" rel=\"noopener\">w</a></li>")))
        << main.toStdString();
    EXPECT_TRUE(main.contains(QStringLiteral("<li><a href=\"javascript:alert(1)\">js</a></li>")));
    m_settings.Document.Link.OpenRightWindowFlag = false;
    main = mainPart(writeHtml(folders, m_settings));
    EXPECT_FALSE(main.contains(QStringLiteral("target=")));
}

TEST_F(Utf8PageTest, SettingsStyleThePageAndCannotCloseTheStyleElement)
{
    QString style = QString::fromUtf8(Utf8Page::styleText(m_settings, false));
    EXPECT_TRUE(style.contains(QStringLiteral(".TitleMessage {\n\tfont-size: 20px;\n\ttext-align: "
                                              "center;\n\tcolor: #008040;\n\tfont-style: normal;\n"
                                              "\tfont-weight: bold;")))
        << style.toStdString();
    EXPECT_TRUE(style.contains(QStringLiteral("a:hover {\n\tcolor: #0000FF;\n\tbackground-color: "
                                              "#FFFF00;\n}")));
    EXPECT_TRUE(style.contains(QStringLiteral("a {\n\ttext-decoration: none;\n}")));
    EXPECT_FALSE(style.contains(QStringLiteral("font-family")));
    EXPECT_FALSE(style.contains(QStringLiteral(".icon")));

    m_settings.Title.Font = QStringLiteral("x</style><script>");
    m_settings.Folder.Font = QStringLiteral("ＭＳ Ｐゴシック");
    m_settings.Folder.Italic = true;
    m_settings.Title.Bold = false;
    m_settings.Document.Link.UnderbarFlag = true;
    m_settings.Document.Link.BackColorFlag = false;
    style = QString::fromUtf8(Utf8Page::styleText(m_settings, true));
    EXPECT_FALSE(style.contains(QLatin1Char('<')));
    EXPECT_TRUE(style.contains(QStringLiteral("font-family: x\\3C /style>\\3C script>;")));
    EXPECT_TRUE(style.contains(QStringLiteral("font-family: ＭＳ Ｐゴシック;")));
    EXPECT_TRUE(style.contains(QStringLiteral("font-style: italic;")));
    EXPECT_TRUE(style.contains(QStringLiteral("font-weight: normal;")));
    EXPECT_TRUE(style.contains(QStringLiteral("a {\n\ttext-decoration: underline;\n}")));
    EXPECT_TRUE(style.contains(QStringLiteral("a:hover {\n\tcolor: #0000FF;\n}")));
    EXPECT_TRUE(style.contains(QStringLiteral(".icon {")));
}

TEST_F(Utf8PageTest, DarkSchemeKeepsTextReadableWhateverTheSettings)
{
    struct Palette
    {
        TColor back, text, link, hover, highlight;
    };
    // Colours in the settings' layout (red lowest): defaults, black everywhere, a yellow page
    // with yellow links, a page that is dark already with dark links, white text.
    const Palette palettes[] = {{0xFFFFFF, 0x000000, 0xFF0000, 0xFF0000, 0x00FFFF},
                                {0x000000, 0x000000, 0x000000, 0x000000, 0x000000},
                                {0x00FFFF, 0x00FFFF, 0x00FFFF, 0x00FFFF, 0x00FFFF},
                                {0x202020, 0x400000, 0x800000, 0x000080, 0xFFFFFF},
                                {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}};
    for (const Palette &p : palettes) {
        TGlobalVariant s = m_settings;
        s.Document.BackColor = p.back;
        s.Title.Color = s.Folder.Color = s.Document.BVK.Color = p.text;
        s.Document.Link.LinkColor = s.Document.Link.VisitedColor = s.Document.Link.ActiveColor =
            p.link;
        s.Document.Link.HoverColor = p.hover;
        s.Document.Link.BackColor = p.highlight;
        const QString style = QString::fromUtf8(Utf8Page::styleText(s, false));
        const QString dark = style.mid(style.indexOf(QStringLiteral("@media (prefers-color")));
        const auto colourOf = [&dark](const QString &selector, const char *property) {
            const QString rule = between(dark, QLatin1Char('\t') + selector + QStringLiteral(" {"),
                                         QStringLiteral("}"));
            const QString value =
                between(rule, QLatin1Char('\t') + QLatin1String(property) + QStringLiteral(": #"),
                        QStringLiteral(";"));
            return HexTextToColor(value);
        };
        const TColor background = colourOf(QStringLiteral("body"), "background-color");
        EXPECT_LT(relativeLuminance(background), 0.05);
        for (const char *selector : {"body", ".TitleMessage", ".FolderName", "a:link", "a:visited",
                                     "a:active", ".BVKComment"}) {
            const TColor colour = colourOf(QLatin1String(selector), "color");
            EXPECT_GE(contrastRatio(colour, background), 4.5)
                << selector << " on " << ColorToHexText(background).toStdString();
        }
        const TColor hover = colourOf(QStringLiteral("a:hover"), "color");
        const TColor behind = colourOf(QStringLiteral("a:hover"), "background-color");
        EXPECT_GE(contrastRatio(hover, behind), 4.5) << ColorToHexText(behind).toStdString();
    }
    // A colour that reads already is left as the user chose it.
    EXPECT_EQ(readableOnDark(0x00FFFF, 0x171717), 0x00FFFFu);
    EXPECT_NEAR(contrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
}

TEST_F(Utf8PageTest, EachIconIsWrittenOnceAndLinksWithoutOneKeepTheirPlace)
{
    FakeIcons icons;
    const QString page = writeHtml({{{},
                                     {makeLink(QStringLiteral("1"), QStringLiteral("https://e/1"),
                                               QString(), QStringLiteral("a")),
                                      makeLink(QStringLiteral("2"), QStringLiteral("https://e/2"),
                                               QString(), QStringLiteral("a2")),
                                      makeLink(QStringLiteral("3"), QStringLiteral("https://e/3"),
                                               QString(), QStringLiteral("b")),
                                      makeLink(QStringLiteral("4"), QStringLiteral("https://e/4")),
                                      makeLink(QStringLiteral("5"), QStringLiteral("https://e/5"),
                                               QString(), QStringLiteral("bad")),
                                      makeLink(QStringLiteral("6"), QStringLiteral("https://e/6"),
                                               QString(), QStringLiteral("a"))}}},
                                   m_settings, &icons);
    EXPECT_EQ(icons.asked, 6);
    const QString main = mainPart(page);
    const QString placeholder = QStringLiteral("<svg class=\"icon\" aria-hidden=\"true\"></svg>");
    const auto uses = [](int n) {
        return QStringLiteral("<svg class=\"icon\" aria-hidden=\"true\"><use href=\"#i%1\"/></svg>")
            .arg(n);
    };
    EXPECT_TRUE(main.contains(uses(0) + QStringLiteral("1</a>"))) << main.toStdString();
    EXPECT_TRUE(main.contains(uses(0) + QStringLiteral("2</a>")));
    EXPECT_TRUE(main.contains(uses(1) + QStringLiteral("3</a>")));
    EXPECT_TRUE(main.contains(placeholder + QStringLiteral("4</a>")));
    EXPECT_TRUE(main.contains(placeholder + QStringLiteral("5</a>")));
    EXPECT_TRUE(main.contains(uses(0) + QStringLiteral("6</a>")));
    EXPECT_EQ(page.count(QStringLiteral("<symbol ")), 2);
    EXPECT_EQ(page.count(QStringLiteral("data:image/png;base64,") +
                         QString::fromLatin1(QByteArray("\x89PNG-a").toBase64())),
              1);
    EXPECT_TRUE(page.contains(QStringLiteral("data:image/svg+xml;base64,") +
                              QString::fromLatin1(QByteArray("<svg/>").toBase64())));
    EXPECT_FALSE(page.contains(QStringLiteral("onload")));
    const QString policy =
        between(page, QStringLiteral("http-equiv=\"Content-Security-Policy\" content=\""),
                QStringLiteral("\""));
    EXPECT_TRUE(policy.contains(QStringLiteral("; img-src data:;"))) << policy.toStdString();
    EXPECT_EQ(policy.count(QStringLiteral("-src")), 4);
}
