// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/Application.h"

#include "platform/Errors.h"
#include "widgets/DialogSeam.h"
#include "widgets/SystemPalette.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

#include <exception>

bool runReported(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const TalvensaError &error) {
        reportError(error.message());
    } catch (const std::exception &error) {
        reportError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        reportError(QStringLiteral("予期しないエラーが発生しました"));
    }
    return false;
}

bool chooseOffscreenWithoutDisplay(int argc, char **argv)
{
    for (const char *variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!qEnvironmentVariableIsEmpty(variable))
            return false;
    }
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        for (const char *option : {"-platform", "--platform", "-display", "--display"}) {
            if (argument == option)
                return false;
        }
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Talvensa"));

    m_qtTranslation = new QTranslator(this);
    if (m_qtTranslation->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                              QStringLiteral("_"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(m_qtTranslation);

    // Qt keeps the file dialog's history and the colour dialog's custom colours in a file of its
    // own (QtProject.conf) under the user's configuration folder. Its user-scope settings are
    // sent to a place where no file can be made, so nothing is read or written there.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));

    applyPaletteToSystemColors();
}

TApplication::~TApplication() = default;

bool TApplication::event(QEvent *event)
{
    if (event->type() == QEvent::ApplicationPaletteChange)
        applyPaletteToSystemColors();
    return QApplication::event(event);
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    bool result = false;
    runReported([&] { result = QApplication::notify(receiver, event); });
    return result;
}
