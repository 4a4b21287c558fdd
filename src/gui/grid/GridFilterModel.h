#pragma once

#include <QHash>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QStringList>

namespace morvex {

class RecordSetModel;

// Column filters and sorting over a RecordSetModel. A column filter is the set of filter keys
// (the texts the drop-down lists) a row may have in that column; filters of several columns
// must all hold. Sorting compares the raw values, not the display texts.
class GridFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit GridFilterModel(RecordSetModel *source, QObject *parent = nullptr);

    // An empty list removes the column's filter.
    void setColumnFilter(int column, const QStringList &keys);
    QStringList columnFilter(int column) const;
    bool hasFilter(int column) const { return m_filters.contains(column); }
    bool hasAnyFilter() const { return !m_filters.isEmpty(); }
    void clearFilters();

    // The distinct filter keys of a column over the rows that the other columns' filters let
    // through, ordered by raw value. A blank cell gives an empty key.
    QStringList distinctKeys(int column) const;

    RecordSetModel *recordSetModel() const { return m_source; }

Q_SIGNALS:
    void filtersChanged();

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool passes(int sourceRow, int exceptColumn) const;

    RecordSetModel *m_source;
    QHash<int, QSet<QString>> m_filters;
};

} // namespace morvex
