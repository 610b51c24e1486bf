// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "windows/SecondaryWindow.h"

class QLabel;
class TPictureButton;
class TURLLink;

// The version window: the product name and version from the program's version block, the
// program icon, the rights notice with two links, and a close button. The texts are read once,
// when the window is created. The window disables the main window while it is shown.
//
// A top-level window: the main window it disables must not disable it too.
class TfrmVersion final : public TSecondaryWindow
{
    Q_OBJECT

public:
    explicit TfrmVersion(QWidget *mainWindow);

    void btnCloseClick();

private:
    void FormCreate();
    void FormShow() override;
    void setVersionText(const QString &text);

    QLabel *Label1 = nullptr;
    QLabel *Image2 = nullptr;
    QLabel *Label2 = nullptr;
    QWidget *Panel1 = nullptr;
    QLabel *Label3 = nullptr;
    TURLLink *URLLink1 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label6 = nullptr;
    TURLLink *URLLink3 = nullptr;
    TPictureButton *btnClose = nullptr;
};
