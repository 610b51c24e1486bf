// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QByteArray>
#include <QStringView>

// An address given as text (a browser's bookmark, a shortcut's Unicode URL) as the href bytes of
// the page: every character outside printable ASCII percent-encoded as UTF-8, control characters
// included, so that an address stays on its line. Half a surrogate pair, which no text can
// encode, becomes the replacement character. Everything else, "%" included, stays as it is.
QByteArray percentEncodedUrl(QStringView url);
