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
        enter(tree.addFolder(0, name, true), node);
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
                // The browser's icon database keeps icons by page address.
                link.iconKey = link.url;
            } else if (type == QLatin1StringView("folder")) {
                const int folder =
                    tree.addFolder(level.folder, stringMember(child, QLatin1StringView("name")));
                if (folder < 0) {
                    error = LinkTree::tooDeepError();
                    return false;
                }
                enter(folder, child);
            }
        }
    }
    tree.finish();
    return true;
}
