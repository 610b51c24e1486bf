// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "outputs/DocumentWriter.h"
#include "outputs/PageOutput.h"
#include "settings/DesignSettings.h"

#include <QByteArray>
#include <QByteArrayView>

// The classic page: a Shift-JIS HTML 4.0 page with the style block of the design settings, a
// title, one flat section per folder (its heading the path below the top, levels joined with
// "/") with a link line per link, and a footer that names the program and its version. Lines end
// with CR LF.
class ClassicPage final : public DocumentWriter
{
public:
    // The settings are read while the page is written; they must outlive the writer.
    ClassicPage(PageOutput &out, const TGlobalVariant &settings);

    void begin() override;
    void beginFolder(const Folder &folder) override;
    void link(const Link &link) override;
    void endFolder() override;
    // Throws EVersionInfoError when the version cannot be read; the footer is built whole
    // before any of it is written.
    void end() override;

    // The bytes of a link's address before the href's own escapes (hrefBytes): a shortcut's
    // typed address as Shift-JIS text (its stored bytes where it has them), a Unicode address
    // percent-encoded. A view into link or into scratch.
    static QByteArrayView addressBytes(const Link &link, QByteArray &scratch);
    // The bytes of a link's comment: a shortcut's comment as written (markup included), a
    // description as page text. A view into link or into scratch.
    static QByteArrayView commentBytes(const Link &link, QByteArray &scratch);

private:
    void linkLine(const Link &link);

    PageOutput &m_out;
    const TGlobalVariant &m_settings;
    QByteArray m_address;
    QByteArray m_comment;
};
