// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 the Talvensa developers

#include "platform/NameCollation.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

NameCollation::NameCollation(const QLocale &locale) : m_collator(locale)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_plain = locale.language() == QLocale::C;
}

const NameCollation &NameCollation::system()
{
    static const NameCollation collation;
    return collation;
}

std::vector<qsizetype> NameCollation::sortedOrder(const std::vector<QStringView> &texts) const
{
    std::vector<qsizetype> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    if (texts.size() < 2)
        return order;
    auto sortBy = [&](auto keyOrder) {
        std::sort(order.begin(), order.end(), [&](qsizetype x, qsizetype y) {
            const int byKey = keyOrder(x, y);
            if (byKey != 0)
                return byKey < 0;
            return texts[x].compare(texts[y], Qt::CaseSensitive) < 0;
        });
    };

    if (!m_plain) {
        sortBy([&](qsizetype x, qsizetype y) { return m_collator.compare(texts[x], texts[y]); });
        return order;
    }

    // The case-folded texts side by side in one buffer. Folding goes character by character,
    // as QString::toCaseFolded does (no character's folding changes its length), with the
    // letters of ASCII done in place.
    size_t total = 0;
    for (const QStringView text : texts)
        total += size_t(text.size());
    std::u16string folded(total, u'\0');
    char16_t *out = folded.data();
    std::vector<std::pair<size_t, size_t>> spans; // offset and length in folded
    spans.reserve(texts.size());
    for (const QStringView text : texts) {
        spans.emplace_back(size_t(out - folded.data()), size_t(text.size()));
        const qsizetype n = text.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t u = text[i].unicode();
            if (u < 0x80) {
                *out++ = (u >= u'A' && u <= u'Z') ? char16_t(u - u'A' + u'a') : u;
            } else if (QChar::isHighSurrogate(u) && i + 1 < n &&
                       QChar::isLowSurrogate(text[i + 1].unicode())) {
                const char32_t c =
                    QChar::toCaseFolded(QChar::surrogateToUcs4(u, text[i + 1].unicode()));
                *out++ = QChar::highSurrogate(c);
                *out++ = QChar::lowSurrogate(c);
                ++i;
            } else {
                *out++ = char16_t(QChar::toCaseFolded(char32_t(u)));
            }
        }
    }
    auto key = [&](qsizetype i) {
        return std::u16string_view(folded.data() + spans[size_t(i)].first, spans[size_t(i)].second);
    };
    sortBy([&](qsizetype x, qsizetype y) { return key(x).compare(key(y)); });
    return order;
}
