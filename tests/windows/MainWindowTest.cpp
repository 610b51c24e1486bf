// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/Application.h"
#include "windows/Artwork.h"
#include "widgets/Gauge.h"
#include "windows/MainWindow.h"
#include "windows/RunState.h"
#include "platform/Errors.h"
#include "platform/SpecialFolders.h"
#include "settings/GlobalVariant.h"
#include "widgets/DialogSeam.h"
#include "widgets/PictureButton.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <QHelpEvent>
#include <QToolTip>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

namespace {

const QString IdleText = QStringLiteral("「Internet Explore」のお気に入り（Favorite）から、\r\n"
                                        "ホームページ形式の一覧ファイルを作成します。\r\n"
                                        "作成するときは下の「作成」を押してください。");
const QString WritingText =
    QStringLiteral("只今、ファイル解析中です。\r\nしばらくお待ちください。");
const QString QuitQuestion = QStringLiteral("終了します。よろしいですか？");

void writeShortcut(const QString &path, const QByteArray &url)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[InternetShortcut]\r\nURL=" + url + "\r\n");
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int folderCount(const QByteArray &page)
{
    return int(page.count("<div class=\"FolderName\">"));
}

using MessageState = TfrmMain::MessageState;

class MainWindowTest : public windows_test::WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        // Three folders: the root and two below it, one shortcut in each.
        m_favorites = m_dir.filePath(QStringLiteral("Favorites"));
        ASSERT_TRUE(QDir().mkpath(m_favorites + QStringLiteral("/Sub1")));
        ASSERT_TRUE(QDir().mkpath(m_favorites + QStringLiteral("/Sub2")));
        writeShortcut(m_favorites + QStringLiteral("/Alpha.url"), "http://alpha.example/");
        writeShortcut(m_favorites + QStringLiteral("/Sub1/Beta.url"), "http://beta.example/");
        writeShortcut(m_favorites + QStringLiteral("/Sub2/Gamma.url"), "http://gamma.example/");

        resetRunState();
    }

    void TearDown() override
    {
        WindowTest::TearDown();
        resetRunState();
    }

    static void resetRunState()
    {
        ContinueWriting = false;
        AutoRun = false;
        AutoRunOutputPath.clear();
    }

    // A shown main window that reads the test's Favorites tree.
    std::unique_ptr<TfrmMain> openWindow(const QStringList &arguments = {})
    {
        auto window = std::make_unique<TfrmMain>(arguments);
        GlobalVariant.FavoriteFolder = m_favorites;
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    static void expectIdleLook(const TfrmMain &window)
    {
        auto *create = control<TPictureButton>(window, "btnCreateHTML");
        EXPECT_TRUE(create->isVisible());
        EXPECT_TRUE(create->isEnabled());
        EXPECT_FALSE(control<TPictureButton>(window, "btnCreateCancel")->isVisible());
        EXPECT_FALSE(control<TGauge>(window, "Gauge1")->isVisible());
        EXPECT_TRUE(control<QToolBar>(window, "TBToolbar")->isEnabled());
        EXPECT_EQ(control<QLabel>(window, "lblMessage")->text(), IdleText);
    }

    static void clickCreate(const TfrmMain &window)
    {
        QTest::mouseClick(control<TPictureButton>(window, "btnCreateHTML"), Qt::LeftButton);
    }

    QString m_favorites;
};

TEST_F(MainWindowTest, StartsIdleWithHiddenStopButtonOverCreateButton)
{
    auto window = openWindow();
    expectIdleLook(*window);
    EXPECT_FALSE(AutoRun);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Talvensa"));
    EXPECT_EQ(window->size(), QSize(472, 298));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);

    auto *timer = control<QTimer>(*window, "Timer1");
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);

    auto *create = control<TPictureButton>(*window, "btnCreateHTML");
    auto *cancel = control<TPictureButton>(*window, "btnCreateCancel");
    EXPECT_EQ(create->caption(), QStringLiteral("作成"));
    EXPECT_EQ(cancel->caption(), QStringLiteral("中止"));
    EXPECT_EQ(cancel->geometry(), create->geometry());
    EXPECT_EQ(cancel->font(), create->font());
    EXPECT_EQ(cancel->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(create->geometry(), QRect(75, 232, 321, 41));

    // Hints come up after 5 ms.
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 5);
}

TEST_F(MainWindowTest, MessageStatesGiveTheirTextsJoinedByCrLf)
{
    auto window = openWindow();
    auto *label = control<QLabel>(*window, "lblMessage");
    window->SetMessageState(MessageState::Writing);
    EXPECT_EQ(label->text(), WritingText);
    AutoRunOutputPath = QStringLiteral("/tmp/出力.html");
    window->SetMessageState(MessageState::AutoRun);
    EXPECT_EQ(label->text(), QStringLiteral("自動実行中。\r\n\r\n出力先 ： /tmp/出力.html"));
    window->SetMessageState(MessageState::Idle);
    EXPECT_EQ(label->text(), IdleText);
    window->SetMessageState(MessageState{});
    EXPECT_EQ(label->text(), QString());
    window->SetMessageState(static_cast<MessageState>(4));
    EXPECT_EQ(label->text(), QString());
}

TEST_F(MainWindowTest, CancelledDialogWritesNothingAndReturnsToIdle)
{
    auto window = openWindow();
    bool checked = false;
    m_dialogs.whileSaveDialogOpen = [&] {
        // The writing look is up before the dialog opens.
        EXPECT_FALSE(control<TPictureButton>(*window, "btnCreateHTML")->isEnabled());
        EXPECT_TRUE(control<TGauge>(*window, "Gauge1")->isVisible());
        EXPECT_FALSE(control<QToolBar>(*window, "TBToolbar")->isEnabled());
        EXPECT_EQ(control<QLabel>(*window, "lblMessage")->text(), WritingText);
        EXPECT_TRUE(ContinueWriting);
        checked = true;
    };
    clickCreate(*window);

    EXPECT_TRUE(checked);
    ASSERT_EQ(m_dialogs.saveRequests.size(), 1);
    const SaveFileRequest &request = m_dialogs.saveRequests.constFirst();
    EXPECT_EQ(request.initialFolder, SpecialFolderPath(CSIDL_DESKTOP));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("html"));
    // The designed entry first (selected unless another was chosen before), then the two other
    // kinds of document.
    const QStringList patterns{QStringLiteral("*.html"), QStringLiteral("*.htm")};
    EXPECT_EQ(request.filters,
              QList<SaveFileFilter>(
                  {{QStringLiteral("HTMLファイル(*.html;*.htm)"), patterns},
                   {QStringLiteral("ブックマークファイル (Netscape形式)(*.html;*.htm)"), patterns},
                   {QStringLiteral("UTF-8 ページ(*.html;*.htm)"), patterns}}));
    EXPECT_TRUE(request.confirmOverwrite);

    EXPECT_TRUE(m_dialogs.messages.isEmpty());
    EXPECT_TRUE(m_dialogs.errors.isEmpty());
    EXPECT_TRUE(QDir(m_dir.path())
                    .entryList({QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files)
                    .isEmpty());
    expectIdleLook(*window);
}

TEST_F(MainWindowTest, ReplacesExistingFileAndReportsSuccess)
{
    auto window = openWindow();
    const QString output = path(QStringLiteral("links.html"));
    {
        QFile old(output);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old content that is longer than nothing");
    }
    // Read-only does not keep the old file.
    QFile::setPermissions(output, QFile::ReadOwner | QFile::ReadUser);
    m_dialogs.saveAnswer = output;
    clickCreate(*window);

    EXPECT_EQ(m_dialogs.messages, QStringList{QStringLiteral("ファイルを書き出しました")});
    const QByteArray page = readBytes(output);
    EXPECT_TRUE(page.startsWith("<!DOCTYPE HTML"));
    EXPECT_FALSE(page.contains("old content"));
    EXPECT_TRUE(page.endsWith("</html>\r\n"));
    EXPECT_EQ(folderCount(page), 3);
    EXPECT_TRUE(page.contains("http://gamma.example/"));
    expectIdleLook(*window);
}

TEST_F(MainWindowTest, FileTypeChosenPicksTheDocumentWritten)
{
    auto window = openWindow();
    // The bookmark file entry: a Netscape bookmark file with the tree's folders nested.
    m_dialogs.saveAnswer = path(QStringLiteral("bookmarks.html"));
    m_dialogs.saveFilterAnswer = 1;
    clickCreate(*window);
    EXPECT_EQ(m_dialogs.messages, QStringList{QStringLiteral("ファイルを書き出しました")});
    const QByteArray bookmarks = readBytes(*m_dialogs.saveAnswer);
    EXPECT_TRUE(bookmarks.startsWith("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"));
    EXPECT_TRUE(bookmarks.contains(">Sub1</H3>\n"));
    EXPECT_TRUE(bookmarks.contains("<DT><A HREF=\"http://beta.example/\""));

    // The UTF-8 page entry writes neither of the other two.
    m_dialogs.messages.clear();
    m_dialogs.saveAnswer = path(QStringLiteral("utf8.html"));
    m_dialogs.saveFilterAnswer = 2;
    clickCreate(*window);
    ASSERT_EQ(m_dialogs.messages.size(), 1);
    const QByteArray page = readBytes(*m_dialogs.saveAnswer);
    EXPECT_FALSE(page.startsWith("<!DOCTYPE NETSCAPE"));
    EXPECT_FALSE(page.startsWith("<!DOCTYPE HTML PUBLIC"));

    // The designed entry: the classic page.
    m_dialogs.messages.clear();
    m_dialogs.saveAnswer = path(QStringLiteral("classic.html"));
    m_dialogs.saveFilterAnswer = 0;
    clickCreate(*window);
    EXPECT_EQ(m_dialogs.messages, QStringList{QStringLiteral("ファイルを書き出しました")});
    EXPECT_TRUE(readBytes(*m_dialogs.saveAnswer).startsWith("<!DOCTYPE HTML PUBLIC"));
    expectIdleLook(*window);
}

TEST_F(MainWindowTest, ReportsWriteFailure)
{
    auto window = openWindow();
    m_dialogs.saveAnswer = path(QStringLiteral("no such folder/links.html"));
    clickCreate(*window);

    EXPECT_EQ(m_dialogs.messages, QStringList{QStringLiteral("ファイル作成に失敗しました")});
    EXPECT_FALSE(QFile::exists(*m_dialogs.saveAnswer));
    expectIdleLook(*window);
}

TEST_F(MainWindowTest, UnreadableBookmarkFileIsReportedAsAnErrorWithNoPage)
{
    const QString bookmarks = path(QStringLiteral("bookmarks.html"));
    {
        QFile file(bookmarks);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<html>no bookmark file</html>");
    }
    auto window = openWindow();
    GlobalVariant.FavoriteFolder = bookmarks;
    m_dialogs.saveAnswer = path(QStringLiteral("links.html"));
    clickCreate(*window);

    EXPECT_EQ(
        m_dialogs.errors,
        QStringList{bookmarks + QStringLiteral(" はブックマークファイルとして読み込めません.")});
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
    EXPECT_FALSE(QFile::exists(*m_dialogs.saveAnswer));
    expectIdleLook(*window);

    // A page already there under the chosen name is not removed for a source with no page.
    {
        QFile old(*m_dialogs.saveAnswer);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the old page");
    }
    m_dialogs.errors.clear();
    clickCreate(*window);
    EXPECT_EQ(m_dialogs.errors.size(), 1);
    QFile old(*m_dialogs.saveAnswer);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the old page"));
}

// The bookmark file that is the Favourites source chosen as the page: a message box says why
// nothing is written, and the file stays as it was.
TEST_F(MainWindowTest, SourceChosenAsThePageIsRefusedWithAMessage)
{
    const QString bookmarks = path(QStringLiteral("bookmarks.html"));
    const QByteArray content =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><A HREF=\"http://a/\">a</A>\n";
    {
        QFile file(bookmarks);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    auto window = openWindow();
    GlobalVariant.FavoriteFolder = bookmarks;
    m_dialogs.saveAnswer = bookmarks;
    clickCreate(*window);

    EXPECT_EQ(
        m_dialogs.messages,
        QStringList{bookmarks + QStringLiteral(" は読み込むファイルと同じなので書き出せません")});
    EXPECT_TRUE(m_dialogs.errors.isEmpty());
    QFile file(bookmarks);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), content);
    expectIdleLook(*window);
}

TEST_F(MainWindowTest, GaugeFollowsTheFoldersAndKeepsItsLastPosition)
{
    auto window = openWindow();
    auto *gauge = control<TGauge>(*window, "Gauge1");

    // Every repaint of the gauge, with what it showed.
    QList<QPair<int, int>> painted;
    struct PaintRecorder final : QObject
    {
        TGauge *gauge;
        QList<QPair<int, int>> *painted;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint) {
                const QPair<int, int> shown(gauge->maximum(), gauge->position());
                if (painted->isEmpty() || painted->constLast() != shown)
                    painted->append(shown);
            }
            return false;
        }
    } recorder;
    recorder.gauge = gauge;
    recorder.painted = &painted;
    gauge->installEventFilter(&recorder);

    m_dialogs.saveAnswer = path(QStringLiteral("first.html"));
    clickCreate(*window);
    gauge->removeEventFilter(&recorder);

    ASSERT_EQ(m_dialogs.messages, QStringList{QStringLiteral("ファイルを書き出しました")});
    // Maximum 2 for three folders, then the positions 0, 1 and 2, each painted as it came.
    const QList<QPair<int, int>> expected = {{2, 0}, {2, 1}, {2, 2}};
    auto next = expected.cbegin();
    for (const auto &shown : std::as_const(painted)) {
        if (next != expected.cend() && shown == *next)
            ++next;
    }
    EXPECT_EQ(next, expected.cend()) << "painted " << painted.size() << " states";
    EXPECT_EQ(gauge->maximum(), 2);
    EXPECT_EQ(gauge->position(), 2);

    // A second run shows the gauge where the first one left it while the dialog is open.
    bool checked = false;
    m_dialogs.whileSaveDialogOpen = [&] {
        EXPECT_TRUE(gauge->isVisible());
        EXPECT_EQ(gauge->maximum(), 2);
        EXPECT_EQ(gauge->position(), 2);
        EXPECT_EQ(gauge->percentDone(), 100);
        checked = true;
    };
    m_dialogs.saveAnswer.reset();
    clickCreate(*window);
    EXPECT_TRUE(checked);
}

TEST_F(MainWindowTest, StopButtonEndsTheWriteWithAWholeShorterPage)
{
    auto window = openWindow();
    auto *cancel = control<TPictureButton>(*window, "btnCreateCancel");
    bool pressed = false;
    m_dialogs.saveAnswer = path(QStringLiteral("stopped.html"));
    m_dialogs.whileSaveDialogOpen = [&] {
        // Runs at the first chance the write gives the window to handle its events.
        QTimer::singleShot(0, window.get(), [&] {
            EXPECT_TRUE(cancel->isVisible());
            EXPECT_TRUE(cancel->isEnabled());
            EXPECT_FALSE(control<TPictureButton>(*window, "btnCreateHTML")->isEnabled());
            EXPECT_FALSE(control<QToolBar>(*window, "TBToolbar")->isEnabled());
            EXPECT_TRUE(control<TGauge>(*window, "Gauge1")->isVisible());
            QTest::mouseClick(cancel, Qt::LeftButton);
            pressed = true;
        });
    };
    clickCreate(*window);

    EXPECT_TRUE(pressed);
    EXPECT_FALSE(ContinueWriting);
    EXPECT_EQ(m_dialogs.messages, QStringList{QStringLiteral("書き出しを中止しました")});
    const QByteArray page = readBytes(*m_dialogs.saveAnswer);
    EXPECT_TRUE(page.startsWith("<!DOCTYPE HTML"));
    EXPECT_TRUE(page.endsWith("</html>\r\n"));
    EXPECT_LT(folderCount(page), 3);
    expectIdleLook(*window);

    // The next run is a whole one again.
    m_dialogs.whileSaveDialogOpen = nullptr;
    m_dialogs.messages.clear();
    clickCreate(*window);
    EXPECT_EQ(m_dialogs.messages, QStringList{QStringLiteral("ファイルを書き出しました")});
    EXPECT_EQ(folderCount(readBytes(*m_dialogs.saveAnswer)), 3);
}

TEST_F(MainWindowTest, QuitQuestionDecidesWhetherTheWindowCloses)
{
    auto window = openWindow();
    QSignalSpy closed(window.get(), &TfrmMain::closed);

    m_dialogs.confirmAnswer = false;
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(m_dialogs.confirmations, QStringList{QuitQuestion});
    EXPECT_EQ(closed.count(), 0);

    m_dialogs.confirmAnswer = true;
    control<QAction>(*window, "TB_End")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(m_dialogs.confirmations, QStringList({QuitQuestion, QuitQuestion}));
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(MainWindowTest, AutoRunAsksBeforeTheTimerAndClosesSilentlyAfterIt)
{
    const QString output = path(QStringLiteral("batch.html"));
    const QString ignored = path(QStringLiteral("ignored.html"));
    auto window = openWindow({output, ignored});
    QSignalSpy closed(window.get(), &TfrmMain::closed);

    EXPECT_EQ(control<QLabel>(*window, "lblMessage")->text(),
              QStringLiteral("自動実行中。\r\n\r\n出力先 ： ") + output);
    auto *create = control<TPictureButton>(*window, "btnCreateHTML");
    EXPECT_FALSE(create->isVisible());
    EXPECT_FALSE(create->isEnabled());
    EXPECT_FALSE(control<TGauge>(*window, "Gauge1")->isVisible());
    EXPECT_TRUE(control<QToolBar>(*window, "TBToolbar")->isEnabled());
    EXPECT_TRUE(control<QTimer>(*window, "Timer1")->isActive());

    // Before the timer has fired the batch run has not begun: the question comes.
    m_dialogs.confirmAnswer = false;
    EXPECT_FALSE(window->close());
    EXPECT_EQ(m_dialogs.confirmations, QStringList{QuitQuestion});

    window->Timer1Timer();
    EXPECT_TRUE(AutoRun);
    EXPECT_FALSE(control<QTimer>(*window, "Timer1")->isActive());
    EXPECT_TRUE(readBytes(output).endsWith("</html>\r\n"));
    EXPECT_FALSE(QFile::exists(ignored));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(m_dialogs.confirmations.size(), 1);
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
}

TEST_F(MainWindowTest, FailedBatchRunReportsAndStillCloses)
{
    auto window = openWindow({path(QStringLiteral("missing/batch.html"))});
    window->Timer1Timer();
    EXPECT_EQ(m_dialogs.messages, QStringList{QStringLiteral("書き出しに失敗しました")});
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(m_dialogs.confirmations.isEmpty());
}

TEST_F(MainWindowTest, ToolbarOpensTheOtherWindowsAndTheReadme)
{
    auto window = openWindow();
    QWidget setting;
    QWidget folder;
    QWidget version;
    window->setSecondaryWindows(&setting, &folder, &version);

    control<QAction>(*window, "TB_SetHTML")->trigger();
    EXPECT_TRUE(setting.isVisible());
    EXPECT_FALSE(window->isEnabled());
    setting.hide();
    window->setEnabled(true);

    control<QAction>(*window, "TB_SetFavoriteFolder")->trigger();
    EXPECT_TRUE(folder.isVisible());
    EXPECT_FALSE(window->isEnabled());
    window->setEnabled(true);

    // The version window disables the main window itself.
    control<QAction>(*window, "TB_Version")->trigger();
    EXPECT_TRUE(version.isVisible());

    m_dialogs.whenOpening = [] { throw std::runtime_error("no program for text files"); };
    // The readme.txt of the working folder; the test program's folder holds none.
    const QString working = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(path(QString())));
    QFile readme(path(QStringLiteral("readme.txt")));
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.close();
    control<QAction>(*window, "TB_Help")->trigger();
    EXPECT_EQ(m_dialogs.opened,
              QList<QUrl>{QUrl::fromLocalFile(path(QStringLiteral("readme.txt")))});
    EXPECT_TRUE(m_dialogs.errors.isEmpty());

    // None anywhere: nothing is opened and nothing is said.
    m_dialogs.opened.clear();
    readme.remove();
    control<QAction>(*window, "TB_Help")->trigger();
    QDir::setCurrent(working);
    EXPECT_TRUE(m_dialogs.opened.isEmpty());
    EXPECT_TRUE(m_dialogs.errors.isEmpty());
}

TEST_F(MainWindowTest, ErrorInAHandlerIsReportedAndTheWindowReturnsToIdle)
{
    auto window = openWindow();
    m_dialogs.whileSaveDialogOpen = [] {
        throw TalvensaError(QStringLiteral("ダイアログを開けません"));
    };
    clickCreate(*window);
    EXPECT_EQ(m_dialogs.errors, QStringList{QStringLiteral("ダイアログを開けません.")});
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
    expectIdleLook(*window);
}

TEST(ErrorReportTest, ReportsWhatEscapesAHandler)
{
    windows_test::ScriptedDialogs dialogs;
    setDialogs(&dialogs);
    EXPECT_TRUE(runReported([] {}));
    EXPECT_FALSE(
        runReported([] { throw TalvensaError(QStringLiteral("#12345 は色ではありません")); }));
    EXPECT_FALSE(runReported([] { throw std::runtime_error("disk full"); }));
    EXPECT_FALSE(runReported([] { throw 42; }));
    setDialogs(nullptr);
    ASSERT_EQ(dialogs.errors.size(), 3);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("#12345 は色ではありません."));
    EXPECT_EQ(dialogs.errors[1], QStringLiteral("disk full."));
    EXPECT_TRUE(dialogs.errors[2].endsWith(QLatin1Char('.')));
}

TEST(GaugeTest, ShowsWholePercentAndRepaintsOnlyWhenItChanges)
{
    TGauge gauge;
    gauge.resize(345, 17);
    gauge.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&gauge));
    QTest::qWait(20);

    int paints = 0;
    struct PaintCounter final : QObject
    {
        int *paints;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                ++*paints;
            return false;
        }
    } counter;
    counter.paints = &paints;
    gauge.installEventFilter(&counter);

    // Each repaint below happens at once, without the event loop.
    gauge.setMaximum(1000);
    EXPECT_EQ(paints, 1);
    gauge.setPosition(5);
    EXPECT_EQ(paints, 1) << "still 0 %";
    gauge.setPosition(10);
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(gauge.percentDone(), 1);

    gauge.setMaximum(3);
    EXPECT_EQ(gauge.position(), 3) << "the position stays inside the range";
    EXPECT_EQ(gauge.percentDone(), 100);
    gauge.setPosition(1);
    EXPECT_EQ(gauge.percentDone(), 33);
    gauge.setPosition(-4);
    EXPECT_EQ(gauge.position(), 0);
    gauge.setPosition(99);
    EXPECT_EQ(gauge.position(), 3);

    gauge.setMaximum(0);
    EXPECT_EQ(gauge.position(), 0);
    EXPECT_EQ(gauge.percentDone(), 0);
    gauge.removeEventFilter(&counter);
}

TEST(ArtworkTest, BannerIsBlueLetteringOnATransparentWhiteGround)
{
    const QImage banner = bannerImage();
    EXPECT_EQ(banner.size(), QSize(350, 50));
    EXPECT_EQ(banner.depth(), 24);
    EXPECT_EQ(banner.pixelColor(0, 49), QColor(Qt::white));
    QPoint blue(-1, -1);
    bool smoothed = false;
    for (int y = 0; y < banner.height(); ++y) {
        for (int x = 0; x < banner.width(); ++x) {
            const QColor pixel = banner.pixelColor(x, y);
            if (pixel == QColor(0x00, 0x33, 0xFF))
                blue = QPoint(x, y);
            else if (pixel != Qt::white)
                smoothed = true;
        }
    }
    ASSERT_NE(blue, QPoint(-1, -1));
    EXPECT_TRUE(smoothed);

    // Shown transparently: the white ground lets the window through, the lettering stays.
    const QImage shown = transparentPicture(banner).toImage();
    EXPECT_EQ(qAlpha(shown.pixel(0, 49)), 0);
    EXPECT_EQ(qAlpha(shown.pixel(349, 0)), 0);
    EXPECT_EQ(qAlpha(shown.pixel(blue)), 255);
}

} // namespace

TEST_F(MainWindowTest, ToolbarItemsPopUpNoHints)
{
    auto window = openWindow();
    auto *toolbar = control<QToolBar>(*window, "TBToolbar");
    for (QAction *action : toolbar->actions()) {
        QWidget *button = toolbar->widgetForAction(action);
        if (!button || action->isSeparator())
            continue;
        QHelpEvent hint(QEvent::ToolTip, QPoint(4, 4), button->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(button, &hint);
        EXPECT_FALSE(QToolTip::isVisible()) << action->text().toStdString();
        QToolTip::hideText();
    }
}
