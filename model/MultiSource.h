// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#pragma once

#include "model/LinkSource.h"

#include <QString>

#include <memory>
#include <vector>

// Several sources as one, in the order given: each source becomes a top-level folder named
// after it (its own top folder, the path [name]), with its folders below it (their paths after
// the name). A writer sees one tree and does not know that several sources made it.
class MultiSource final : public LinkSource
{
public:
    struct Part
    {
        QString name;
        std::unique_ptr<LinkSource> source;
    };
    explicit MultiSource(std::vector<Part> parts);

    int folderCount() override;
    const Folder *nextFolder() override;
    bool nextLink(Link &link) override;
    // Each part's warning as "name: warning", one a line.
    QString readWarning() const override;

private:
    std::vector<Part> m_parts;
    size_t m_current = 0;
    bool m_started = false;
    Folder m_folder;
};
