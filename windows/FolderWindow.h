// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "windows/SecondaryWindow.h"

class QFrame;
class QGroupBox;
class QLabel;
class QRadioButton;
class QTimer;
class TPictureButton;
class TShellTreeView;

// The window in which the user chooses the folder the page is made from: the standard Favorites
// folder, or any folder picked in the folder tree. The choice is stored in
// Document.FavoriteFolder, always as a path, and the settings file written, only when the user
// answers Yes on closing. The radio buttons and the tree keep their state between showings.
//
// A top-level window: the main window disables itself while this one is open, which must not
// disable this one too.
class TfrmFavoriteFolderSelect final : public TSecondaryWindow
{
    Q_OBJECT

public:
    explicit TfrmFavoriteFolderSelect(QWidget *mainWindow);

    void Timer1Timer();
    void btnCloseClick();

private:
    void FormCreate();
    void createControls();
    void createChoicePanels();
    void createSelectedFolderGroup();
    void FormShow() override;
    void FormHide() override;

    QGroupBox *grbChangeFolder = nullptr;
    QFrame *pnlDefaultFavorite = nullptr;
    QLabel *lblDefaultFavorite = nullptr;
    QFrame *pnlUserFavorite = nullptr;
    QLabel *lblUserFavorite = nullptr;
    TShellTreeView *ShellTreeView1 = nullptr;
    QRadioButton *rbDefault = nullptr;
    QRadioButton *rbUser = nullptr;
    QGroupBox *grbSelectedFolder = nullptr;
    QLabel *lblSelectedFolder = nullptr;
    TPictureButton *btnClose = nullptr;
    QTimer *Timer1 = nullptr;
    bool m_shownBefore = false;
};
