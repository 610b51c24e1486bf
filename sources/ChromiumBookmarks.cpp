// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "sources/ChromiumBookmarks.h"

#include "model/LinkTree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

#include <vector>

namespace {

QString stringMember(const QJsonObject &object, QLatin1StringView key)
{
    return object.value(key).toString();
}

// A date of the browser's, microseconds since 1601 written as a decimal string, as seconds since
// 1970; 0 where there is none, it is no number or it lies before 1970.
qint64 chromiumDate(const QJsonObject &object, QLatin1StringView key)
{
    constexpr qint64 SecondsFrom1601To1970 = 11644473600;
    bool ok = false;
    const qint64 microseconds = object.value(key).toString().toLongLong(&ok);
    if (!ok || microseconds <= 0)
        return 0;
    const qint64 seconds = microseconds / 1000000 - SecondsFrom1601To1970;
    return seconds > 0 ? seconds : 0;
}

// The dates of a folder of the tree from its node.
void dateFolder(LinkTree &tree, int folder, const QJsonObject &node)
{
    LinkTree::Node &entry = tree.folder(folder);
    entry.added = chromiumDate(node, QLatin1StringView("date_added"));
    entry.modified = chromiumDate(node, QLatin1StringView("date_modified"));
}

} // namespace

bool looksLikeJsonObject(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    for (const char c : bytes) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return c == '{';
    }
    return false;
}

bool readChromiumBookmarks(QByteArrayView bytes, LinkTree &tree, QString &error)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QJsonParseError parseError;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(bytes.data(), bytes.size()), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("not valid JSON (%1 at byte %2)")
                    .arg(parseError.errorString())
                    .arg(parseError.offset);
        return false;
    }
    const QJsonValue roots = document.object().value(QLatin1StringView("roots"));
    if (!roots.isObject()) {
        error = QStringLiteral("JSON without a \"roots\" object");
        return false;
    }

    // The nodes are taken with a stack of their own: each level is a folder of the tree and
    // the children of its node still to be read.
    struct Level
    {
        int folder;
        QJsonArray children;
        qsizetype next = 0;
    };
    std::vector<Level> levels;
    auto enter = [&](int folder, const QJsonObject &node) {
        levels.push_back({folder, node.value(QLatin1StringView("children")).toArray()});
    };
    for (const char *key : {"bookmark_bar", "other", "synced"}) {
        const QJsonValue container = roots.toObject().value(QLatin1StringView(key));
        if (!container.isObject())
            continue;
        const QJsonObject node = container.toObject();
        QString name = stringMember(node, QLatin1StringView("name"));
        if (name.isEmpty())
            name = QLatin1StringView(key);
        const int top = tree.addFolder(0, name, true);
        dateFolder(tree, top, node);
        tree.folder(top).toolbar = QLatin1StringView(key) == QLatin1StringView("bookmark_bar");
        enter(top, node);
        while (!levels.empty()) {
            Level &level = levels.back();
            if (level.next >= level.children.size()) {
                levels.pop_back();
                continue;
            }
            const QJsonObject child = level.children.at(level.next++).toObject();
            const QString type = stringMember(child, QLatin1StringView("type"));
            if (type == QLatin1StringView("url")) {
                Link &link =
                    tree.addBookmark(level.folder, stringMember(child, QLatin1StringView("name")),
                                     stringMember(child, QLatin1StringView("url")));
                link.added = chromiumDate(child, QLatin1StringView("date_added"));
                link.modified = chromiumDate(child, QLatin1StringView("date_modified"));
                // The browser's icon database keeps icons by page address.
                link.iconKey = link.url;
            } else if (type == QLatin1StringView("folder")) {
                const int folder =
                    tree.addFolder(level.folder, stringMember(child, QLatin1StringView("name")));
                if (folder < 0) {
                    error = LinkTree::tooDeepError();
                    return false;
                }
                dateFolder(tree, folder, child);
                enter(folder, child);
            }
        }
    }
    tree.finish();
    return true;
}
