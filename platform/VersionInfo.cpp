// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/VersionInfo.h"

#include "platform/VersionBlock.h"

#include <array>

namespace {

const std::array<const char16_t *, 12> VersionKeys = {
    u"Comments",     u"CompanyName",    u"FileDescription", u"FileVersion",
    u"InternalName", u"LegalCopyright", u"LegalTrademarks", u"OriginalFilename",
    u"PrivateBuild", u"ProductName",    u"ProductVersion",  u"SpecialBuild",
};

} // namespace

void readVersionValue(const VersionBlock *block, quint8 Index, QString &Value)
{
    if (!block || Index >= VersionKeys.size())
        return;
    if (block->translations().isEmpty())
        throw EVersionInfoError(QStringLiteral("情報の取得に失敗しました"));
    const quint32 translation = block->translations().first();
    auto hex4 = [](quint32 v) {
        return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')).toUpper();
    };
    const QString path = QStringLiteral("\\StringFileInfo\\") + hex4(translation & 0xFFFF) +
                         hex4(translation >> 16) + QLatin1Char('\\') +
                         QString::fromUtf16(VersionKeys[Index]);
    const std::optional<QString> stored = block->stringValue(path);
    if (!stored || stored->isEmpty())
        return;
    // The text ends at its first NUL, as a resource string does.
    const qsizetype nul = stored->indexOf(QChar(0));
    Value = nul < 0 ? *stored : stored->first(nul);
}

void ReadVersionValue(quint8 Index, QString &Value)
{
    readVersionValue(&VersionBlock::program(), Index, Value);
}
