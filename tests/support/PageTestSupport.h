// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "generate/PageWriter.h"
#include "model/LinkSource.h"
#include "outputs/ClassicPage.h"
#include "platform/ShiftJis.h"
#include "settings/GlobalVariant.h"
#include "sources/ShortcutReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

// Helpers shared by the page generation tests: trees of shortcut files in a temporary folder
// and the default design settings.

// The defaults, as a program without a settings file loads them.
inline TGlobalVariant defaultSettings(const QTemporaryDir &dir)
{
    SettingsFilePath = dir.filePath(QStringLiteral("no-such-settings.ini"));
    GlobalVariant = TGlobalVariant();
    LoadSettings();
    return GlobalVariant;
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A shortcut file as the browser writes it (CR LF), with the comment section only when a
// comment is given. URL and comment are page bytes (Shift-JIS).
inline QByteArray shortcutBytes(const QByteArray &url, const QByteArray &comment = QByteArray())
{
    QByteArray bytes = "[InternetShortcut]\r\nURL=" + url + "\r\n";
    if (!comment.isNull())
        bytes += "[Comment]\r\nComment=" + comment + "\r\n";
    return bytes;
}

// The two values of a shortcut file as the classic page writes them (Shift-JIS; the href
// before its own escapes, the comment as written).
struct ShortcutValues
{
    QByteArray url;
    QByteArray comment;
};

inline ShortcutValues pageValuesOf(const Link &link)
{
    QByteArray scratch;
    const QByteArray url = ClassicPage::addressBytes(link, scratch).toByteArray();
    return {url, ClassicPage::commentBytes(link, scratch).toByteArray()};
}

inline ShortcutValues valuesOf(ShortcutReader &reader)
{
    Link link;
    ShortcutReader::fillLink(reader.valueViews(), link);
    return pageValuesOf(link);
}

// The folders and links a source gives, one line each, as the classic page writes them:
// "[caption]" for a folder, then "title -> href" and " # comment" for each of its links.
// Captions and titles are text; href and comment are the page's bytes (the comment shown as
// Shift-JIS text).
inline QString pageOutline(LinkSource &source)
{
    QString out;
    Link link;
    while (const Folder *folder = source.nextFolder()) {
        out += QLatin1Char('[') + folder->path.join(QLatin1Char('/')) + QStringLiteral("]\n");
        while (source.nextLink(link)) {
            const ShortcutValues values = pageValuesOf(link);
            out += QStringLiteral("  ") + link.title + QStringLiteral(" -> ") +
                   QString::fromLatin1(values.url);
            if (!values.comment.isEmpty())
                out += QStringLiteral(" # ") + fromShiftJis(values.comment);
            out += QLatin1Char('\n');
        }
    }
    return out;
}

// The values of the shortcut file at a native path, read as the page reads it; nothing when
// there is no such file.
inline std::optional<ShortcutValues> readShortcut(const QByteArray &nativePath)
{
    ShortcutReader reader;
    if (!reader.read(nativePath.constData()))
        return std::nullopt;
    return valuesOf(reader);
}

inline QByteArray sjis(const QString &text)
{
    return toShiftJis(text);
}

inline QByteArray goldenFile(const char *name)
{
    return readBytes(QStringLiteral(TALVENSA_TEST_DATA "/page/") + QLatin1String(name));
}

// A progress gauge that records what it is told: "max N" and "pos N".
class RecordingGauge final : public ProgressGauge
{
public:
    void setMaximum(int maximum) override { calls.append(QStringLiteral("max %1").arg(maximum)); }
    void setPosition(int position) override
    {
        calls.append(QStringLiteral("pos %1").arg(position));
    }
    QStringList calls;
};

// A Favourites folder "Fav" in a temporary folder, the default design and a page file beside
// the folder. m_job writes that page from that folder; a test changes what it needs.
class PageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QDir().mkpath(favorites());
        m_job.settings = defaultSettings(m_dir);
        m_job.sources = {favorites()};
        m_job.outputPath = output();
    }

    QString favorites() const { return m_dir.filePath(QStringLiteral("Fav")); }
    QString fav(const QString &relative) const { return favorites() + QLatin1Char('/') + relative; }
    QString output() const { return m_dir.filePath(QStringLiteral("page.html")); }

    // The example tree: News.url in the root, Tools/Editor.url with a comment.
    void writeExampleTree() const
    {
        writeBytes(fav(QStringLiteral("News.url")), shortcutBytes("file:///C:/memo/news.html"));
        writeBytes(fav(QStringLiteral("Tools/Editor.url")),
                   shortcutBytes("file:///C:/tools/editor.html", "daily use"));
    }

    // Writes the page of m_job and returns its bytes; fails the test when the write fails.
    QByteArray page()
    {
        m_report = writePage(m_job);
        EXPECT_TRUE(m_report.written()) << m_report.error.toStdString();
        return readBytes(m_job.outputPath);
    }

    // The body of a page between the title block and the footer.
    static QByteArray sections(const QByteArray &page)
    {
        const QByteArray start = "<div class=\"TitleMessage\">\r\n";
        const qsizetype from = page.indexOf("<br>\r\n", page.indexOf(start)) + 6;
        return page.mid(from, page.indexOf("<hr>") - from);
    }

    QTemporaryDir m_dir;
    PageJob m_job;
    PageWriteReport m_report; // of the last page()
};
