#pragma once

#include <QDialog>

class QListWidget;
class QListWidgetItem;

namespace morvex {

class DataGrid;

// The grid's column chooser: one check box per offered column (checked while shown). Columns
// the program does not offer never appear here and stay as the program set them.
class ColumnChooser : public QDialog
{
    Q_OBJECT

public:
    explicit ColumnChooser(DataGrid *grid);

    QListWidget *list() const { return m_list; }
    void refresh();

private:
    void itemChanged(QListWidgetItem *item);

    DataGrid *m_grid;
    QListWidget *m_list;
    bool m_refreshing = false;
};

} // namespace morvex
