// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/SystemColors.h"
#include "widgets/DialogSeam.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

namespace test_support {

// Answers the windows' questions from the test and records what was asked. Nothing is shown and
// nothing is handed to the desktop.
class ScriptedDialogs final : public DialogSeam
{
public:
    bool confirmAnswer = false;
    std::optional<TColor> colorAnswer;
    std::optional<QString> saveAnswer;
    qsizetype saveFilterAnswer = 0; // the file type chosen with saveAnswer
    // Runs while the save dialog would be open, before it answers; it may throw.
    std::function<void()> whileSaveDialogOpen;
    // Runs after a link or document has been recorded as opened; it may throw.
    std::function<void()> whenOpening;

    QStringList confirmations;
    QList<TColor> colorRequests;
    QList<SaveFileRequest> saveRequests;
    QStringList errors;
    QStringList messages;
    QList<QUrl> opened;

    void showMessage(QWidget *, const QString &text) override { messages << text; }
    void showError(QWidget *, const QString &text) override { errors << text; }
    bool confirm(QWidget *, const QString &text) override
    {
        confirmations << text;
        return confirmAnswer;
    }
    std::optional<SaveFileChoice> saveFileName(QWidget *, const SaveFileRequest &request) override
    {
        saveRequests << request;
        if (whileSaveDialogOpen)
            whileSaveDialogOpen();
        if (!saveAnswer)
            return std::nullopt;
        return SaveFileChoice{*saveAnswer, saveFilterAnswer};
    }
    std::optional<TColor> chooseColor(QWidget *, TColor initial) override
    {
        colorRequests << initial;
        return colorAnswer;
    }
    void openUrl(QWidget *, const QUrl &url) override
    {
        opened << url;
        if (whenOpening)
            whenOpening();
    }

    // What the desktop was asked to open, as the browser or mail program receives it.
    QStringList openedTargets() const
    {
        QStringList targets;
        for (const QUrl &url : opened)
            targets << url.toString(QUrl::FullyEncoded);
        return targets;
    }
};

} // namespace test_support
