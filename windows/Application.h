// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QApplication>

#include <functional>

// Runs one handler. An error that escapes it ends the handler and goes to the application's
// error report (the error's text followed by ".", in an error box); the program keeps running.
// True when the handler ran to its end.
bool runReported(const std::function<void()> &handler);

// Before the application object exists: where no display is named at all (no DISPLAY, no
// WAYLAND_DISPLAY) and neither QT_QPA_PLATFORM nor a -platform or -display argument chooses
// the platform, Qt could not start and would end the program at once. The offscreen platform is
// chosen instead, so that a batch run started by cron or on a server writes its page. True when
// it was chosen.
bool chooseOffscreenWithoutDisplay(int argc, char **argv);

class QTranslator;

// The application object of the program: every event goes through runReported, so no exception
// that escapes a handler can end the process. It also sets up what every window relies on:
// - the application name "Talvensa", the caption of the plain message boxes. No display name is
//   set: Qt on X11 would append it to every window's caption;
// - Qt's own Japanese texts (standard buttons, the save and colour dialogs), whatever the
//   system's locale, since the whole interface is Japanese;
// - no configuration file of Qt's: the file dialog's history and the colour dialog's custom
//   colours last for the run only, as the program keeps nothing but its settings file;
// - the system colours taken from the palette, now and whenever the palette changes.
class TApplication final : public QApplication
{
    Q_OBJECT

public:
    TApplication(int &argc, char **argv);
    ~TApplication() override;

    bool notify(QObject *receiver, QEvent *event) override;

protected:
    bool event(QEvent *event) override;

private:
    QTranslator *m_qtTranslation = nullptr;
};
