// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/FolderWindow.h"

#include "platform/SpecialFolders.h"
#include "settings/GlobalVariant.h"
#include "widgets/DialogSeam.h"
#include "widgets/PictureButton.h"
#include "widgets/ShellTreeView.h"
#include "widgets/WindowLook.h"

#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

namespace {

// A panel with a lowered outer and a raised inner bevel: a 2-pixel groove around its inside.
QFrame *makeGroovePanel(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setMidLineWidth(0);
    panel->setGeometry(geometry);
    return panel;
}

QLabel *makeWrappedLabel(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

} // namespace

TfrmFavoriteFolderSelect::TfrmFavoriteFolderSelect(QWidget *mainWindow)
    : TSecondaryWindow(mainWindow, Qt::Window, "frmFavoriteFolderSelect",
                       QStringLiteral("お気に入りフォルダの変更"), QSize(321, 368))
{

    createControls();
    FormCreate();
}

void TfrmFavoriteFolderSelect::createControls()
{
    // Back to front.
    createChoicePanels();
    createSelectedFolderGroup();

    btnClose = addCommandButton(this, "btnClose");
    btnClose->setGeometry(168, 328, 137, 33);
    btnClose->setCaption(QStringLiteral("戻る"));
    connect(btnClose, &TPictureButton::clicked, this, &TfrmFavoriteFolderSelect::btnCloseClick);

    Timer1 = addRefreshTimer();
    connect(Timer1, &QTimer::timeout, this, &TfrmFavoriteFolderSelect::Timer1Timer);

    setTabOrder(rbDefault, rbUser);
    setTabOrder(rbUser, ShellTreeView1);
}

// The two candidates, each a panel headed by its radio button, in the "change folder" frame.
void TfrmFavoriteFolderSelect::createChoicePanels()
{
    grbChangeFolder = new QGroupBox(QStringLiteral("フォルダの変更"), this);
    grbChangeFolder->setObjectName(QStringLiteral("grbChangeFolder"));
    grbChangeFolder->setGeometry(16, 64, 289, 257);

    pnlDefaultFavorite = makeGroovePanel(this, "pnlDefaultFavorite", QRect(24, 88, 273, 49));
    lblDefaultFavorite =
        makeWrappedLabel(pnlDefaultFavorite, "lblDefaultFavorite", QRect(2, 8, 269, 39));

    pnlUserFavorite = makeGroovePanel(this, "pnlUserFavorite", QRect(24, 152, 273, 161));
    lblUserFavorite = makeWrappedLabel(pnlUserFavorite, "lblUserFavorite", QRect(2, 10, 271, 31));
    ShellTreeView1 = new TShellTreeView(pnlUserFavorite);
    ShellTreeView1->setObjectName(QStringLiteral("ShellTreeView1"));
    ShellTreeView1->setGeometry(8, 40, 257, 113);

    // The radio buttons lie over the panels' top edges and paint their own ground there, so each
    // reads as the heading of its panel.
    rbDefault = new QRadioButton(QStringLiteral("Windows標準のお気に入りフォルダ"), this);
    rbDefault->setObjectName(QStringLiteral("rbDefault"));
    rbDefault->setGeometry(32, 80, 201, 17);
    rbDefault->setAutoFillBackground(true);
    rbDefault->setChecked(true);
    rbUser = new QRadioButton(QStringLiteral("ユーザ指定のフォルダ"), this);
    rbUser->setObjectName(QStringLiteral("rbUser"));
    rbUser->setGeometry(32, 144, 137, 17);
    rbUser->setAutoFillBackground(true);
}

void TfrmFavoriteFolderSelect::createSelectedFolderGroup()
{
    grbSelectedFolder = new QGroupBox(QStringLiteral("選択されているフォルダ"), this);
    grbSelectedFolder->setObjectName(QStringLiteral("grbSelectedFolder"));
    grbSelectedFolder->setGeometry(16, 8, 289, 49);
    // The whole inside of the group, below its caption, wherever the style puts that.
    lblSelectedFolder = new QLabel(grbSelectedFolder);
    lblSelectedFolder->setObjectName(QStringLiteral("lblSelectedFolder"));
    lblSelectedFolder->setWordWrap(true);
    lblSelectedFolder->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *selectedLayout = new QVBoxLayout(grbSelectedFolder);
    selectedLayout->setContentsMargins(2, 1, 2, 1);
    selectedLayout->addWidget(lblSelectedFolder);
}

void TfrmFavoriteFolderSelect::FormCreate()
{
    // The path found now; a Yes with rbDefault looks the folder up again when it saves.
    lblDefaultFavorite->setText(SpecialFolderPath(CSIDL_FAVORITES));
    ShellTreeView1->setEnabled(false);
}

void TfrmFavoriteFolderSelect::FormShow()
{
    lblSelectedFolder->setText(GlobalVariant.FavoriteFolder);
    // The first showing starts from the stored choice, so that closing the window with Yes
    // keeps it; later showings keep what the user left in the window.
    if (!m_shownBefore) {
        m_shownBefore = true;
        const QString stored = GlobalVariant.FavoriteFolder;
        if (!stored.isEmpty() &&
            QDir::cleanPath(stored) != QDir::cleanPath(SpecialFolderPath(CSIDL_FAVORITES))) {
            rbUser->setChecked(true);
            ShellTreeView1->selectFolder(stored);
            Timer1Timer();
        }
    }
    Timer1->start();
}

void TfrmFavoriteFolderSelect::Timer1Timer()
{
    ShellTreeView1->setEnabled(rbUser->isChecked());
    lblUserFavorite->setText(ShellTreeView1->path());
}

void TfrmFavoriteFolderSelect::btnCloseClick()
{
    close();
}

void TfrmFavoriteFolderSelect::FormHide()
{
    Timer1->stop();
    if (dialogs().confirm(this, QStringLiteral("設定を保存しますか？"))) {
        GlobalVariant.FavoriteFolder =
            rbDefault->isChecked() ? SpecialFolderPath(CSIDL_FAVORITES) : ShellTreeView1->path();
        lblSelectedFolder->setText(GlobalVariant.FavoriteFolder);
        saveSettingsReportingErrors();
    }
}
