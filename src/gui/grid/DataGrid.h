#pragma once

#include "core/data/RecordSet.h"
#include "gui/grid/ColumnSizing.h"
#include "gui/grid/GridColumn.h"
#include "gui/grid/GridExport.h"
#include "gui/grid/GridFooter.h"

#include <QFrame>
#include <QPointer>

#include <span>
#include <vector>

class QMenu;
class QTableView;

namespace morvex {

class ColumnChooser;
class ExportDialogs;
class GridDelegate;
class GridFilterModel;
class GridFooter;
class GridHeader;
class RecordSetModel;

// The read-only grid every screen shows over a record set. A screen declares its columns as
// data and binds a record set; the grid adds incremental search, header filters, a column
// chooser, footer summaries, column sizing and the spreadsheet export:
//
//     const GridColumn stockColumns[] = {
//         {u"Barkod"_s, u"BARKOD"_s, 2, col::Shown, col::Offered},
//         {QString(), u"STOK_STOKNO"_s, 1, col::Hidden, col::NotOffered},
//         {u"Durum"_s, u"DURUM"_s, 1, col::Shown, col::Offered, ColumnKind::StockStatus},
//     };
//     GridOptions options;
//     options.sizing = sizing::Rule::WeightsLessScrollBar;
//     auto *grid = new DataGrid(stockColumns, options, this);
//     grid->setFooterSummaries({{u"BARKOD"_s, SummaryKind::Count}});
//     grid->detach();            // before a worker fills the set
//     grid->attach(&stok);       // in the continuation: one reset, one repaint
//
// The grid does not follow the record set's cursor and never moves it: screens read the focused
// row (focusedRow(), focusedValue()) and position the set by key themselves.
class DataGrid : public QFrame
{
    Q_OBJECT

public:
    DataGrid(std::span<const GridColumn> columns, const GridOptions &options = {}, QWidget *parent = nullptr);
    ~DataGrid() override;

    // Binding. detach() suspends redrawing and lets go of the set, so a worker may refill it;
    // attach() binds it again with one model reset and one repaint.
    void attach(const RecordSet *set);
    void detach();
    bool isAttached() const;
    const RecordSet *recordSet() const;
    // Cells of one row changed in place (a progress value): repaint that row.
    void rowChanged(int sourceRow);

    // Columns, by their position in the declaration.
    int gridColumnCount() const;
    const GridColumn &gridColumn(int column) const;
    int columnOf(QStringView field) const; // the first column of that field, -1 if none
    void setColumnShown(int column, bool shown);
    bool isColumnShown(int column) const;
    void setColumnWidth(int column, int width);
    int columnWidth(int column) const;
    void setColumnOffered(int column, bool offered);
    bool isColumnOffered(int column) const;
    // Shows and offers, or hides and withdraws, as the role rules switch columns.
    void setColumnAvailable(int column, bool available);
    std::vector<int> visibleColumns() const; // in display order

    // Sizing. The rule is applied on every resize while the grid is attached and enabled (a load
    // detaches it, so a resize during a load changes nothing), and by sizeColumns().
    void setSizingRule(sizing::Rule rule);
    sizing::Rule sizingRule() const { return m_sizing; }
    void sizeColumns();
    void fitColumnsToContent();
    void setScreenWidth(int width); // 0: the width of the screen the grid is on
    int screenWidth() const;

    // Filters.
    void setColumnFilter(int column, const QStringList &keys);
    QStringList columnFilter(int column) const;
    QStringList filterValues(int column) const; // what the column's drop-down lists
    void clearFilters();
    QWidget *showFilterPopup(int column);

    ColumnChooser *showColumnChooser();

    // Footer.
    void setFooterSummaries(std::vector<FooterSummary> summaries);
    QString footerText(int column) const;
    void recomputeFooter();

    // Rows as the grid shows them (filtered and sorted) and the focused row, as source rows.
    int shownRowCount() const;
    int sourceRow(int shownRow) const;
    int focusedRow() const;
    QVariant focusedValue(QStringView field) const;
    bool focusRow(int sourceRow);

    QString searchText() const { return m_search; }

    // "Excel Kaydet": asks for a file name, adds ".xlsx" when it has no extension, writes the
    // shown columns and rows; a failure is shown through the dialogs and returned.
    ExportResult saveAsExcel(ExportDialogs &dialogs);
    ExportResult exportTo(const QString &path) const;

    void setContextMenu(QMenu *menu);
    QTableView *view() const;
    RecordSetModel *recordSetModel() const { return m_model; }
    GridFilterModel *filterModel() const { return m_proxy; }
    GridHeader *gridHeader() const { return m_header; }

Q_SIGNALS:
    void rowActivated(int sourceRow); // double-click on a row
    void buttonClicked(int column, int sourceRow);
    void focusedRowChanged(int sourceRow);
    void columnsChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    class View;
    friend class View;

    // Called by the view.
    bool handleKey(QKeyEvent *event);
    void handleCurrentChanged(const QModelIndex &current);
    void handleDoubleClick(const QModelIndex &index);
    void handleContextMenu(const QPoint &globalPos);
    void handleViewportResized();

    bool incrementalSearch(const QString &text);
    void clearSearch();
    int searchColumn() const;
    int contentWidth(int column) const;
    void applyWidths(const std::vector<int> &columns, const std::vector<int> &widths);
    void showHeaderMenu(const QPoint &pos);
    void focusFirstRow(int column);

    GridOptions m_options;
    View *m_view;
    RecordSetModel *m_model;
    GridFilterModel *m_proxy;
    GridDelegate *m_delegate;
    GridHeader *m_header;
    GridFooter *m_footer;
    std::vector<bool> m_offered;
    std::vector<FooterSummary> m_summaries;
    sizing::Rule m_sizing;
    int m_screenWidth = 0;
    bool m_attached = false;
    bool m_sizingNow = false;
    bool m_searchMoving = false;
    QString m_search;
    int m_lastFocusedRow = -1;
    QPointer<QMenu> m_contextMenu;
    QPointer<ColumnChooser> m_chooser;
};

} // namespace morvex
