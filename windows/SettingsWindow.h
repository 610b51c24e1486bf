// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "windows/SecondaryWindow.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimer;
class TPictureButton;

// The window in which the user edits the design of the generated page. It is a view over the
// design settings: every control is filled from them when the window is shown, and all of them
// are copied back, and the settings file written, only when the user answers Yes to the save
// question as the window closes.
//
// A top-level window: the main window disables itself while this one is open, which must not
// disable this one too.
class TfrmSetting final : public TSecondaryWindow
{
    Q_OBJECT

public:
    explicit TfrmSetting(QWidget *mainWindow);

    // Fills a font size box with the even pixel sizes 8px to 40px.
    void SetFontSizeItems(QComboBox *box);
    // Lets the user pick a new colour for one of the swatches.
    void ColorButtonClick(TPictureButton *button);
    void Timer1Timer();
    void btnBackClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormShow() override;
    void FormHide() override;
    void PaintBox1Paint();
    void createControls();
    void createTitleGroup();
    void createFolderGroup();
    void createLinkGroup();
    void createDocumentGroup();
    void createScreenDesignGroup();
    void setTabOrderOfGroups();

    QLabel *Image1 = nullptr;
    QWidget *PaintBox1 = nullptr;
    QTimer *Timer1 = nullptr;

    QGroupBox *grbTitle = nullptr;
    QComboBox *cmbTitleFont = nullptr;
    QLineEdit *txtTitle = nullptr;
    QComboBox *cmbTitleFontSize = nullptr;
    TPictureButton *btnTitleColor = nullptr;
    QCheckBox *chkTitleBold = nullptr;
    QCheckBox *chkTitleItalic = nullptr;

    QGroupBox *grbFolder = nullptr;
    QComboBox *cmbFolderFont = nullptr;
    QComboBox *cmbFolderFontSize = nullptr;
    TPictureButton *btnFolderColor = nullptr;
    QCheckBox *chkFolderBold = nullptr;
    QCheckBox *chkFolderItalic = nullptr;

    QGroupBox *grbLink = nullptr;
    QComboBox *cmbLinkFont = nullptr;
    QComboBox *cmbLinkFontSize = nullptr;
    QLabel *lblLink = nullptr;
    TPictureButton *btnLinkColor = nullptr;
    TPictureButton *btnVisitedColor = nullptr;
    TPictureButton *btnHoverColor = nullptr;
    TPictureButton *btnActiveColor = nullptr;
    QCheckBox *chkUnderBar = nullptr;
    QCheckBox *chkRollOverBackColor = nullptr;
    QLabel *lblRollOverBackColor = nullptr;
    TPictureButton *btnRollOverBackColor = nullptr;

    QGroupBox *grbDocument = nullptr;
    QLineEdit *txtDocumentTitle = nullptr;
    TPictureButton *btnDocumentBackColor = nullptr;
    QCheckBox *chkBVKComment = nullptr;
    QLabel *lblBVKFont = nullptr;
    QComboBox *cmbBVKFont = nullptr;
    QLabel *lblBVKFontSize = nullptr;
    QComboBox *cmbBVKFontSize = nullptr;
    QLabel *lblBVKColor = nullptr;
    TPictureButton *btnBVKColor = nullptr;

    QGroupBox *grbScreenDesign = nullptr;
    QRadioButton *rbMode1 = nullptr;
    QRadioButton *rbMode2 = nullptr;

    TPictureButton *btnBack = nullptr;
};
