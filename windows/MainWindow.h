// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "generate/CreateHTMLFile.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>

class QAction;
class QFrame;
class QLabel;
class QSessionManager;
class QTimer;
class TGauge;
class TPictureButton;
class TSkinToolbar;

// The main window: the guide text, the create button that writes a page through the save dialog,
// the progress gauge, and the toolbar that opens the other windows, the help file and quits.
// Started with an output path it is the batch run instead: it shows the auto-run notice, writes
// the page one second later and closes itself.
class TfrmMain final : public QWidget
{
    Q_OBJECT

public:
    // arguments: the command line without the program's own name; the first one, if any, is the
    // output path of a batch run.
    explicit TfrmMain(const QStringList &arguments);
    ~TfrmMain() override;

    // The three windows the toolbar shows. Any of them may be null while it does not exist.
    void setSecondaryWindows(QWidget *setting, QWidget *folder, QWidget *version);

    // The guide and status texts of lblMessage.
    enum class MessageState
    {
        Idle = 1,    // how to make a page
        Writing = 2, // from the press of the create button to the end of the run
        AutoRun = 3, // the batch run's notice with its output path
    };

    // Puts the text of a message state into lblMessage; a value outside the enumeration empties
    // it.
    void SetMessageState(MessageState State);

    void btnCreateHTMLClick();
    void btnCreateCancelClick();
    void FormCloseQuery(bool &CanClose);
    void Timer1Timer();
    void TB_SetHTMLClick();
    void TB_SetFavoriteFolderClick();
    void TB_HelpClick();
    void TB_VersionClick();
    void TB_EndClick();

Q_SIGNALS:
    // The window has agreed to close: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormDestroy();
    // A batch run whose FormCreate ended early (its settings could not be loaded) does not run.
    // With a display the window stays for the user, as after any start-up error. Where nobody
    // can see it (offscreen, minimal), the run reports that no page was written and closes the
    // window, as a finished batch run does; otherwise the program would wait for ever.
    void endUnstartedBatchRun();
    void createControls();
    void createCommandButtons();
    void createMessagePanel();
    void createToolbar();
    bool writeWithStopButton(const QString &path, PageFormat format);
    // After a failed write that was refused before the output was touched (a Favourites
    // source that cannot be read as bookmarks, an output path that is one of the files the
    // page is made from), says why and gives true.
    bool reportRefusedWrite(const QString &path);
    // Shows one of the other windows, if it exists; true when it did.
    bool showSecondaryWindow(QWidget *window);
    void commitData(QSessionManager &manager);
    // Connects a handler so that an error escaping it goes to the error report.
    std::function<void()> reported(void (TfrmMain::*handler)());

    QStringList m_arguments;
    // The page writer, reading the program-wide settings; it reports on Gauge1 once FormCreate
    // has lent it.
    TCreateHTML m_createHTML;
    bool m_writing = false;
    QPointer<QWidget> m_frmSetting;
    QPointer<QWidget> m_frmFavoriteFolderSelect;
    QPointer<QWidget> m_frmVersion;

    TGauge *Gauge1 = nullptr;
    QLabel *Image1 = nullptr;
    TPictureButton *btnCreateHTML = nullptr;
    TPictureButton *btnCreateCancel = nullptr;
    TSkinToolbar *TBToolbar = nullptr;
    QAction *TB_SetHTML = nullptr;
    QAction *TB_SetFavoriteFolder = nullptr;
    QAction *TBSeparatorItem1 = nullptr;
    QAction *TB_Help = nullptr;
    QAction *TB_Version = nullptr;
    QAction *TB_End = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *lblMessage = nullptr;
    QTimer *Timer1 = nullptr;
};
