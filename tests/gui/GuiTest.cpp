// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "GuiTest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>

void GuiTest::SetUp()
{
    ASSERT_TRUE(display().isValid()) << "no X server (Xvfb) for the test";
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(QFile::copy(QStringLiteral(TALVENSA_EXECUTABLE), path(QStringLiteral("talvensa"))));
    for (const char *folder : {"home/Desktop", "home/Favorites", "runtime", "Favorites/News"})
        ASSERT_TRUE(QDir().mkpath(path(QString::fromLatin1(folder))));
    QFile::setPermissions(path(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeFile(favorites() + QStringLiteral("/Alpha.url"),
              "[InternetShortcut]\r\nURL=http://alpha.example/\r\n");
    writeFile(favorites() + QStringLiteral("/News/Beta.url"),
              "[InternetShortcut]\r\nURL=http://beta.example/\r\n");
}

void GuiTest::TearDown()
{
    if (isRunning()) {
        m_program.kill();
        m_program.waitForFinished(10000);
    }
}

void GuiTest::writeFile(const QString &file, const QByteArray &bytes)
{
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << file.toStdString();
    out.write(bytes);
}

QByteArray GuiTest::readFile(const QString &file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void GuiTest::writeSettings(const QByteArray &moreLines) const
{
    writeFile(settingsPath(),
              "[Document]\r\nFavoriteFolder=" + favorites().toUtf8() + "\r\n" + moreLines);
}

void GuiTest::start(const QStringList &arguments)
{
    launch(arguments);
    expectMainWindow();
}

void GuiTest::expectMainWindow()
{
    // The message boxes carry the same caption as the main window, so the main window is known
    // by the id of the one window that the start shows.
    m_mainWindowId = expectWindow(QStringLiteral("Talvensa")).id;
}

void GuiTest::launch(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display().name());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // Every place a program keeps files lies in the test's folder; the locale is not Japanese,
    // which the program's own language must not depend on.
    environment.insert(QStringLiteral("HOME"), home());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home() + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home() + QStringLiteral("/.local/share"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home() + QStringLiteral("/.cache"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    environment.remove(QStringLiteral("LC_ALL"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORMTHEME"));
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    m_program.setProcessEnvironment(environment);
    m_program.setWorkingDirectory(m_dir.path());
    m_program.setProcessChannelMode(QProcess::MergedChannels);
    m_program.start(path(QStringLiteral("talvensa")), arguments);
    ASSERT_TRUE(m_program.waitForStarted(10000));
}

int GuiTest::waitForExit(int timeoutMs)
{
    if (!waitFor([this] { return !isRunning(); }, timeoutMs))
        return -1;
    return m_program.exitStatus() == QProcess::NormalExit ? m_program.exitCode() : -1;
}

TestDisplay::Window GuiTest::mainWindow() const
{
    for (const TestDisplay::Window &window : display().windows()) {
        if (window.id == m_mainWindowId)
            return window;
    }
    ADD_FAILURE() << "the main window is not on screen";
    throw std::runtime_error("window missing");
}

TestDisplay::Window GuiTest::expectWindow(const QString &caption) const
{
    const std::optional<TestDisplay::Window> window = display().waitForWindow(caption);
    if (!window) {
        QStringList shown;
        for (const TestDisplay::Window &w : display().windows())
            shown << w.caption;
        ADD_FAILURE() << "no window \"" << caption.toStdString()
                      << "\"; on screen: " << shown.join(QStringLiteral(", ")).toStdString();
        throw std::runtime_error("window missing");
    }
    return *window;
}

void GuiTest::clickToolbar(ToolbarItem item) const
{
    // The items lie side by side from the left; these points fall inside each with the
    // program's fonts.
    int x = 0;
    switch (item) {
    case ToolbarItem::Settings:
        x = 40;
        break;
    case ToolbarItem::Folder:
        x = 180;
        break;
    case ToolbarItem::Version:
        x = 370;
        break;
    case ToolbarItem::End:
        x = 445;
        break;
    }
    display().click(mainWindow(), x, 10);
}

void GuiTest::clickCreate() const
{
    display().click(mainWindow(), 236, 252);
}

void GuiTest::clickUntilGone(const TestDisplay::Window &window, int fromRight, int fromBottom) const
{
    // A box is laid out and placed again after it first shows, and on a busy machine it can be
    // on screen a moment before it takes input: each click goes where the box is now, and is
    // given again while the box is still there.
    for (int attempt = 0; attempt < 6; ++attempt) {
        TestDisplay::Window now = window;
        for (const TestDisplay::Window &shown : display().windows()) {
            if (shown.id == window.id)
                now = shown;
        }
        display().click(now, now.geometry.width() - fromRight, now.geometry.height() - fromBottom);
        if (display().waitUntilGone(window.id, 5000))
            return;
    }
    ADD_FAILURE() << "\"" << window.caption.toStdString() << "\" stays after clicks; screen in "
                  << saveScreen().toStdString();
}

void GuiTest::answer(const TestDisplay::Window &box, bool yes) const
{
    // The two buttons stand at the bottom right of the box, はい left of いいえ.
    clickUntilGone(box, yes ? 140 : 52, 22);
}

TestDisplay::Window GuiTest::expectWindowBesides(const QString &caption,
                                                 unsigned long besides) const
{
    std::optional<TestDisplay::Window> found;
    waitFor([&] {
        for (const TestDisplay::Window &window : display().windows()) {
            if (window.caption == caption && window.id != besides)
                found = window;
        }
        return found.has_value();
    });
    if (!found) {
        ADD_FAILURE() << "no second window \"" << caption.toStdString() << "\"";
        throw std::runtime_error("window missing");
    }
    return *found;
}

TestDisplay::Window GuiTest::expectSaveDialog() const
{
    return expectWindowBesides(SaveDialogCaption, m_mainWindowId);
}

void GuiTest::pressKeys(const TestDisplay::Window &window, const QString &keys) const
{
    // Without a window manager a window that was just shown may not have the focus yet; a
    // click into it gives it, as it would a user.
    if (!display().waitForFocus(window, 3000))
        display().click(window, 4, 4);
    ASSERT_TRUE(display().waitForFocus(window)) << window.caption.toStdString();
    display().key(keys);
}

void GuiTest::saveAs(const TestDisplay::Window &dialog, const QString &fileName) const
{
    // The name box has the focus when the dialog opens.
    pressKeys(dialog, QStringLiteral("ctrl+a"));
    display().type(fileName);
    display().key(QStringLiteral("Return"));
}

void GuiTest::dismissMessage() const
{
    // Its one button, OK, stands at the bottom right.
    clickUntilGone(expectWindowBesides(QStringLiteral("Talvensa"), m_mainWindowId), 50, 22);
}

QString GuiTest::saveScreen() const
{
    // ImageMagick's import, where it is installed.
    const QString file = QDir::temp().filePath(
        QStringLiteral("gui_tests-%1.png")
            .arg(QString::fromLatin1(
                ::testing::UnitTest::GetInstance()->current_test_info()->name())));
    QProcess import;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display().name());
    import.setProcessEnvironment(environment);
    import.start(QStringLiteral("import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), file});
    import.waitForFinished(30000);
    return file;
}

bool GuiTest::qtLeftItsSettings() const
{
    return QFileInfo::exists(home() + QStringLiteral("/.config/QtProject.conf"));
}

QString GuiTest::output()
{
    return QString::fromUtf8(m_program.readAll());
}

BusyProcesses::BusyProcesses()
{
    for (QProcess &busy : m_busy) {
        busy.start(QStringLiteral("/bin/sh"),
                   {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
        busy.waitForStarted(10000);
    }
}

BusyProcesses::~BusyProcesses()
{
    for (QProcess &busy : m_busy) {
        busy.kill();
        busy.waitForFinished(10000);
    }
}
