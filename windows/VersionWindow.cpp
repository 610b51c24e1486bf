// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/VersionWindow.h"

#include "widgets/PictureButton.h"
#include "widgets/ProgramIcon.h"
#include "widgets/UrlLink.h"
#include "platform/VersionInfo.h"
#include "widgets/WindowLook.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHideEvent>
#include <QLabel>
#include <QShowEvent>

namespace {

// Where the version text ends on the right, whatever its length.
constexpr int VersionRightEdge = 324;

// The maker and the icons' author, with their pages.
const char *const MakerName = "Talvensa Project";
const char *const MakerPage = "https://talvensa.example/";
const char *const IconSiteName = "Talvensa Icons";
const char *const IconSitePage = "https://talvensa.example/icons/";

QLabel *addLabel(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLabel *addTitleLabel(QWidget *parent, const char *name, int pixelSize)
{
    QLabel *label = addLabel(parent, name, QStringLiteral("Label1"), 0, 0);
    label->setFont(windowFont(pixelSize, true));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(pal);
    return label;
}

TURLLink *addLink(QWidget *parent, const char *name, const QString &caption, const QString &link,
                  int left, int top)
{
    auto *label = new TURLLink(parent);
    label->setObjectName(QLatin1String(name));
    label->setText(caption);
    label->setLink(link);
    label->setURLType(tpURL);
    label->setFont(windowFont(12));
    label->setFontColor(0xFF0000); // blue
    label->setLinkColor(0x0000FF); // red
    label->setEnableShowHint(false);
    label->setHintFormFont(windowFont(12));
    label->setCursor(Qt::PointingHandCursor);
    label->move(left, top);
    label->adjustSize();
    return label;
}

} // namespace

TfrmVersion::TfrmVersion(QWidget *mainWindow)
    : TSecondaryWindow(mainWindow, Qt::Dialog, "frmVersion", QStringLiteral("バージョン情報"),
                       QSize(345, 224))
{

    btnClose = addCommandButton(this, "btnClose");
    btnClose->setGeometry(120, 192, 105, 25);
    btnClose->setCaption(QStringLiteral("閉じる"));
    connect(btnClose, &TPictureButton::clicked, this, &TfrmVersion::btnCloseClick);

    Label1 = addTitleLabel(this, "Label1", 21);
    Label1->move(64, 16);
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(12, 16, 32, 32);
    Label2 = addTitleLabel(this, "Label2", 16);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignTop);
    setVersionText(Label2->text());

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(52, 72, 241, 105);
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);

    Label3 = addLabel(Panel1, "Label3", QStringLiteral("Copyright (C) 2025"), 8, 13);
    URLLink1 = addLink(Panel1, "URLLink1", QString::fromUtf8(MakerName),
                       QString::fromUtf8(MakerPage), 8, 29);
    Label4 = addLabel(Panel1, "Label4", QStringLiteral("All rights reserved."), 136, 29);
    Label6 = addLabel(Panel1, "Label6", QStringLiteral("ButtonIcon by"), 8, 61);
    URLLink3 = addLink(Panel1, "URLLink3", QString::fromUtf8(IconSiteName),
                       QString::fromUtf8(IconSitePage), 88, 61);

    // The close button comes first when tabbing.
    setTabOrder(btnClose, URLLink1);

    FormCreate();
}

void TfrmVersion::FormCreate()
{
    // One trap for all steps: a failure leaves the rest undone and says nothing.
    try {
        QString productName;
        ReadVersionValue(9, productName);
        Label1->setText(productName);
        Label1->adjustSize();

        QString productVersion;
        ReadVersionValue(10, productVersion);
        setVersionText(QStringLiteral("Version: ") + productVersion);

        const QIcon appIcon = QApplication::windowIcon();
        Image2->setPixmap(appIcon.isNull() ? QPixmap::fromImage(programIconImage(32))
                                           : appIcon.pixmap(32, 32));
    } catch (const TalvensaError &) {
    }
}

void TfrmVersion::setVersionText(const QString &text)
{
    // Sized to the text, right edge kept in place.
    Label2->setText(text);
    Label2->adjustSize();
    Label2->move(VersionRightEdge - Label2->width(), 40);
}

void TfrmVersion::FormShow()
{
    setMainWindowEnabled(false);
}

void TfrmVersion::btnCloseClick()
{
    close();
}
