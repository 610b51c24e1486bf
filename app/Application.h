#pragma once

#include <QApplication>

#include <functional>

// Runs one handler. An error that escapes it ends the handler and goes to the application's
// error report (the error's text followed by ".", in an error box); the program keeps running.
// True when the handler ran to its end.
bool runReported(const std::function<void()> &handler);

// The application object of the program: every event goes through runReported, so no exception
// that escapes a handler can end the process.
class TApplication final : public QApplication
{
    Q_OBJECT

public:
    TApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
