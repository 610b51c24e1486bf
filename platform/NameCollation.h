// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include <QCollator>
#include <QLocale>
#include <QStringView>

#include <vector>

// The order of names in a file list: locale-aware and case-insensitive, like the collation the
// user sees elsewhere on the desktop. Two texts that the collation finds equal (News.url and
// news.url, which one folder here can hold) are then ordered by an exact comparison, so both
// are kept; only identical texts count as duplicates.
class NameCollation final
{
public:
    explicit NameCollation(const QLocale &locale = QLocale::system());

    // The indexes of texts in this order (identical texts next to each other). The locale's
    // collation compares two names directly: the names of one folder mostly differ within
    // their first characters, where that is quicker than making a sort key for every name. In
    // the C locale each name is case-folded once.
    std::vector<qsizetype> sortedOrder(const std::vector<QStringView> &texts) const;

    // The collation for the system locale, made once.
    static const NameCollation &system();

private:
    QCollator m_collator;
    // The C locale has no case-insensitive sort keys; case-folded text stands in for them.
    bool m_plain = false;
};
