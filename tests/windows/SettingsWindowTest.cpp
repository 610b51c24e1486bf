// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/SettingsWindow.h"

#include "outputs/StyleSheet.h"
#include "settings/GlobalVariant.h"
#include "widgets/PictureButton.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

using windows_test::processEventsUntil;

namespace {

// Every one of the 28 settings as text, to compare the record before and after.
QStringList describe(const TGlobalVariant &g)
{
    const TDocument &d = g.Document;
    const TLink &l = d.Link;
    auto n = [](auto v) { return QString::number(v); };
    return {g.FavoriteFolder,
            d.Title,
            n(d.BackColor),
            n(d.BVKCommentFlag),
            d.BVK.Font,
            d.BVK.Size,
            n(d.BVK.Color),
            l.Font,
            l.Size,
            n(l.LinkColor),
            n(l.VisitedColor),
            n(l.HoverColor),
            n(l.ActiveColor),
            n(l.UnderbarFlag),
            n(l.BackColorFlag),
            n(l.BackColor),
            n(l.OpenRightWindowFlag),
            g.Title.Title,
            g.Title.Font,
            g.Title.Size,
            n(g.Title.Color),
            n(g.Title.Bold),
            n(g.Title.Italic),
            g.Folder.Font,
            g.Folder.Size,
            n(g.Folder.Color),
            n(g.Folder.Bold),
            n(g.Folder.Italic)};
}

class SettingsWindowTest : public windows_test::SecondaryWindowTest<TfrmSetting>
{
protected:
    void typeInto(QComboBox *box, const QString &text)
    {
        box->lineEdit()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
        else
            QTest::keyClicks(box->lineEdit(), text);
    }
};

TEST_F(SettingsWindowTest, LayoutCaptionsAndLists)
{
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("デザインの 設定"));
    EXPECT_EQ(m_window->size(), QSize(673, 545));
    EXPECT_EQ(m_window->parentWidget(), nullptr);
    EXPECT_FALSE(m_window->windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(m_window->font().pixelSize(), 12);

    const struct
    {
        const char *name;
        QString caption;
        QRect geometry;
    } groups[] = {
        {"grbTitle", QStringLiteral("タイトル"), QRect(360, 8, 297, 153)},
        {"grbFolder", QStringLiteral("フォルダ"), QRect(360, 168, 297, 121)},
        {"grbLink", QStringLiteral("リンク"), QRect(360, 296, 297, 201)},
        {"grbDocument", QStringLiteral("ドキュメント全般"), QRect(16, 360, 297, 161)},
        {"grbScreenDesign", QStringLiteral("画面デザイン"), QRect(8, 504, 345, 153)},
    };
    for (const auto &g : groups) {
        auto *group = control<QGroupBox>(g.name);
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), g.caption) << g.name;
        EXPECT_EQ(group->geometry(), g.geometry) << g.name;
    }
    EXPECT_TRUE(control<QGroupBox>("grbScreenDesign")->isHidden());
    EXPECT_EQ(control<QLabel>("Image1")->geometry(), QRect(16, 24, 244, 323));
    EXPECT_EQ(control<QLabel>("Image1")->pixmap().size(), QSize(244, 323));

    auto *back = control<TPictureButton>("btnBack");
    EXPECT_EQ(back->caption(), QStringLiteral("戻る"));
    EXPECT_EQ(back->geometry(), QRect(520, 504, 137, 33));
    EXPECT_EQ(back->inColor(), TColor(204 | (214 << 8) | (227 << 16)));

    const char *swatches[] = {"btnDocumentBackColor", "btnTitleColor",        "btnFolderColor",
                              "btnLinkColor",         "btnVisitedColor",      "btnHoverColor",
                              "btnActiveColor",       "btnRollOverBackColor", "btnBVKColor"};
    for (const char *name : swatches) {
        auto *swatch = control<TPictureButton>(name);
        ASSERT_NE(swatch, nullptr);
        EXPECT_EQ(swatch->buttonStyle(), bsFrame) << name;
        EXPECT_EQ(swatch->size(), QSize(33, 17)) << name;
        EXPECT_TRUE(swatch->caption().isEmpty()) << name;
    }

    const QStringList families = {QStringLiteral("<<指定無し>>"), QStringLiteral("serif"),
                                  QStringLiteral("sans-serif"),   QStringLiteral("cursive"),
                                  QStringLiteral("monospace"),    QStringLiteral("fantasy")};
    QStringList sizes;
    for (int px = 8; px <= 40; px += 2)
        sizes << QString::number(px) + QStringLiteral("px");
    for (const char *name : {"cmbTitleFont", "cmbFolderFont", "cmbLinkFont", "cmbBVKFont"}) {
        auto *box = control<QComboBox>(name);
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        EXPECT_EQ(items, families) << name;
        EXPECT_TRUE(box->isEditable()) << name;
    }
    for (const char *name :
         {"cmbTitleFontSize", "cmbFolderFontSize", "cmbLinkFontSize", "cmbBVKFontSize"}) {
        auto *box = control<QComboBox>(name);
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        EXPECT_EQ(items, sizes) << name;
        EXPECT_EQ(box->size(), QSize(57, 20)) << name;
    }
}

TEST_F(SettingsWindowTest, PointerLinesAreRedAndThreePixelsWide)
{
    open();
    const QImage shot = m_window->grab().toImage();
    const QColor red(255, 0, 0);
    // On each line, across its width, and clear of it.
    EXPECT_EQ(shot.pixelColor(240, 54), red); // (140,85)-(340,24) at x 240
    EXPECT_EQ(shot.pixelColor(240, 55), red);
    EXPECT_EQ(shot.pixelColor(200, 170), red); // (53,160)-(340,180) at x 200, y ~170.2
    EXPECT_EQ(shot.pixelColor(300, 292), red); // (100,200)-(340,310) at x 300, y ~291.7
    EXPECT_NE(shot.pixelColor(340, 100), red);
}

TEST_F(SettingsWindowTest, DisablingTheMainWindowLeavesTheSettingsWindowUsable)
{
    open();
    EXPECT_FALSE(m_main.isEnabled());
    EXPECT_TRUE(m_window->isEnabled());
    EXPECT_TRUE(control<QComboBox>("cmbTitleFont")->isEnabled());
}

TEST_F(SettingsWindowTest, NoLeavesSettingsAndFileUnchanged)
{
    GlobalVariant.Title.Title = QStringLiteral("My links");
    SaveSettings();
    const QStringList before = describe(GlobalVariant);
    const QByteArray fileBefore = settingsFileBytes();

    open();
    auto *title = control<QLineEdit>("txtTitle");
    EXPECT_EQ(title->text(), QStringLiteral("My links"));
    title->setText(QStringLiteral("Discarded"));
    typeInto(control<QComboBox>("cmbLinkFontSize"), QStringLiteral("3em"));
    control<QCheckBox>("chkTitleBold")->setChecked(false);
    m_dialogs.colorAnswer = 0x123456;
    QTest::mouseClick(control<TPictureButton>("btnTitleColor"), Qt::LeftButton);
    EXPECT_EQ(control<TPictureButton>("btnTitleColor")->color(), 0x123456u);

    m_dialogs.confirmAnswer = false;
    QTest::mouseClick(control<TPictureButton>("btnBack"), Qt::LeftButton);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_dialogs.confirmations, QStringList{QStringLiteral("設定を保存しますか？")});
    EXPECT_EQ(describe(GlobalVariant), before);
    EXPECT_EQ(settingsFileBytes(), fileBefore);
    EXPECT_TRUE(m_main.isEnabled());

    // Reopening shows the stored values, not the discarded edits.
    open();
    EXPECT_EQ(title->text(), QStringLiteral("My links"));
    EXPECT_EQ(control<QComboBox>("cmbLinkFontSize")->currentText(), QStringLiteral("14px"));
    EXPECT_TRUE(control<QCheckBox>("chkTitleBold")->isChecked());
    EXPECT_EQ(control<TPictureButton>("btnTitleColor")->color(), GlobalVariant.Title.Color);
    EXPECT_EQ(control<TPictureButton>("btnTitleColor")->inColor(), GlobalVariant.Title.Color);
}

TEST_F(SettingsWindowTest, YesStoresTextAsTypedAndReachesTheStyleBlock)
{
    open();
    typeInto(control<QComboBox>("cmbLinkFontSize"), QStringLiteral("1.2em"));
    typeInto(control<QComboBox>("cmbFolderFontSize"), QString());
    typeInto(control<QComboBox>("cmbTitleFont"), QStringLiteral("Serif Display"));
    control<QLineEdit>("txtDocumentTitle")->clear();
    control<QCheckBox>("chkTitleItalic")->setChecked(true);
    m_dialogs.colorAnswer = 0x00A0B0C0;
    QTest::mouseClick(control<TPictureButton>("btnHoverColor"), Qt::LeftButton);
    ASSERT_EQ(m_dialogs.colorRequests, QList<TColor>{0x00FF0000u}); // the stored blue

    m_dialogs.confirmAnswer = true;
    m_window->close();
    EXPECT_EQ(GlobalVariant.Document.Link.Size, QStringLiteral("1.2em"));
    EXPECT_EQ(GlobalVariant.Folder.Size, QString());
    EXPECT_EQ(GlobalVariant.Title.Font, QStringLiteral("Serif Display"));
    EXPECT_EQ(GlobalVariant.Document.Title, QString());
    EXPECT_TRUE(GlobalVariant.Title.Italic);
    EXPECT_EQ(GlobalVariant.Document.Link.HoverColor, 0x00A0B0C0u);
    EXPECT_TRUE(m_dialogs.errors.isEmpty());

    // The file holds them, and the next page's style block carries them unchanged.
    GlobalVariant = TGlobalVariant{};
    LoadSettings();
    EXPECT_EQ(GlobalVariant.Document.Link.Size, QStringLiteral("1.2em"));
    EXPECT_EQ(GlobalVariant.Document.Link.HoverColor, 0x00A0B0C0u);
    const QString css = BuildStyleSheet(GlobalVariant);
    EXPECT_TRUE(css.contains(QStringLiteral(".FileList {\r\n\tpadding-left: 10px;\r\n"
                                            "\tfont-size: 1.2em;\r\n")))
        << css.toStdString();
    EXPECT_TRUE(css.contains(QStringLiteral(".FolderName {\r\n\tfont-size: ;\r\n")));
    EXPECT_TRUE(css.contains(QStringLiteral("\tfont-family: Serif Display;\r\n")));
    EXPECT_TRUE(css.contains(QStringLiteral("A:hover {\r\n\tcolor: #C0B0A0;\r\n")));
}

TEST_F(SettingsWindowTest, StoredValuesOutsideTheListsShowAsTyped)
{
    GlobalVariant.Title.Size = QStringLiteral("13px");
    GlobalVariant.Document.BVK.Font = QStringLiteral("ＭＳ 明朝");
    GlobalVariant.Document.Link.Size = QStringLiteral("12PX");
    open();
    EXPECT_EQ(control<QComboBox>("cmbTitleFontSize")->currentText(), QStringLiteral("13px"));
    EXPECT_EQ(control<QComboBox>("cmbBVKFont")->currentText(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(control<QComboBox>("cmbLinkFontSize")->currentText(), QStringLiteral("12PX"));
    // Saving without edits writes them back character for character.
    m_dialogs.confirmAnswer = true;
    m_window->close();
    EXPECT_EQ(GlobalVariant.Title.Size, QStringLiteral("13px"));
    EXPECT_EQ(GlobalVariant.Document.BVK.Font, QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(GlobalVariant.Document.Link.Size, QStringLiteral("12PX"));
}

TEST_F(SettingsWindowTest, UntickedBoxesDisableTheirControlsAndKeepTheirValues)
{
    GlobalVariant.Document.BVKCommentFlag = true;
    open();
    auto *timer = control<QTimer>("Timer1");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 100);

    auto *swatch = control<TPictureButton>("btnRollOverBackColor");
    auto *label = control<QLabel>("lblRollOverBackColor");
    m_dialogs.colorAnswer = 0x0000FF00; // green
    QTest::mouseClick(swatch, Qt::LeftButton);
    ASSERT_EQ(swatch->color(), 0x0000FF00u);
    EXPECT_TRUE(processEventsUntil([&] { return swatch->isEnabled(); }));

    control<QCheckBox>("chkRollOverBackColor")->setChecked(false);
    control<QCheckBox>("chkBVKComment")->setChecked(false);
    EXPECT_TRUE(processEventsUntil([&] { return !swatch->isEnabled(); }));
    EXPECT_FALSE(label->isEnabled());
    for (const char *name : {"cmbBVKFont", "cmbBVKFontSize", "btnBVKColor", "lblBVKFont",
                             "lblBVKFontSize", "lblBVKColor"}) {
        EXPECT_FALSE(control<QWidget>(name)->isEnabled()) << name;
    }
    // A disabled swatch keeps its colour and opens no dialog.
    m_dialogs.colorRequests.clear();
    QTest::mouseClick(swatch, Qt::LeftButton);
    EXPECT_TRUE(m_dialogs.colorRequests.isEmpty());
    EXPECT_EQ(swatch->color(), 0x0000FF00u);

    control<QComboBox>("cmbBVKFontSize")->setEditText(QStringLiteral("9px"));
    m_dialogs.confirmAnswer = true;
    m_window->close();
    EXPECT_FALSE(GlobalVariant.Document.Link.BackColorFlag);
    EXPECT_EQ(GlobalVariant.Document.Link.BackColor, 0x0000FF00u);
    EXPECT_FALSE(GlobalVariant.Document.BVKCommentFlag);
    EXPECT_EQ(GlobalVariant.Document.BVK.Size, QStringLiteral("9px"));
    EXPECT_FALSE(timer->isActive());

    // Ticking them again brings the controls back.
    open();
    control<QCheckBox>("chkRollOverBackColor")->setChecked(true);
    EXPECT_TRUE(processEventsUntil([&] { return swatch->isEnabled(); }));
    EXPECT_TRUE(label->isEnabled());
}

TEST_F(SettingsWindowTest, OpenRightWindowFlagSurvivesYes)
{
    for (const bool stored : {true, false}) {
        GlobalVariant.Document.Link.OpenRightWindowFlag = stored;
        open();
        EXPECT_EQ(control<QRadioButton>("rbMode2")->isChecked(), stored);
        m_dialogs.confirmAnswer = true;
        m_window->close();
        EXPECT_EQ(GlobalVariant.Document.Link.OpenRightWindowFlag, stored);
        GlobalVariant = TGlobalVariant{};
        LoadSettings();
        EXPECT_EQ(GlobalVariant.Document.Link.OpenRightWindowFlag, stored);
    }
}

TEST_F(SettingsWindowTest, CloseBoxAndBackBothAskAndEnableTheMainWindow)
{
    for (const bool answer : {true, false}) {
        for (const bool byCloseBox : {true, false}) {
            m_dialogs.confirmations.clear();
            m_dialogs.confirmAnswer = answer;
            open();
            control<QLineEdit>("txtTitle")->setText(QStringLiteral("edited"));
            closeBy(byCloseBox, "btnBack");
            EXPECT_FALSE(m_window->isVisible());
            EXPECT_EQ(m_dialogs.confirmations.size(), 1);
            EXPECT_TRUE(m_main.isEnabled());
            EXPECT_EQ(GlobalVariant.Title.Title == QStringLiteral("edited"), answer);
            GlobalVariant.Title.Title = QStringLiteral("Favorite");
        }
    }
}

TEST_F(SettingsWindowTest, FailedSaveIsReportedAndEnablesTheMainWindow)
{
    makeSettingsFileUnwritable();
    open();
    control<QLineEdit>("txtTitle")->setText(QStringLiteral("unsaved"));
    m_dialogs.confirmAnswer = true;
    QTest::mouseClick(control<TPictureButton>("btnBack"), Qt::LeftButton);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(m_main.isEnabled());
    EXPECT_EQ(m_dialogs.errors,
              QStringList{SettingsFilePath + QStringLiteral(" に書き込めません.")});
    // The record already holds the new values.
    EXPECT_EQ(GlobalVariant.Title.Title, QStringLiteral("unsaved"));
}

TEST_F(SettingsWindowTest, EnterAndEscapeCloseNothing)
{
    open();
    auto *font = control<QComboBox>("cmbTitleFont");
    QTest::keyClick(font, Qt::Key_Escape);
    QTest::keyClick(font, Qt::Key_Return);
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QTest::keyClick(m_window.get(), Qt::Key_Enter);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(m_dialogs.confirmations.isEmpty());
    EXPECT_EQ(font->currentText(), NoFontSpecified);
}

TEST_F(SettingsWindowTest, TabVisitsOnlyTheListedStopsInGroupOrder)
{
    open();
    QApplication::setActiveWindow(m_window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    auto *first = control<QCheckBox>("chkBVKComment");
    first->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focused = QApplication::focusWidget();
        // An editable combo box hands its focus to its line edit.
        if (focused && focused->parentWidget() &&
            qobject_cast<QComboBox *>(focused->parentWidget()))
            focused = focused->parentWidget();
        visited << (focused ? focused->objectName() : QStringLiteral("(none)"));
    }
    EXPECT_EQ(visited,
              (QStringList{QStringLiteral("cmbBVKFont"), QStringLiteral("cmbTitleFont"),
                           QStringLiteral("cmbFolderFont"), QStringLiteral("cmbLinkFont"),
                           QStringLiteral("chkUnderBar"), QStringLiteral("chkRollOverBackColor"),
                           QStringLiteral("chkBVKComment")}));
}

} // namespace
