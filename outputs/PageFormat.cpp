// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "outputs/PageFormat.h"

#include "outputs/ClassicPage.h"
#include "outputs/NetscapeExport.h"
#include "outputs/Utf8Page.h"

namespace {

struct FormatName
{
    PageFormat format;
    const char *name;
};
constexpr FormatName Names[] = {
    {PageFormat::Page, "page"},
    {PageFormat::Html, "html"},
    {PageFormat::Netscape, "netscape"},
};

} // namespace

std::optional<PageFormat> pageFormatFromName(QStringView name)
{
    for (const FormatName &entry : Names) {
        if (name == QLatin1StringView(entry.name))
            return entry.format;
    }
    return std::nullopt;
}

QString pageFormatName(PageFormat format)
{
    for (const FormatName &entry : Names) {
        if (entry.format == format)
            return QString::fromLatin1(entry.name);
    }
    return QString();
}

std::unique_ptr<DocumentWriter> makeDocumentWriter(PageFormat format, PageOutput &out,
                                                   const TGlobalVariant &settings,
                                                   IconLookup *icons)
{
    switch (format) {
    case PageFormat::Page:
        return std::make_unique<ClassicPage>(out, settings);
    case PageFormat::Html:
        return std::make_unique<Utf8Page>(out, settings, icons);
    case PageFormat::Netscape:
        return std::make_unique<NetscapeExport>(out, settings, icons);
    }
    return nullptr;
}
