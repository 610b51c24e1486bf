#pragma once

#include <QPointer>
#include <QWidget>

// A window opened beside the main window (design settings, Favorites folder, version). The
// main window is disabled while it is open and enabled again whenever it closes or hides, so
// the program can never be left with a locked main window. It lives for the whole run: closing
// hides it, and closing it never ends the program.
//
// A top-level window without a parent: disabling the main window must not disable it too.
class TSecondaryWindow : public QWidget
{
    Q_OBJECT

public:
    TSecondaryWindow(QWidget *mainWindow, Qt::WindowFlags kind);

protected:
    // Run when the program shows or hides the window (not when the window system minimises it).
    virtual void FormShow() {}
    virtual void FormHide() {}
    // Asked when the window is to close; enables the main window and lets the close go on.
    virtual bool FormCloseQuery();

    void setMainWindowEnabled(bool enabled);
    // Writes the settings file; a failure goes to the application error report.
    static void saveSettingsReportingErrors();

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QPointer<QWidget> m_mainWindow;
};
