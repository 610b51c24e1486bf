// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

// Version data as a Windows version resource holds it: a translation list (language in the low
// 16 bits of each entry, code page in the high 16 bits) and string tables named after a
// translation ("041103A4"), each a list of key and value. Looked up by the resource paths
// "\VarFileInfo\Translation" and "\StringFileInfo\<table>\<key>", names matched without regard
// to case.
class VersionBlock final
{
public:
    struct StringTable
    {
        QString name;
        QList<std::pair<QString, QString>> values;
    };

    VersionBlock(QList<quint32> translations, QList<StringTable> stringTables);

    const QList<quint32> &translations() const { return m_translations; }

    // The value stored at a "\StringFileInfo\<table>\<key>" path, or nothing when the table or
    // key is absent.
    std::optional<QString> stringValue(QStringView path) const;

    // The block compiled into this program, made from the project version at build time.
    static const VersionBlock &program();

private:
    QList<quint32> m_translations;
    QList<StringTable> m_stringTables;
};
