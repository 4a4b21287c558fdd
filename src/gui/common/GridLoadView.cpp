#include "gui/common/GridLoadView.h"

#include "gui/grid/DataGrid.h"

namespace morvex {

GridLoadView::GridLoadView(DataGrid *grid, const RecordSet *set)
    : m_grid(grid)
    , m_set(set)
{
}

void GridLoadView::suspendForLoad()
{
    if (!m_grid)
        return;
    m_grid->setEnabled(false);
    m_grid->detach();
}

void GridLoadView::resumeAfterLoad()
{
    if (!m_grid)
        return;
    m_grid->attach(m_set);
    m_grid->setEnabled(true);
}

} // namespace morvex
