// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/SettingsWindow.h"

#include "settings/GlobalVariant.h"
#include "settings/SettingsTable.h"
#include "windows/SamplePictures.h"
#include "widgets/DialogSeam.h"
#include "widgets/PictureButton.h"
#include "widgets/WindowLook.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>

#include <exception>
#include <tuple>
#include <utility>

namespace {

QLabel *addLabel(QWidget *parent, const QString &text, int left, int top,
                 const char *name = nullptr)
{
    auto *label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QLatin1String(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QComboBox *addComboBox(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    // The text is the setting character for character: typing never adds an item, and no
    // completion changes the case of what was typed.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setGeometry(geometry);
    return box;
}

// A font family box: the "not specified" entry and the five generic families.
QComboBox *addFontBox(QWidget *parent, const char *name, int left, int top)
{
    QComboBox *box = addComboBox(parent, name, QRect(left, top, 121, 20));
    box->addItems({NoFontSpecified, QStringLiteral("serif"), QStringLiteral("sans-serif"),
                   QStringLiteral("cursive"), QStringLiteral("monospace"),
                   QStringLiteral("fantasy")});
    return box;
}

// A font size box; its items come from SetFontSizeItems. Not a tab stop.
QComboBox *addSizeBox(QWidget *parent, const char *name, int left, int top)
{
    QComboBox *box = addComboBox(parent, name, QRect(left, top, 57, 20));
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

QLineEdit *addTextBox(QWidget *parent, const char *name, int left, int top)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(left, top, 129, 20);
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

QCheckBox *addCheckBox(QWidget *parent, const char *name, const QString &caption,
                       const QRect &geometry, bool tabStop)
{
    auto *check = new QCheckBox(caption, parent);
    check->setObjectName(QLatin1String(name));
    check->setGeometry(geometry);
    check->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    return check;
}

// The bold and the italic box of a font, side by side; neither is a tab stop.
std::pair<QCheckBox *, QCheckBox *> addBoldItalic(QWidget *parent, const char *boldName,
                                                  const char *italicName, int top)
{
    return {
        addCheckBox(parent, boldName, QStringLiteral("太字"), QRect(104, top, 49, 25), false),
        addCheckBox(parent, italicName, QStringLiteral("斜体"), QRect(176, top, 49, 25), false)};
}

// A colour swatch: a framed button without caption or picture, filled with its colour, which
// stays the same under the mouse.
TPictureButton *addColorButton(QWidget *parent, const char *name, int left, int top)
{
    auto *button = new TPictureButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setButtonStyle(bsFrame);
    button->setFocusStyle(bfsStdButton);
    button->setStretch(false);
    button->setCursor(Qt::PointingHandCursor);
    button->setGeometry(left, top, 33, 17);
    return button;
}

QGroupBox *addGroup(QWidget *parent, const char *name, const QString &caption,
                    const QRect &geometry)
{
    auto *group = new QGroupBox(caption, parent);
    group->setObjectName(QLatin1String(name));
    group->setGeometry(geometry);
    return group;
}

void showColor(TPictureButton *button, TColor color)
{
    button->setColor(color);
    button->setInColor(color);
}

// A flag on its check box, or on the radio button that stands for true: false then selects the
// other button of its pair.
void showFlag(QAbstractButton *button, bool value)
{
    auto *radio = qobject_cast<QRadioButton *>(button);
    if (!radio || value) {
        button->setChecked(value);
        return;
    }
    for (QRadioButton *other : radio->parentWidget()->findChildren<QRadioButton *>(
             QString(), Qt::FindDirectChildrenOnly)) {
        if (other != radio) {
            other->setChecked(true);
            return;
        }
    }
}

} // namespace

TfrmSetting::TfrmSetting(QWidget *mainWindow)
    : TSecondaryWindow(mainWindow, Qt::Window, "frmSetting", QStringLiteral("デザインの 設定"),
                       QSize(673, 545))
{

    createControls();
    FormCreate();
}

void TfrmSetting::createControls()
{
    // Back to front: the sample picture, the pointer lines over it, then the groups.
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(16, 24, 244, 323);
    Image1->setPixmap(drawSamplePage());

    PaintBox1 = new QWidget(this);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->setAttribute(Qt::WA_TransparentForMouseEvents);
    PaintBox1->installEventFilter(this);

    createTitleGroup();
    createFolderGroup();
    createLinkGroup();
    createDocumentGroup();
    createScreenDesignGroup();

    btnBack = addCommandButton(this, "btnBack");
    btnBack->setGeometry(520, 504, 137, 33);
    btnBack->setCaption(QStringLiteral("戻る"));
    connect(btnBack, &TPictureButton::clicked, this, &TfrmSetting::btnBackClick);

    Timer1 = addRefreshTimer();
    connect(Timer1, &QTimer::timeout, this, &TfrmSetting::Timer1Timer);

    setTabOrderOfGroups();
}

void TfrmSetting::createTitleGroup()
{
    grbTitle = addGroup(this, "grbTitle", QStringLiteral("タイトル"), QRect(360, 8, 297, 153));
    addLabel(grbTitle, QStringLiteral("フォント"), 16, 20);
    cmbTitleFont = addFontBox(grbTitle, "cmbTitleFont", 104, 16);
    addLabel(grbTitle, QStringLiteral("タイトルの文字"), 16, 42);
    txtTitle = addTextBox(grbTitle, "txtTitle", 104, 40);
    addLabel(grbTitle, QStringLiteral("フォントサイズ"), 16, 68);
    cmbTitleFontSize = addSizeBox(grbTitle, "cmbTitleFontSize", 104, 64);
    addLabel(grbTitle, QStringLiteral("フォントカラー"), 16, 90);
    btnTitleColor = addColorButton(grbTitle, "btnTitleColor", 104, 88);
    std::tie(chkTitleBold, chkTitleItalic) =
        addBoldItalic(grbTitle, "chkTitleBold", "chkTitleItalic", 112);
}

void TfrmSetting::createFolderGroup()
{
    grbFolder = addGroup(this, "grbFolder", QStringLiteral("フォルダ"), QRect(360, 168, 297, 121));
    addLabel(grbFolder, QStringLiteral("フォント"), 16, 20);
    cmbFolderFont = addFontBox(grbFolder, "cmbFolderFont", 104, 16);
    addLabel(grbFolder, QStringLiteral("フォントサイズ"), 16, 44);
    cmbFolderFontSize = addSizeBox(grbFolder, "cmbFolderFontSize", 104, 40);
    addLabel(grbFolder, QStringLiteral("フォントカラー"), 16, 66);
    btnFolderColor = addColorButton(grbFolder, "btnFolderColor", 104, 64);
    std::tie(chkFolderBold, chkFolderItalic) =
        addBoldItalic(grbFolder, "chkFolderBold", "chkFolderItalic", 88);
}

void TfrmSetting::createLinkGroup()
{
    grbLink = addGroup(this, "grbLink", QStringLiteral("リンク"), QRect(360, 296, 297, 201));
    addLabel(grbLink, QStringLiteral("フォント"), 16, 20);
    cmbLinkFont = addFontBox(grbLink, "cmbLinkFont", 104, 16);
    addLabel(grbLink, QStringLiteral("フォントサイズ"), 16, 44);
    cmbLinkFontSize = addSizeBox(grbLink, "cmbLinkFontSize", 104, 40);
    lblLink = addLabel(grbLink, QStringLiteral("リンク"), 16, 69, "lblLink");
    btnLinkColor = addColorButton(grbLink, "btnLinkColor", 72, 64);
    addLabel(grbLink, QStringLiteral("訪問済みリンク"), 125, 69);
    btnVisitedColor = addColorButton(grbLink, "btnVisitedColor", 216, 64);
    addLabel(grbLink, QStringLiteral("オンマウス"), 16, 93);
    btnHoverColor = addColorButton(grbLink, "btnHoverColor", 72, 88);
    addLabel(grbLink, QStringLiteral("アクティブリンク"), 125, 93);
    btnActiveColor = addColorButton(grbLink, "btnActiveColor", 216, 88);
    chkUnderBar = addCheckBox(grbLink, "chkUnderBar", QStringLiteral("下線をつける"),
                              QRect(16, 120, 97, 17), true);
    chkRollOverBackColor =
        addCheckBox(grbLink, "chkRollOverBackColor",
                    QStringLiteral("マウスが上に来たときに、文字に背景色をつける"),
                    QRect(16, 144, 265, 17), true);
    lblRollOverBackColor =
        addLabel(grbLink, QStringLiteral("背景色"), 40, 170, "lblRollOverBackColor");
    btnRollOverBackColor = addColorButton(grbLink, "btnRollOverBackColor", 104, 168);
}

void TfrmSetting::createDocumentGroup()
{
    grbDocument =
        addGroup(this, "grbDocument", QStringLiteral("ドキュメント全般"), QRect(16, 360, 297, 161));
    addLabel(grbDocument, QStringLiteral("バーの文字"), 16, 18);
    txtDocumentTitle = addTextBox(grbDocument, "txtDocumentTitle", 104, 16);
    addLabel(grbDocument, QStringLiteral("背景色"), 16, 42);
    btnDocumentBackColor = addColorButton(grbDocument, "btnDocumentBackColor", 72, 40);
    chkBVKComment =
        addCheckBox(grbDocument, "chkBVKComment", QStringLiteral("Brenvikのコメントを書き出す"),
                    QRect(16, 64, 241, 17), true);
    lblBVKFont = addLabel(grbDocument, QStringLiteral("フォント"), 16, 92, "lblBVKFont");
    cmbBVKFont = addFontBox(grbDocument, "cmbBVKFont", 104, 88);
    lblBVKFontSize =
        addLabel(grbDocument, QStringLiteral("フォントサイズ"), 16, 116, "lblBVKFontSize");
    cmbBVKFontSize = addSizeBox(grbDocument, "cmbBVKFontSize", 104, 112);
    lblBVKColor = addLabel(grbDocument, QStringLiteral("フォントカラー"), 16, 138, "lblBVKColor");
    btnBVKColor = addColorButton(grbDocument, "btnBVKColor", 104, 136);
}

void TfrmSetting::createScreenDesignGroup()
{
    // Never shown: it only carries Link.OpenRightWindowFlag through the window unchanged.
    grbScreenDesign =
        addGroup(this, "grbScreenDesign", QStringLiteral("画面デザイン"), QRect(8, 504, 345, 153));
    grbScreenDesign->setVisible(false);
    auto *image2 = new QLabel(grbScreenDesign);
    image2->setObjectName(QStringLiteral("Image2"));
    image2->setGeometry(8, 16, 100, 98);
    image2->setPixmap(drawLayoutPicture(false));
    auto *image3 = new QLabel(grbScreenDesign);
    image3->setObjectName(QStringLiteral("Image3"));
    image3->setGeometry(192, 16, 100, 98);
    image3->setPixmap(drawLayoutPicture(true));
    rbMode1 = new QRadioButton(QStringLiteral("リンクを新しいウィンドウで開く"), grbScreenDesign);
    rbMode1->setObjectName(QStringLiteral("rbMode1"));
    rbMode1->setGeometry(8, 120, 177, 17);
    rbMode1->setChecked(true);
    rbMode2 = new QRadioButton(QStringLiteral("リンクを右フレームで開く"), grbScreenDesign);
    rbMode2->setObjectName(QStringLiteral("rbMode2"));
    rbMode2->setGeometry(192, 120, 153, 17);
}

void TfrmSetting::setTabOrderOfGroups()
{
    // The groups Document, Title, Folder, Screen design, Link, then btnBack. Only the font
    // family boxes and three of the check boxes are tab stops.
    const QList<QWidget *> order = {
        txtDocumentTitle,
        btnDocumentBackColor,
        chkBVKComment,
        cmbBVKFont,
        cmbBVKFontSize,
        btnBVKColor,
        cmbTitleFont,
        txtTitle,
        cmbTitleFontSize,
        btnTitleColor,
        chkTitleBold,
        chkTitleItalic,
        cmbFolderFont,
        cmbFolderFontSize,
        btnFolderColor,
        chkFolderBold,
        chkFolderItalic,
        rbMode1,
        rbMode2,
        cmbLinkFont,
        cmbLinkFontSize,
        btnLinkColor,
        btnVisitedColor,
        btnHoverColor,
        btnActiveColor,
        chkUnderBar,
        chkRollOverBackColor,
        btnRollOverBackColor,
        btnBack,
    };
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TfrmSetting::FormCreate()
{
    // The paint box spans the client area behind all groups.
    PaintBox1->setGeometry(rect());
    PaintBox1->stackUnder(grbTitle);

    for (TPictureButton *button :
         {btnDocumentBackColor, btnTitleColor, btnFolderColor, btnLinkColor, btnVisitedColor,
          btnHoverColor, btnActiveColor, btnRollOverBackColor, btnBVKColor}) {
        connect(button, &TPictureButton::clicked, this,
                [this, button] { ColorButtonClick(button); });
    }

    for (QComboBox *box : {cmbTitleFontSize, cmbFolderFontSize, cmbLinkFontSize, cmbBVKFontSize})
        SetFontSizeItems(box);
}

void TfrmSetting::SetFontSizeItems(QComboBox *box)
{
    box->clear();
    for (int size = 8; size <= 40; ++size) {
        if (size % 2 == 0)
            box->addItem(QString::number(size) + QStringLiteral("px"));
    }
}

void TfrmSetting::PaintBox1Paint()
{
    QPainter painter(PaintBox1);
    painter.setPen(QPen(QColor(255, 0, 0), 3));
    painter.drawLine(140, 85, 340, 24);
    painter.drawLine(53, 160, 340, 180);
    painter.drawLine(100, 200, 340, 310);
}

bool TfrmSetting::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == PaintBox1 && event->type() == QEvent::Paint) {
        PaintBox1Paint();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmSetting::FormShow()
{
    Timer1->start();

    // Every setting but the Favourites folder has its control; a box's text is set to the
    // stored text also when that text is not one of its items.
    for (const DesignSetting &setting : designSettings()) {
        if (!setting.control)
            continue;
        QWidget *control = findChild<QWidget *>(QLatin1String(setting.control));
        if (const auto *text = std::get_if<DesignSetting::Text>(&setting.field)) {
            const QString &value = (*text)(GlobalVariant);
            if (auto *edit = qobject_cast<QLineEdit *>(control))
                edit->setText(value);
            else
                static_cast<QComboBox *>(control)->setEditText(value);
        } else if (const auto *color = std::get_if<DesignSetting::Color>(&setting.field)) {
            showColor(static_cast<TPictureButton *>(control), (*color)(GlobalVariant));
        } else if (const auto *flag = std::get_if<DesignSetting::Flag>(&setting.field)) {
            showFlag(static_cast<QAbstractButton *>(control), (*flag)(GlobalVariant));
        }
    }
}

void TfrmSetting::Timer1Timer()
{
    const bool backColor = chkRollOverBackColor->isChecked();
    btnRollOverBackColor->setEnabled(backColor);
    lblRollOverBackColor->setEnabled(backColor);

    const bool comments = chkBVKComment->isChecked();
    for (QWidget *control : std::initializer_list<QWidget *>{
             cmbBVKFont, cmbBVKFontSize, btnBVKColor, lblBVKFont, lblBVKFontSize, lblBVKColor}) {
        control->setEnabled(comments);
    }
}

void TfrmSetting::ColorButtonClick(TPictureButton *button)
{
    if (const std::optional<TColor> chosen = dialogs().chooseColor(this, button->color()))
        showColor(button, *chosen);
}

void TfrmSetting::btnBackClick()
{
    hide();
}

void TfrmSetting::FormHide()
{
    Timer1->stop();
    if (dialogs().confirm(this, QStringLiteral("設定を保存しますか？"))) {
        for (const DesignSetting &setting : designSettings()) {
            if (!setting.control)
                continue;
            QWidget *control = findChild<QWidget *>(QLatin1String(setting.control));
            if (const auto *text = std::get_if<DesignSetting::Text>(&setting.field)) {
                auto *edit = qobject_cast<QLineEdit *>(control);
                (*text)(GlobalVariant) =
                    edit ? edit->text() : static_cast<QComboBox *>(control)->currentText();
            } else if (const auto *color = std::get_if<DesignSetting::Color>(&setting.field)) {
                (*color)(GlobalVariant) = static_cast<TPictureButton *>(control)->inColor();
            } else if (const auto *flag = std::get_if<DesignSetting::Flag>(&setting.field)) {
                (*flag)(GlobalVariant) = static_cast<QAbstractButton *>(control)->isChecked();
            }
        }
        saveSettingsReportingErrors();
    }
}
