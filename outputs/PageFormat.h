// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/LinkIcon.h"
#include "outputs/DocumentWriter.h"
#include "outputs/PageOutput.h"
#include "settings/DesignSettings.h"

#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

// The kinds of document a page job can write.
enum class PageFormat
{
    Page,     // the classic Shift-JIS page of the design (ClassicPage)
    Html,     // a UTF-8 HTML5 page with search
    Netscape, // a Netscape bookmark file, which browsers import
};

// The format a name stands for on the command line: "page", "html" or "netscape".
std::optional<PageFormat> pageFormatFromName(QStringView name);
QString pageFormatName(PageFormat format);
// Whether the format writes the dates of folders and links (the classic page does not).
bool pageFormatShowsDates(PageFormat format);

// The writer of a format, writing to out with the design settings (which must outlive it). A
// format that shows icons takes them from icons where it is given one (it must outlive the
// writer); the classic page never shows any.
std::unique_ptr<DocumentWriter> makeDocumentWriter(PageFormat format, PageOutput &out,
                                                   const TGlobalVariant &settings,
                                                   IconLookup *icons = nullptr);
