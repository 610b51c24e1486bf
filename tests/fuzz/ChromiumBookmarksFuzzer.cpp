// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

// The Chromium-family "Bookmarks" JSON reader.
//
// Input: the file's bytes.
// Properties: the reader ends (no crash, no hang) and either refuses the file with a reason or
// gives a page that holds checkBookmarkPage's rules; a file that is no JSON object with a
// "roots" object is always refused.

#include "BookmarkFuzzSupport.h"

#include "sources/ChromiumBookmarks.h"

#include <QJsonDocument>
#include <QJsonObject>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    LinkTree tree;
    QString error;
    const bool read = readChromiumBookmarks(file, tree, error);
    const QJsonDocument json =
        QJsonDocument::fromJson(file.startsWith("\xEF\xBB\xBF") ? file.sliced(3) : file);
    FUZZ_CHECK(!read || json.object().value(QLatin1StringView("roots")).isObject());
    if (!read) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    checkBookmarkPage(std::move(tree));
    return 0;
}
