#pragma once

#include "gui/common/BackgroundLoad.h"

#include <QPointer>

namespace morvex {

class DataGrid;
class RecordSet;

// A data grid as a background load's view: disabled and detached from its record set (which
// also suspends its redrawing) while the worker fills the set; attached again with one reset,
// then enabled.
class GridLoadView : public LoadView
{
public:
    GridLoadView(DataGrid *grid, const RecordSet *set);
    void suspendForLoad() override;
    void resumeAfterLoad() override;

private:
    QPointer<DataGrid> m_grid;
    const RecordSet *m_set;
};

} // namespace morvex
