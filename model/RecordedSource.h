// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/LinkSource.h"

#include <QList>
#include <QString>

#include <memory>
#include <vector>

// What a source gave, kept in memory: its folders with their links in its order, and its read
// warning. A watch keeps a bookmark file so until the file changes, and gives a page a source
// over it each time (replay()).
class RecordedSource final
{
public:
    struct Section
    {
        Folder folder;
        QList<Link> links;
    };

    // Everything source gives, from its first folder to its last.
    static RecordedSource record(LinkSource &source);

    // A source that gives the recorded folders and links again. It shares them, so it stays
    // valid whatever becomes of this record.
    std::unique_ptr<LinkSource> replay() const;

    qsizetype folders() const { return m_sections ? qsizetype(m_sections->size()) : 0; }

private:
    std::shared_ptr<const std::vector<Section>> m_sections;
    QString m_warning;
};
