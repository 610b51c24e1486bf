// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "outputs/PageOutput.h"
#include "platform/ShiftJis.h"

#include <QByteArray>
#include <QStringView>

// The texts of the classic page, which is Shift-JIS: a character the code page cannot hold is
// written as a numeric character reference ("&#128512;"), so nothing is lost.

// The page the footer links to: the program's own web page.
inline constexpr char TalvensaWebPage[] = "https://talvensa.example/";

// A name (a folder's, a link's title) as page text: '<' and '>' as &lt; and &gt;, then Shift-JIS.
// A byte of a file name that is not UTF-8 (platform/FileNames.h) is written as it is: the page is
// Shift-JIS, so a name made on a Shift-JIS system reads right.
void appendNameText(QByteArray &out, QStringView name);

// Other text of the page (the settings' titles, the style block): Shift-JIS as it stands.
void putText(PageOutput &out, QStringView text);

// appendNameText() into the line being built. A name of characters that the code page holds,
// without "<" or ">", is encoded straight into the output; any other goes through
// appendNameText. Inline: every link's title comes through here.
inline void putName(PageOutput &out, QStringView name)
{
    const quint32 *const table = shiftJisTable();
    char *const start = out.room(2 * name.size());
    char *p = start;
    for (const QChar character : name) {
        const char16_t c = character.unicode();
        if (c < 0x80 && c != u'<' && c != u'>') {
            *p++ = char(c);
            continue;
        }
        const quint32 code = c < 0x80 ? 0 : table[c];
        if (code == 0) {
            QByteArray &scratch = out.scratch();
            scratch.resize(0);
            appendNameText(scratch, name);
            out.put(scratch);
            return;
        }
        if (code & 0x10000) {
            *p++ = char(code & 0xFF);
        } else {
            *p++ = char(code >> 8);
            *p++ = char(code & 0xFF);
        }
    }
    out.commit(p);
}
