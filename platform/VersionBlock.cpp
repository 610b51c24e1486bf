// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/VersionBlock.h"

#include "platform/ProgramVersion.h"

VersionBlock::VersionBlock(QList<quint32> translations, QList<StringTable> stringTables)
    : m_translations(std::move(translations)), m_stringTables(std::move(stringTables))
{}

std::optional<QString> VersionBlock::stringValue(QStringView path) const
{
    const QStringView prefix = u"\\StringFileInfo\\";
    if (!path.startsWith(prefix, Qt::CaseInsensitive))
        return std::nullopt;
    const QStringView rest = path.sliced(prefix.size());
    const qsizetype separator = rest.indexOf(QLatin1Char('\\'));
    if (separator < 0)
        return std::nullopt;
    const QStringView table = rest.first(separator);
    const QStringView key = rest.sliced(separator + 1);
    for (const StringTable &t : m_stringTables) {
        if (t.name.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        for (const auto &[name, value] : t.values) {
            if (name.compare(key, Qt::CaseInsensitive) == 0)
                return value;
        }
    }
    return std::nullopt;
}

const VersionBlock &VersionBlock::program()
{
    // Japanese, code page 932, as the program has always declared its strings. PrivateBuild and
    // SpecialBuild are absent; the descriptive keys are present and empty.
    static const VersionBlock block(
        {0x0411u | (0x03A4u << 16)},
        {{QStringLiteral("041103A4"),
          {
              {QStringLiteral("Comments"), QString()},
              {QStringLiteral("CompanyName"), QStringLiteral(TALVENSA_COMPANY_NAME)},
              {QStringLiteral("FileDescription"), QString()},
              {QStringLiteral("FileVersion"), QStringLiteral(TALVENSA_FILE_VERSION)},
              {QStringLiteral("InternalName"), QString()},
              {QStringLiteral("LegalCopyright"), QString()},
              {QStringLiteral("LegalTrademarks"), QString()},
              {QStringLiteral("OriginalFilename"), QStringLiteral(TALVENSA_PRODUCT_NAME)},
              {QStringLiteral("ProductName"), QStringLiteral(TALVENSA_PRODUCT_NAME)},
              {QStringLiteral("ProductVersion"), QStringLiteral(TALVENSA_PRODUCT_VERSION)},
          }}});
    return block;
}
