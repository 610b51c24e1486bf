// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QString>

#include <exception>

// Base of the errors that the program raises with a message for the user (a bad colour in the
// settings file, a settings file that cannot be written, missing version data). The handler that
// catches one shows message(); what() gives the same text in UTF-8 for logs and tests.
class TalvensaError : public std::exception
{
public:
    explicit TalvensaError(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8())
    {}
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
