#include "platform/NameCollation.h"

#include <algorithm>
#include <numeric>
#include <optional>
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

int NameCollation::compare(QStringView a, QStringView b) const
{
    const int order = m_plain ? a.compare(b, Qt::CaseInsensitive) : m_collator.compare(a, b);
    if (order != 0)
        return order;
    return a.compare(b, Qt::CaseSensitive);
}

void NameCollation::sortUnique(QStringList &list) const
{
    if (list.size() < 2)
        return;
    // The entries usually share their folder part; the keys are made of what follows the last
    // "/" of the common part, which orders them the same way at a fraction of the cost.
    qsizetype common = list.first().size();
    for (const QString &text : std::as_const(list)) {
        const QString &first = list.first();
        qsizetype n = 0;
        const qsizetype limit = std::min(common, text.size());
        while (n < limit && text[n] == first[n])
            ++n;
        common = n;
    }
    common = list.first().first(common).lastIndexOf(QLatin1Char('/')) + 1;

    struct Entry
    {
        QStringView tail;
        std::optional<QCollatorSortKey> key;
        QString folded;
    };
    std::vector<Entry> entries;
    entries.reserve(list.size());
    for (const QString &text : std::as_const(list)) {
        const QStringView tail = QStringView(text).sliced(common);
        if (m_plain)
            entries.push_back({tail, std::nullopt, tail.toString().toCaseFolded()});
        else
            entries.push_back({tail, m_collator.sortKey(tail.toString()), QString()});
    }
    std::vector<qsizetype> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    auto less = [&](qsizetype x, qsizetype y) {
        const Entry &a = entries[x];
        const Entry &b = entries[y];
        const int byKey = m_plain ? a.folded.compare(b.folded) : a.key->compare(*b.key);
        if (byKey != 0)
            return byKey < 0;
        return a.tail.compare(b.tail, Qt::CaseSensitive) < 0;
    };
    std::sort(order.begin(), order.end(), less);

    QStringList sorted;
    sorted.reserve(list.size());
    for (qsizetype i : order) {
        if (!sorted.isEmpty() && sorted.last() == list[i])
            continue;
        sorted.append(list[i]);
    }
    list = std::move(sorted);
}
