// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/LinkIcon.h"
#include "outputs/DocumentWriter.h"
#include "outputs/PageOutput.h"
#include "settings/DesignSettings.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QStringView>

// A Netscape bookmark file, UTF-8, laid out as Firefox exports one: the doctype, the content
// type, a title and a heading, then the folders nested in lists as the source nests them, each
// folder an <H3> followed by its own <DL><p>, each link an <A>, a link's comment a <DD> after
// it. Chromium's importer reads such a file line by line and case-sensitively, so every folder
// heading, list start and end, link and description is one line of its own, tags and attribute
// names are upper case and every value is in double quotes. Lines end with LF.
//
// Dates are written as seconds since 1970 where the source knows them and they lie between 1970
// and 2^32 seconds; any other is left out, as an importer then takes the time of the import.
class NetscapeExport final : public DocumentWriter
{
public:
    // The titles come from the settings, which must outlive the writer, as must icons (none:
    // no link carries an icon).
    NetscapeExport(PageOutput &out, const TGlobalVariant &settings, IconLookup *icons = nullptr);

    void begin() override;
    void beginFolder(const Folder &folder) override;
    void link(const Link &link) override;
    void endFolder() override;
    void end() override;

private:
    // Opens a folder's heading and list one level below the lists open.
    void openFolder(QStringView name, const Folder *folder);
    void closeLists(qsizetype keep);
    void indent(qsizetype extra = 0);
    void putDate(const char *attribute, qint64 seconds);
    void putIcon(const Link &link);

    PageOutput &m_out;
    const TGlobalVariant &m_settings;
    IconLookup *m_icons;
    QStringList m_open; // the names of the folders whose lists are open, from the top down
    QHash<const LinkIcon *, QByteArray> m_iconText; // each icon's data: address, once
};
