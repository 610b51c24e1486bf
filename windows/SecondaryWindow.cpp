// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "windows/SecondaryWindow.h"

#include "settings/GlobalVariant.h"
#include "widgets/DialogSeam.h"
#include "widgets/SystemPalette.h"
#include "widgets/WindowLook.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QShowEvent>
#include <QTimer>

TSecondaryWindow::TSecondaryWindow(QWidget *mainWindow, Qt::WindowFlags kind, const char *name,
                                   const QString &caption, QSize clientSize)
    : QWidget(nullptr,
              kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_mainWindow(mainWindow)
{
    setAttribute(Qt::WA_QuitOnClose, false);
    setObjectName(QLatin1String(name));
    setWindowTitle(caption);
    setFont(windowFont(12));
    setFixedSize(clientSize);
    centreOnScreen(this);
    // The window's ground is the button face, as the main window's.
    QPalette ground = palette();
    ground.setColor(QPalette::Window, toQColor(GetSysColor(COLOR_BTNFACE)));
    setPalette(ground);
    setAutoFillBackground(true);
}

QTimer *TSecondaryWindow::addRefreshTimer()
{
    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(100);
    return timer;
}

bool TSecondaryWindow::FormCloseQuery()
{
    setMainWindowEnabled(true);
    return true;
}

void TSecondaryWindow::setMainWindowEnabled(bool enabled)
{
    if (m_mainWindow)
        m_mainWindow->setEnabled(enabled);
}

void TSecondaryWindow::saveSettingsReportingErrors()
{
    try {
        SaveSettings();
    } catch (const TalvensaError &e) {
        reportError(e.message());
    } catch (const std::exception &e) {
        reportError(QString::fromUtf8(e.what()));
    }
}

void TSecondaryWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSecondaryWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    FormHide();
    // Closing has enabled the main window already; a hide that did not come through the close
    // query must not leave it locked either.
    setMainWindowEnabled(true);
}

void TSecondaryWindow::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}
