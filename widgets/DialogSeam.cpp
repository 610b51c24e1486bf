// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "widgets/DialogSeam.h"

#include "widgets/SystemPalette.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <cstdio>

namespace {

QString applicationTitle()
{
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Talvensa") : name;
}

void printToStandardError(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fprintf(stderr, "%s\n", bytes.constData());
    std::fflush(stderr);
}

// A box with the application title as caption and one OK button, or the text on standard error
// where nobody could see the box.
void showOkBox(QMessageBox::Icon icon, QWidget *parent, const QString &text)
{
    if (isScreenlessPlatform()) {
        printToStandardError(text);
        return;
    }
    QMessageBox box(icon, applicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

class StandardDialogs final : public DialogSeam
{
public:
    void showMessage(QWidget *parent, const QString &text) override
    {
        showOkBox(QMessageBox::NoIcon, parent, text);
    }

    void showError(QWidget *parent, const QString &text) override
    {
        showOkBox(QMessageBox::Critical, parent, text);
    }

    bool confirm(QWidget *parent, const QString &text) override
    {
        if (isScreenlessPlatform()) {
            printToStandardError(text);
            return false;
        }
        QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), text, QMessageBox::NoButton,
                        parent);
        QPushButton *yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes;
    }

    std::optional<SaveFileChoice> saveFileName(QWidget *parent,
                                               const SaveFileRequest &request) override
    {
        if (isScreenlessPlatform())
            return std::nullopt;
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // No title of its own: the dialog keeps the standard one ("名前を付けて保存").
        dialog.setDefaultSuffix(request.defaultSuffix);
        // Qt reads the patterns from the last pair of brackets, separated by blanks; the list
        // shows the description alone.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        QStringList filters;
        for (const SaveFileFilter &filter : request.filters)
            filters << filter.description + QStringLiteral(" (") +
                           filter.patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
        dialog.setNameFilters(filters);
        // The file type chosen last time, when this request lists it too.
        if (!m_lastFilter.isEmpty() && filters.contains(m_lastFilter))
            dialog.selectNameFilter(m_lastFilter);
        if (!request.confirmOverwrite)
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDirectory(m_lastFolder.isEmpty() ? request.initialFolder : m_lastFolder);
        if (!m_lastName.isEmpty())
            dialog.selectFile(m_lastName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const QString path = dialog.selectedFiles().constFirst();
        const QFileInfo info(path);
        m_lastFolder = info.absolutePath();
        m_lastName = info.fileName();
        SaveFileChoice choice{path, 0};
        // With the details hidden, Qt gives the selected entry as the list shows it (the
        // description, its blanks simplified), or, in later versions, whole.
        const QString selected = dialog.selectedNameFilter();
        for (qsizetype i = 0; i < filters.size(); ++i) {
            if (selected == filters[i] || selected == request.filters[i].description.simplified()) {
                choice.filter = i;
                m_lastFilter = filters[i];
                break;
            }
        }
        return choice;
    }

    std::optional<TColor> chooseColor(QWidget *parent, TColor initial) override
    {
        if (isScreenlessPlatform())
            return std::nullopt;
        // QColorDialog keeps its custom colours for the whole run.
        const QColor chosen = QColorDialog::getColor(toQColor(initial), parent);
        if (!chosen.isValid())
            return std::nullopt;
        return toTColor(chosen);
    }

    void openUrl(QWidget *, const QUrl &url) override { QDesktopServices::openUrl(url); }

private:
    QString m_lastFolder;
    QString m_lastName;
    QString m_lastFilter;
};

DialogSeam *&installed()
{
    static DialogSeam *seam = nullptr;
    return seam;
}

} // namespace

DialogSeam &dialogs()
{
    static StandardDialogs standard;
    return installed() ? *installed() : standard;
}

void setDialogs(DialogSeam *seam)
{
    installed() = seam;
}

bool isScreenlessPlatform()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

void reportError(const QString &message)
{
    dialogs().showError(QApplication::activeWindow(), message + QLatin1Char('.'));
}
