// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "outputs/PageOutput.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

// Text of a UTF-8 HTML page, escaped so that it can only ever be text: "&", "<" and ">" as
// entities (and '"' too in an attribute value). What a valid page cannot hold becomes U+FFFD:
// control characters other than TAB (line breaks become blanks: the texts are one line each),
// half a surrogate pair (which is also how a file name's byte that is no UTF-8 is held), and the
// two non-characters U+FFFE and U+FFFF.
void putHtmlText(PageOutput &out, QStringView text);
void putHtmlAttribute(PageOutput &out, QStringView text);
void appendHtmlText(QByteArray &out, QStringView text);

// Whether a MIME type is fit for a data: address in an attribute: letters, digits and ".+-/"
// alone.
bool isPlainMimeType(QByteArrayView type);

// Whether following an address could run script in the page that holds it (javascript:,
// vbscript:), as a browser reads its scheme: blanks and control characters before it are
// skipped, case does not count.
bool isScriptAddress(QStringView url);

// An address as the href of a UTF-8 page (before the attribute's own "&amp;"): blanks and
// control characters at either end dropped, as a browser drops them; a backslash before the
// query taken as the "/" that a browser reads for it in http, https, ftp, ws, wss and file
// addresses; then percent-encoded as UTF-8 are the characters that a valid address never holds
// as they are (controls, blanks, '"', '<', '>', '\\', '^', '`', '{', '|', '}', a "%" without two
// hexadecimal digits, a second "#") and half a surrogate pair (as U+FFFD). Other non-ASCII
// characters stay as they are: the page is UTF-8, and a browser encodes them the same way.
void appendHrefText(QByteArray &out, QStringView url);
