#pragma once

#include "core/data/RecordSet.h"
#include "gui/grid/GridColumn.h"

#include <QAbstractTableModel>

#include <vector>

namespace morvex {

// Roles beyond Qt's own that the grid's proxy, delegate and exporter read.
namespace GridRole {
    enum : int {
        Raw = Qt::UserRole + 1, // the stored value: sorting reads it
        FilterKey, // the text a filter or the incremental search compares
        Kind, // ColumnKind of the column, as int
    };
}

// A read-only table model over a record set, one model column per declared grid column (hidden
// ones included). It holds no copy of the data and never moves the set's cursor. Detached
// (no set), it has no rows and reads nothing, so a worker may fill the set meanwhile.
class RecordSetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit RecordSetModel(std::vector<GridColumn> columns, QObject *parent = nullptr);

    // One model reset. nullptr detaches.
    void setRecordSet(const RecordSet *set);
    const RecordSet *recordSet() const { return m_set; }

    const GridColumn &column(int column) const { return m_columns[static_cast<std::size_t>(column)]; }
    int columnOf(QStringView field) const; // first declared column of that field, -1 if none
    int fieldOf(int column) const; // the set's field index behind a column, -1 if none

    // Tells views that the set changed cells of one row in place (a progress update).
    void rowChanged(int row);

    QString displayText(int row, int column) const;
    QString filterKey(int row, int column) const;
    QVariant rawValue(int row, int column) const;
    bool isNumeric(int column) const;
    // False for the kinds that show no value of their own (buttons, pictures): they are
    // neither filtered nor exported.
    bool holdsValue(int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QString iconDescription(int row, int column) const;
    Qt::Alignment alignment(int column) const;
    void resolveFields();

    std::vector<GridColumn> m_columns;
    std::vector<int> m_fields; // set field index per column
    const RecordSet *m_set = nullptr;
};

} // namespace morvex
