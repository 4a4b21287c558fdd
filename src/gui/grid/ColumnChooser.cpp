#include "gui/grid/ColumnChooser.h"

#include "gui/grid/DataGrid.h"
#include "gui/grid/GridTexts.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace morvex {

ColumnChooser::ColumnChooser(DataGrid *grid)
    : QDialog(grid, Qt::Tool)
    , m_grid(grid)
    , m_list(new QListWidget(this))
{
    setWindowTitle(gridtexts::columnChooserTitle());
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_list);
    resize(220, 320);
    connect(m_list, &QListWidget::itemChanged, this, &ColumnChooser::itemChanged);
    connect(grid, &DataGrid::columnsChanged, this, &ColumnChooser::refresh);
    refresh();
}

void ColumnChooser::refresh()
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    m_list->clear();
    for (int column = 0; column < m_grid->gridColumnCount(); ++column) {
        if (!m_grid->isColumnOffered(column))
            continue;
        const GridColumn &spec = m_grid->gridColumn(column);
        auto *item = new QListWidgetItem(spec.caption.isEmpty() ? spec.field : spec.caption, m_list);
        item->setData(Qt::UserRole, column);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(m_grid->isColumnShown(column) ? Qt::Checked : Qt::Unchecked);
    }
    m_refreshing = false;
}

void ColumnChooser::itemChanged(QListWidgetItem *item)
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    m_grid->setColumnShown(item->data(Qt::UserRole).toInt(), item->checkState() == Qt::Checked);
    m_refreshing = false;
}

} // namespace morvex
