// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/MainWindow.h"

#include "windows/Application.h"
#include "windows/Artwork.h"
#include "widgets/Gauge.h"
#include "windows/HelpFile.h"
#include "widgets/HintStyle.h"
#include "windows/RunState.h"
#include "widgets/SkinToolbar.h"
#include "generate/CreateHTMLFile.h"
#include "platform/SpecialFolders.h"
#include "platform/SystemColors.h"
#include "settings/GlobalVariant.h"
#include "widgets/DialogSeam.h"
#include "widgets/PictureButton.h"
#include "widgets/SystemPalette.h"
#include "widgets/WindowLook.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QTimer>
#include <QUrl>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

#include <iterator>
#include <optional>

namespace {

const QString CRLF = QStringLiteral("\r\n");

} // namespace

TfrmMain::TfrmMain(const QStringList &arguments)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_arguments(arguments), m_createHTML(GlobalVariant, SettingsFilePath)
{
    setObjectName(QStringLiteral("frmMain"));
    createControls();
    if (!runReported([this] { FormCreate(); }) && !m_arguments.isEmpty() &&
        isScreenlessPlatform()) {
        // Started as a batch run where nobody can close the window: once the program runs, it
        // ends the run that cannot start (the error report has said why).
        QMetaObject::invokeMethod(this, &TfrmMain::endUnstartedBatchRun, Qt::QueuedConnection);
    }
#if QT_CONFIG(sessionmanager)
    connect(qApp, &QGuiApplication::commitDataRequest, this, &TfrmMain::commitData);
#endif
}

TfrmMain::~TfrmMain()
{
    FormDestroy();
}

void TfrmMain::setSecondaryWindows(QWidget *setting, QWidget *folder, QWidget *version)
{
    m_frmSetting = setting;
    m_frmFavoriteFolderSelect = folder;
    m_frmVersion = version;
}

std::function<void()> TfrmMain::reported(void (TfrmMain::*handler)())
{
    return [this, handler] { runReported([this, handler] { (this->*handler)(); }); };
}

void TfrmMain::createControls()
{
    setWindowTitle(QStringLiteral("Talvensa"));
    setFixedSize(472, 298);
    setFont(windowFont(12));
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, toQColor(GetSysColor(COLOR_BTNFACE)));
    setPalette(windowPalette);
    setAutoFillBackground(true);
    centreOnScreen(this);

    Gauge1 = new TGauge(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setGeometry(63, 200, 345, 17);
    Gauge1->setPosition(0);
    Gauge1->hide();

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(61, 24, 350, 50);
    Image1->setPixmap(transparentPicture(bannerImage()));

    createCommandButtons();
    createToolbar();
    createMessagePanel();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, reported(&TfrmMain::Timer1Timer));
}

void TfrmMain::createCommandButtons()
{
    btnCreateHTML = addCommandButton(this, "btnCreateHTML");
    btnCreateHTML->setGeometry(75, 232, 321, 41);
    btnCreateHTML->setCaption(QStringLiteral("作成"));
    btnCreateHTML->setFont(windowFont(16, true));
    btnCreateHTML->setPicture(createButtonIcon());
    btnCreateHTML->setPictureLeft(30);
    btnCreateHTML->setPictureTop(10);
    connect(btnCreateHTML, &TPictureButton::clicked, this, reported(&TfrmMain::btnCreateHTMLClick));

    // The stop button lies exactly over the create button, hidden; FormCreate takes the create
    // button's look over again, but a start-up that failed before it never shows a bare button.
    btnCreateCancel = addCommandButton(this, "btnCreateCancel");
    btnCreateCancel->setGeometry(btnCreateHTML->geometry());
    btnCreateCancel->setFont(btnCreateHTML->font());
    btnCreateCancel->setCaption(QStringLiteral("中止"));
    btnCreateCancel->hide();
    connect(btnCreateCancel, &TPictureButton::clicked, this,
            reported(&TfrmMain::btnCreateCancelClick));
    QWidget::setTabOrder(btnCreateHTML, btnCreateCancel);
}

void TfrmMain::createMessagePanel()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(63, 80, 345, 113);
    Panel1->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    QPalette panelPalette = Panel1->palette();
    panelPalette.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(panelPalette);
    Panel1->setAutoFillBackground(true);

    // The label fills the panel inside its border and an inner margin of 3 pixels.
    lblMessage = new QLabel(Panel1);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setGeometry(Panel1->contentsRect().adjusted(3, 3, -3, -3));
    lblMessage->setFont(windowFont(15));
    QPalette labelPalette = lblMessage->palette();
    labelPalette.setColor(QPalette::WindowText, toQColor(GetSysColor(COLOR_WINDOWTEXT)));
    lblMessage->setPalette(labelPalette);
    lblMessage->setTextFormat(Qt::PlainText);
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TfrmMain::createToolbar()
{
    TBToolbar = new TSkinToolbar(this);
    TBToolbar->setObjectName(QStringLiteral("TBToolbar"));
    TBToolbar->setGeometry(0, 0, width(), 22);
    TBToolbar->setFont(font());

    const auto addItem = [this](const char *name, ToolbarIcon icon, const QString &caption,
                                void (TfrmMain::*handler)()) {
        QAction *item = TBToolbar->addAction(toolbarIcon(icon), caption);
        item->setObjectName(QString::fromLatin1(name));
        connect(item, &QAction::triggered, this, reported(handler));
        return item;
    };
    TB_SetHTML = addItem("TB_SetHTML", ToolbarIcon::Cog, QStringLiteral("デザインの設定"),
                         &TfrmMain::TB_SetHTMLClick);
    TB_SetFavoriteFolder =
        addItem("TB_SetFavoriteFolder", ToolbarIcon::FolderExchange,
                QStringLiteral("お気に入りフォルダの変更"), &TfrmMain::TB_SetFavoriteFolderClick);
    TBSeparatorItem1 = TBToolbar->addSeparator();
    TBSeparatorItem1->setObjectName(QStringLiteral("TBSeparatorItem1"));
    TB_Help = addItem("TB_Help", ToolbarIcon::QuestionTile, QStringLiteral("ヘルプ"),
                      &TfrmMain::TB_HelpClick);
    TB_Version = addItem("TB_Version", ToolbarIcon::WindowFrame, QStringLiteral("バージョン情報"),
                         &TfrmMain::TB_VersionClick);
    TB_End = addItem("TB_End", ToolbarIcon::Cross, QStringLiteral("終了"), &TfrmMain::TB_EndClick);
}

void TfrmMain::FormCreate()
{
    THintStyle::install();
    InitSettings();
    SetMessageState(MessageState::Idle);

    btnCreateCancel->setFont(btnCreateHTML->font());
    btnCreateCancel->setGeometry(btnCreateHTML->geometry());
    btnCreateCancel->setCursor(btnCreateHTML->cursor());
    btnCreateCancel->setCaption(QStringLiteral("中止"));
    btnCreateCancel->hide();

    if (!m_arguments.isEmpty()) {
        AutoRunOutputPath = m_arguments.constFirst();
        SetMessageState(MessageState::AutoRun);
        btnCreateHTML->setEnabled(false);
        btnCreateHTML->hide();
        Timer1->start();
    } else {
        AutoRun = false;
    }

    m_createHTML.SetGauge(Gauge1);
}

void TfrmMain::FormDestroy()
{
    m_createHTML.ReleaseGauge();
}

void TfrmMain::SetMessageState(MessageState State)
{
    QString text;
    switch (State) {
    case MessageState::Idle:
        text = QStringLiteral("「Internet Explore」のお気に入り（Favorite）から、") + CRLF +
               QStringLiteral("ホームページ形式の一覧ファイルを作成します。") + CRLF +
               QStringLiteral("作成するときは下の「作成」を押してください。");
        break;
    case MessageState::Writing:
        text = QStringLiteral("只今、ファイル解析中です。") + CRLF +
               QStringLiteral("しばらくお待ちください。");
        break;
    case MessageState::AutoRun:
        text = QStringLiteral("自動実行中。") + CRLF + CRLF + QStringLiteral("出力先 ： ") +
               AutoRunOutputPath;
        break;
    default:
        break;
    }
    lblMessage->setText(text);
}

void TfrmMain::btnCreateHTMLClick()
{
    SaveFileRequest request;
    request.initialFolder = SpecialFolderPath(CSIDL_DESKTOP);
    request.defaultSuffix = QStringLiteral("html");
    // The designed entry first, the classic page; then the other kinds of document. Each
    // entry writes the format at its place in SaveFormats.
    constexpr PageFormat SaveFormats[] = {PageFormat::Page, PageFormat::Netscape, PageFormat::Html};
    const QStringList patterns{QStringLiteral("*.html"), QStringLiteral("*.htm")};
    request.filters = {
        {QStringLiteral("HTMLファイル(*.html;*.htm)"), patterns},
        {QStringLiteral("ブックマークファイル (Netscape形式)(*.html;*.htm)"), patterns},
        {QStringLiteral("UTF-8 ページ(*.html;*.htm)"), patterns},
    };
    request.confirmOverwrite = true;

    ContinueWriting = true;

    btnCreateHTML->setEnabled(false);
    Gauge1->show();
    TBToolbar->setEnabled(false);
    SetMessageState(MessageState::Writing);

    // Whatever happens below, the window returns to its idle look.
    struct BackToIdle
    {
        TfrmMain *window;
        ~BackToIdle()
        {
            window->btnCreateHTML->setEnabled(true);
            window->Gauge1->hide();
            window->TBToolbar->setEnabled(true);
            window->SetMessageState(MessageState::Idle);
        }
    } backToIdle{this};

    const std::optional<SaveFileChoice> choice = dialogs().saveFileName(this, request);
    if (!choice)
        return;
    const PageFormat format =
        choice->filter >= 0 && choice->filter < qsizetype(std::size(SaveFormats))
            ? SaveFormats[choice->filter]
            : PageFormat::Page;
    const QString &path = choice->path;

    // An old file of that name goes first, whatever its permissions; if it cannot be removed
    // the writer meets it and reports the failure. The writer removes it once the source has
    // been opened, so a bookmark file that cannot be read costs no old page.
    if (!writeWithStopButton(path, format)) {
        if (!reportRefusedWrite(path))
            dialogs().showMessage(this, QStringLiteral("ファイル作成に失敗しました"));
    } else if (ContinueWriting)
        dialogs().showMessage(this, QStringLiteral("ファイルを書き出しました"));
    else
        dialogs().showMessage(this, QStringLiteral("書き出しを中止しました"));
}

bool TfrmMain::reportRefusedWrite(const QString &path)
{
    switch (m_createHTML.lastReport().failure) {
    case PageWriteReport::Failure::SourceUnreadable:
        // A bookmark file that cannot be read gets no page; the error report says which file.
        reportError(QStringLiteral("%1 はブックマークファイルとして読み込めません")
                        .arg(GlobalVariant.FavoriteFolder));
        return true;
    case PageWriteReport::Failure::OutputIsInput:
        // The bookmark file, its log or the settings file chosen as the page: nothing is
        // touched.
        dialogs().showMessage(
            this, QStringLiteral("%1 は読み込むファイルと同じなので書き出せません").arg(path));
        return true;
    case PageWriteReport::Failure::None:
    case PageWriteReport::Failure::WriteFailed:
        break;
    }
    return false;
}

bool TfrmMain::writeWithStopButton(const QString &path, PageFormat format)
{
    // The stop button stands over the disabled create button while the page is written. Between
    // folders the writer lets the window handle its events, so it repaints and the stop button
    // can be pressed; everything else that takes input is disabled meanwhile, and closing the
    // window waits for the end of the write.
    m_writing = true;
    btnCreateCancel->raise();
    btnCreateCancel->show();
    struct EndOfWrite
    {
        TfrmMain *window;
        ~EndOfWrite()
        {
            window->btnCreateCancel->hide();
            window->m_writing = false;
        }
    } endOfWrite{this};

    return m_createHTML.CreateHTMLFile(
        path,
        [] {
            QCoreApplication::processEvents();
            return !ContinueWriting;
        },
        true, format);
}

void TfrmMain::btnCreateCancelClick()
{
    ContinueWriting = false;
}

void TfrmMain::FormCloseQuery(bool &CanClose)
{
    if (AutoRun)
        return;
    CanClose = dialogs().confirm(this, QStringLiteral("終了します。よろしいですか？"));
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    // A disabled window takes no input, so a close asked for from outside waits until the
    // window that disabled it is closed; the batch run's own close still goes through.
    if (m_writing || (event->spontaneous() && !isEnabled())) {
        event->ignore();
        return;
    }
    bool canClose = true;
    if (!runReported([this, &canClose] { FormCloseQuery(canClose); }))
        canClose = false;
    event->setAccepted(canClose);
    if (canClose)
        Q_EMIT closed();
}

void TfrmMain::commitData(QSessionManager &manager)
{
#if QT_CONFIG(sessionmanager)
    // The log-off or shut-down asks the quit question too; No refuses it.
    if (m_writing) {
        manager.cancel();
        return;
    }
    if (AutoRun || !manager.allowsInteraction())
        return;
    bool canClose = true;
    if (!runReported([this, &canClose] { FormCloseQuery(canClose); }))
        canClose = false;
    manager.release();
    if (!canClose)
        manager.cancel();
#else
    Q_UNUSED(manager);
#endif
}

void TfrmMain::Timer1Timer()
{
    Timer1->stop();
    AutoRun = true;
    ContinueWriting = true;
    if (!m_createHTML.CreateHTMLFile(m_arguments.value(0)) &&
        !reportRefusedWrite(m_arguments.value(0)))
        dialogs().showMessage(this, QStringLiteral("書き出しに失敗しました"));
    close();
}

void TfrmMain::endUnstartedBatchRun()
{
    dialogs().showMessage(this, QStringLiteral("書き出しに失敗しました"));
    AutoRun = true;
    close();
}

bool TfrmMain::showSecondaryWindow(QWidget *window)
{
    if (!window)
        return false;
    window->show();
    window->activateWindow();
    return true;
}

void TfrmMain::TB_SetHTMLClick()
{
    if (showSecondaryWindow(m_frmSetting))
        setEnabled(false);
}

void TfrmMain::TB_SetFavoriteFolderClick()
{
    if (showSecondaryWindow(m_frmFavoriteFolderSelect))
        setEnabled(false);
}

void TfrmMain::TB_HelpClick()
{
    // readme.txt of the working folder, else the installed one; none at all: nothing happens.
    // Nothing that goes wrong on the way is shown.
    try {
        const QString path =
            helpFilePath(QDir::currentPath(), QCoreApplication::applicationDirPath());
        if (!path.isEmpty())
            dialogs().openUrl(this, QUrl::fromLocalFile(path));
    } catch (...) {
    }
}

void TfrmMain::TB_VersionClick()
{
    // The version window disables the main window itself while it is shown.
    showSecondaryWindow(m_frmVersion);
}

void TfrmMain::TB_EndClick()
{
    close();
}
