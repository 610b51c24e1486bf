// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "model/DuplicateFilter.h"

#include "model/UrlKey.h"

DuplicateFilter::DuplicateFilter(std::unique_ptr<LinkSource> source) : m_source(std::move(source))
{}

bool DuplicateFilter::nextLink(Link &link)
{
    while (m_source->nextLink(link)) {
        if (!link.present || link.url.isEmpty())
            return true;
        const qsizetype before = m_seen.size();
        m_seen.insert(normalisedUrl(link.url));
        if (m_seen.size() > before)
            return true;
        ++m_dropped;
    }
    return false;
}
