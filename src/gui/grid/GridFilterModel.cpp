#include "gui/grid/GridFilterModel.h"

#include "gui/grid/RecordSetModel.h"

#include <QCollator>

#include <algorithm>

namespace morvex {

GridFilterModel::GridFilterModel(RecordSetModel *source, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_source(source)
{
    setSourceModel(source);
    setSortRole(GridRole::Raw);
    setSortLocaleAware(true);
}

void GridFilterModel::setColumnFilter(int column, const QStringList &keys)
{
    if (keys.isEmpty()) {
        if (m_filters.remove(column) == 0)
            return;
    } else {
        m_filters.insert(column, QSet<QString>(keys.begin(), keys.end()));
    }
    invalidateRowsFilter();
    Q_EMIT filtersChanged();
}

QStringList GridFilterModel::columnFilter(int column) const
{
    const auto it = m_filters.constFind(column);
    if (it == m_filters.constEnd())
        return {};
    QStringList keys(it->begin(), it->end());
    keys.sort();
    return keys;
}

void GridFilterModel::clearFilters()
{
    if (m_filters.isEmpty())
        return;
    m_filters.clear();
    invalidateRowsFilter();
    Q_EMIT filtersChanged();
}

bool GridFilterModel::passes(int sourceRow, int exceptColumn) const
{
    for (auto it = m_filters.constBegin(); it != m_filters.constEnd(); ++it) {
        if (it.key() == exceptColumn)
            continue;
        if (!it->contains(m_source->filterKey(sourceRow, it.key())))
            return false;
    }
    return true;
}

bool GridFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    return m_filters.isEmpty() || passes(sourceRow, -1);
}

QStringList GridFilterModel::distinctKeys(int column) const
{
    struct Entry
    {
        QString key;
        QVariant raw;
    };
    std::vector<Entry> entries;
    QSet<QString> seen;
    const int rows = m_source->rowCount();
    for (int row = 0; row < rows; ++row) {
        if (!passes(row, column))
            continue;
        QString key = m_source->filterKey(row, column);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        entries.push_back({ std::move(key), m_source->rawValue(row, column) });
    }
    QCollator collator;
    collator.setNumericMode(true);
    const bool numeric = m_source->isNumeric(column);
    std::sort(entries.begin(), entries.end(), [&](const Entry &a, const Entry &b) {
        // Blanks first, then numbers by value and texts in the locale's order.
        if (a.key.isEmpty() != b.key.isEmpty())
            return a.key.isEmpty();
        if (numeric) {
            const double x = a.raw.toDouble();
            const double y = b.raw.toDouble();
            if (x != y)
                return x < y;
        }
        return collator.compare(a.key, b.key) < 0;
    });
    QStringList keys;
    keys.reserve(static_cast<qsizetype>(entries.size()));
    for (const Entry &entry : entries)
        keys.append(entry.key);
    return keys;
}

} // namespace morvex
