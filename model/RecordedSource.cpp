// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "model/RecordedSource.h"

namespace {

class Replay final : public LinkSource
{
public:
    Replay(std::shared_ptr<const std::vector<RecordedSource::Section>> sections, QString warning)
        : m_sections(std::move(sections)), m_warning(std::move(warning))
    {}

    int folderCount() override { return int(m_sections->size()); }
    const Folder *nextFolder() override
    {
        m_link = 0;
        if (m_next >= m_sections->size()) {
            m_current = nullptr;
            return nullptr;
        }
        m_current = &(*m_sections)[m_next++];
        return &m_current->folder;
    }
    bool nextLink(Link &link) override
    {
        if (!m_current || m_link >= m_current->links.size())
            return false;
        link = m_current->links[m_link++];
        return true;
    }
    QString readWarning() const override { return m_warning; }

private:
    std::shared_ptr<const std::vector<RecordedSource::Section>> m_sections;
    QString m_warning;
    size_t m_next = 0;
    const RecordedSource::Section *m_current = nullptr;
    qsizetype m_link = 0;
};

} // namespace

RecordedSource RecordedSource::record(LinkSource &source)
{
    auto sections = std::make_shared<std::vector<Section>>();
    Link link;
    while (const Folder *folder = source.nextFolder()) {
        Section section{*folder, {}};
        while (source.nextLink(link))
            section.links.append(link);
        sections->push_back(std::move(section));
    }
    RecordedSource recorded;
    recorded.m_sections = std::move(sections);
    recorded.m_warning = source.readWarning();
    return recorded;
}

std::unique_ptr<LinkSource> RecordedSource::replay() const
{
    static const auto none = std::make_shared<const std::vector<Section>>();
    return std::make_unique<Replay>(m_sections ? m_sections : none, m_warning);
}
