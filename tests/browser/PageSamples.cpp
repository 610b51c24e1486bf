// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// Writes the UTF-8 pages that the browser and validity checks open, through the writer the
// program uses: PageSamples FOLDER writes FOLDER/search.html (the cases of the search, nested
// folders, escapes, a script address, comments and icons from a small lookup),
// FOLDER/plain.html (the same links with every flag of the design turned the other way, no
// icons) and, with a count, FOLDER/large.html (that many links in 100 folders, for timing).

#include "outputs/PageFormat.h"
#include "outputs/PageOutput.h"
#include "settings/GlobalVariant.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A 1x1 PNG (red) and a 1x1 PNG (blue).
const char RedPng[] =
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAIAAACQd1PeAAAADElEQVR4nGP4z8AAAAMBAQDJ/pLvAAAAAElFTkSuQmCC";
const char BluePng[] =
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAIAAACQd1PeAAAADElEQVR4nGNgYPgPAAEDAQAIicLsAAAAAElFTkSuQmCC";

// Icons by the link's icon key: "red" and "red-again" are the same bytes given as two objects,
// "blue" another; any other key has none.
class SampleIcons final : public IconLookup
{
public:
    SampleIcons()
    {
        m_red = {QByteArray::fromBase64(RedPng), "image/png"};
        m_redAgain = m_red;
        m_blue = {QByteArray::fromBase64(BluePng), "image/png"};
    }
    const LinkIcon *iconFor(const Link &link) override
    {
        if (link.iconKey == u"red")
            return &m_red;
        if (link.iconKey == u"red-again")
            return &m_redAgain;
        if (link.iconKey == u"blue")
            return &m_blue;
        return nullptr;
    }

private:
    LinkIcon m_red, m_redAgain, m_blue;
};

struct SampleLink
{
    QString title;
    QString url;
    QString comment = QString();
    QString icon = QString();
};

struct SampleFolder
{
    QStringList path;
    std::vector<SampleLink> links;
};

QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

std::vector<SampleFolder> searchTree()
{
    return {
        {{},
         {{u8("ALPHA release"), u8("https://example.org/alpha"), u8("最初の版"), u8("red")},
          {u8("ｶﾀｶﾅ 半角"), u8("https://example.org/half"), QString(), u8("red-again")}}},
        {{u8("カタカナ")},
         {{u8("カタカナの本"), u8("https://example.org/kana"), QString(), u8("blue")},
          {u8("ひらがな"), u8("https://example.org/hira")}}},
        {{u8("カタカナ"), u8("深い")},
         {{u8("Ｗｉｄｅ Ｌｅｔｔｅｒｓ"), u8("https://example.org/wide")},
          {u8("URL だけ"), u8("https://example.org/パス/only")}}},
        {{u8("空")}, {}},
        {{u8("Scripts")}, {{u8("bookmarklet"), u8("javascript:document.title='ran';void 0")}}},
        {{u8("記号 & <tag>")},
         {{u8("Tom & \"Jerry\" <b>"), u8("https://example.org/?a=1&b=\"2\" <x>"),
           u8("<b>markup</b> & more")}}},
    };
}

bool writePage(const QString &path, const TGlobalVariant &settings, IconLookup *icons,
               const std::vector<SampleFolder> &tree)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    PageOutput out(fd);
    const auto writer = makeDocumentWriter(PageFormat::Html, out, settings, icons);
    writer->begin();
    for (const SampleFolder &sample : tree) {
        Folder folder;
        folder.path = sample.path;
        writer->beginFolder(folder);
        for (const SampleLink &entry : sample.links) {
            Link link;
            link.title = entry.title;
            link.url = entry.url;
            link.comment = entry.comment;
            link.commentIsMarkup = true;
            link.iconKey = entry.icon;
            writer->link(link);
        }
        writer->endFolder();
    }
    writer->end();
    const bool written = out.flush();
    return ::close(fd) == 0 && written;
}

std::vector<SampleFolder> largeTree(int links)
{
    std::vector<SampleFolder> tree(100);
    for (int f = 1; f < 100; ++f)
        tree[f].path = QStringList{QStringLiteral("フォルダ %1").arg(f)};
    for (int i = 0; i < links; ++i)
        tree[i % 100].links.push_back(
            {QStringLiteral("リンク link %1 ニュース").arg(i),
             QStringLiteral("https://example.org/%1/page?id=%2").arg(i % 97).arg(i)});
    return tree;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: PageSamples FOLDER [LARGE-COUNT]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    SettingsFilePath = folder + QStringLiteral("/no-such-settings.ini");
    LoadSettings();
    TGlobalVariant settings = GlobalVariant;
    settings.Document.BVKCommentFlag = true;
    settings.Document.Link.OpenRightWindowFlag = true;
    SampleIcons icons;
    bool ok = writePage(folder + QStringLiteral("/search.html"), settings, &icons, searchTree());

    TGlobalVariant flipped = settings;
    flipped.Document.BVKCommentFlag = false;
    flipped.Document.Link.OpenRightWindowFlag = false;
    flipped.Document.Link.UnderbarFlag = true;
    flipped.Document.Link.BackColorFlag = false;
    flipped.Title.Bold = false;
    flipped.Title.Italic = true;
    flipped.Folder.Bold = true;
    flipped.Folder.Italic = true;
    flipped.Title.Font = QStringLiteral("serif");
    flipped.Folder.Font = QStringLiteral("ＭＳ Ｐゴシック");
    flipped.Document.Link.Font = QStringLiteral("sans-serif");
    flipped.Document.BVK.Font = QStringLiteral("monospace");
    flipped.Document.BackColor = 0x00FFFF; // yellow
    flipped.Document.Title = QStringLiteral("<お気に入り> & 一覧");
    ok = writePage(folder + QStringLiteral("/plain.html"), flipped, nullptr, searchTree()) && ok;

    if (argc > 2)
        ok = writePage(folder + QStringLiteral("/large.html"), settings, nullptr,
                       largeTree(std::atoi(argv[2]))) &&
             ok;
    return ok ? 0 : 1;
}
