// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/LinkIcon.h"
#include "outputs/DocumentWriter.h"
#include "outputs/PageOutput.h"
#include "settings/DesignSettings.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QStringList>

// The UTF-8 page: one self-contained HTML5 file, styled by the design settings (with a dark
// scheme derived from them), its folders nested and foldable (<details open>), with a search box
// that filters the links as the user types. The style block and the script are inline and
// allowed by their hashes in the page's Content-Security-Policy, which allows nothing else but
// data: images where icons are shown; the page loads nothing. Without scripts every link shows
// and the search box does not. Lines end with CR LF.
class Utf8Page final : public DocumentWriter
{
public:
    // The settings are read while the page is written, and icons (null: no icons) is asked once
    // per link; both must outlive the writer.
    Utf8Page(PageOutput &out, const TGlobalVariant &settings, IconLookup *icons = nullptr);

    void begin() override;
    void beginFolder(const Folder &folder) override;
    void link(const Link &link) override;
    void endFolder() override;
    // Throws EVersionInfoError when the version for the footer cannot be read; the footer is
    // built whole before any of it is written.
    void end() override;

    // The text of the page's style element (UTF-8, lines ended by LF as a browser reads them):
    // the design settings as rules, then the dark scheme.
    static QByteArray styleText(const TGlobalVariant &settings, bool icons);
    // The text of the page's script element (the search), the same for every page.
    static QByteArrayView scriptText();
    // The policy of a page with that style text; images: data: images are allowed.
    static QByteArray contentSecurityPolicy(QByteArrayView style, bool images);

private:
    void closeFoldersTo(qsizetype depth);
    void openFolder(const QString &name);
    void closeList();
    void putIcon(const Link &link);
    void putHref(const Link &link);
    void putBlock(const char *tag, QByteArrayView text);

    PageOutput &m_out;
    const TGlobalVariant &m_settings;
    IconLookup *m_icons;
    bool m_newWindow;
    bool m_comments;
    // The names of the folders open in the page, from the top down.
    QStringList m_open;
    // A list of links is open in the folder being written.
    bool m_listOpen = false;
    QByteArray m_href;
    // Each icon once: its number in the page by the lookup's pointer and by its bytes, and the
    // icons in the order of their numbers.
    QHash<const LinkIcon *, int> m_iconByPointer;
    QHash<QByteArray, int> m_iconByBytes;
    QList<const LinkIcon *> m_iconList;
};
