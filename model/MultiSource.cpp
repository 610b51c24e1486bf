// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "model/MultiSource.h"

#include <QStringList>

MultiSource::MultiSource(std::vector<Part> parts) : m_parts(std::move(parts)) {}

int MultiSource::folderCount()
{
    int count = 0;
    for (Part &part : m_parts)
        count += part.source->folderCount();
    return count;
}

const Folder *MultiSource::nextFolder()
{
    if (m_started && m_current >= m_parts.size())
        return nullptr;
    m_started = true;
    while (m_current < m_parts.size()) {
        if (const Folder *folder = m_parts[m_current].source->nextFolder()) {
            m_folder = *folder;
            m_folder.path.prepend(m_parts[m_current].name);
            return &m_folder;
        }
        ++m_current;
    }
    return nullptr;
}

bool MultiSource::nextLink(Link &link)
{
    return m_current < m_parts.size() && m_parts[m_current].source->nextLink(link);
}

QString MultiSource::readWarning() const
{
    QStringList lines;
    for (const Part &part : m_parts) {
        const QString warning = part.source->readWarning();
        if (!warning.isEmpty())
            lines.append(part.name + QStringLiteral(": ") + warning);
    }
    return lines.join(QLatin1Char('\n'));
}
