// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "outputs/PageText.h"

#include "platform/FileNames.h"
#include "platform/ShiftJis.h"

void appendNameText(QByteArray &out, QStringView name)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        // A byte of the name that is not UTF-8 is written as it is: the page is Shift-JIS, so a
        // name made on a Shift-JIS system reads right. It is never "<" or ">" (those are ASCII).
        const int byte = escapedFileNameByte(name, i);
        if (c != QLatin1Char('<') && c != QLatin1Char('>') && byte < 0)
            continue;
        appendShiftJis(out, name.sliced(from, i - from));
        if (byte >= 0)
            out += char(byte);
        else
            out += c == QLatin1Char('<') ? "&lt;" : "&gt;";
        from = i + 1;
    }
    appendShiftJis(out, name.sliced(from));
}

void putText(PageOutput &out, QStringView text)
{
    QByteArray &scratch = out.scratch();
    scratch.resize(0);
    appendShiftJis(scratch, text);
    out.put(scratch);
}
