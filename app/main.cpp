// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/Application.h"
#include "windows/MainWindow.h"
#include "windows/FolderWindow.h"
#include "windows/SettingsWindow.h"
#include "widgets/ProgramIcon.h"
#include "platform/VersionNotice.h"
#include "windows/VersionWindow.h"

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    // "talvensa --version", that one argument alone, prints the version and opens no window;
    // every other command line is the batch run's output path as always.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        const QByteArray notice = versionNotice(QStringLiteral("talvensa")).toUtf8();
        std::fwrite(notice.constData(), 1, size_t(notice.size()), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    const bool withoutDisplay = chooseOffscreenWithoutDisplay(argc, argv);
    TApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments().mid(1);
    if (withoutDisplay && arguments.isEmpty()) {
        // A batch run goes on without a display; the main window alone would wait for ever
        // where nobody sees it.
        std::fputs("talvensa: no display to show the main window on (DISPLAY is not set)\n",
                   stderr);
        return 0;
    }
    QApplication::setWindowIcon(programIcon());

    // The four windows, in this order; the main window's creation runs first, and the main
    // window lives until the end of the process.
    TfrmMain frmMain(arguments);
    TfrmSetting frmSetting(&frmMain);
    TfrmFavoriteFolderSelect frmFavoriteFolderSelect(&frmMain);
    TfrmVersion frmVersion(&frmMain);
    frmMain.setSecondaryWindows(&frmSetting, &frmFavoriteFolderSelect, &frmVersion);

    // Closing the main window ends the program, also while another window is open.
    QObject::connect(&frmMain, &TfrmMain::closed, &app, [] { QCoreApplication::exit(0); });
    frmMain.show();

    app.exec();
    // The exit status is 0 whatever happened, also after a failed batch run.
    return 0;
}
