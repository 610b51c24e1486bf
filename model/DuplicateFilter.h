// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/LinkSource.h"

#include <QSet>
#include <QString>

#include <memory>

// A source without the links whose address (normalisedUrl) came earlier in it: the first link
// of an address is kept as it is, every later one dropped. A link without an address (a
// shortcut that went away, one without URL=) is never taken for a duplicate.
class DuplicateFilter final : public LinkSource
{
public:
    explicit DuplicateFilter(std::unique_ptr<LinkSource> source);

    int folderCount() override { return m_source->folderCount(); }
    const Folder *nextFolder() override { return m_source->nextFolder(); }
    bool nextLink(Link &link) override;
    QString readWarning() const override { return m_source->readWarning(); }

    qint64 dropped() const { return m_dropped; }

private:
    std::unique_ptr<LinkSource> m_source;
    QSet<QString> m_seen;
    qint64 m_dropped = 0;
};
