// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "platform/SystemColors.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QUrl;
class QWidget;

// One entry of the save dialog's file types.
struct SaveFileFilter
{
    QString description;  // "HTMLファイル(*.html;*.htm)", as the list shows it
    QStringList patterns; // "*.html", "*.htm"

    bool operator==(const SaveFileFilter &) const = default;
};

// What the save-file dialog is asked with.
struct SaveFileRequest
{
    QString initialFolder;
    QString defaultSuffix; // without the dot: "html"
    // The file types in the order listed. The first is selected, unless the user chose another
    // at the last save, which is then proposed again as the last file name is.
    QList<SaveFileFilter> filters;
    bool confirmOverwrite = true;
};

// What the user chose in the save dialog.
struct SaveFileChoice
{
    QString path;
    qsizetype filter = 0; // the index of the file type selected, in SaveFileRequest::filters
};

// The one place through which the windows ask a question, show a message, pick a file or a
// colour, and hand a link or a document to the desktop. Tests install their own answers with
// setDialogs(); the standard implementation shows real dialogs, except on a screenless platform
// (offscreen, minimal), where every message goes to standard error in UTF-8 and every question
// counts as dismissed.
class DialogSeam
{
public:
    virtual ~DialogSeam() = default;
    // A plain message box: application title as caption, no icon, one OK button.
    virtual void showMessage(QWidget *parent, const QString &text) = 0;
    // The application error report: error icon, application title as caption, the text as given.
    virtual void showError(QWidget *parent, const QString &text) = 0;
    // The confirmation box: caption "確認", question icon, "はい(&Y)" (default) and "いいえ(&N)"
    // (also Esc). True only for Yes.
    virtual bool confirm(QWidget *parent, const QString &text) = 0;
    // The save dialog. The chosen path and file type, or nothing when cancelled.
    virtual std::optional<SaveFileChoice> saveFileName(QWidget *parent,
                                                       const SaveFileRequest &request) = 0;
    // The basic colour dialog preselecting initial. The chosen colour, or nothing when cancelled.
    virtual std::optional<TColor> chooseColor(QWidget *parent, TColor initial) = 0;
    // Asks the desktop to open a web page, a mail address or a document, as a shell "open" would.
    // Whether anything took it is of no interest: nothing is reported.
    virtual void openUrl(QWidget *parent, const QUrl &url) = 0;
};

DialogSeam &dialogs();
// Installs a replacement (not owned); nullptr brings back the standard implementation.
void setDialogs(DialogSeam *seam);

// True on a platform that shows nothing to anybody (offscreen, minimal).
bool isScreenlessPlatform();

// The application-level error report: the error's text followed by ".".
void reportError(const QString &message);
