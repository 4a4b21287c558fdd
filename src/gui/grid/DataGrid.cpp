#include "gui/grid/DataGrid.h"

#include "gui/grid/ColumnChooser.h"
#include "gui/grid/ExportDialogs.h"
#include "gui/grid/GridDelegate.h"
#include "gui/grid/GridFilterModel.h"
#include "gui/grid/GridHeader.h"
#include "gui/grid/GridTexts.h"
#include "gui/grid/RecordSetModel.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "core/data/NumberFormat.h"

namespace morvex {

using namespace Qt::StringLiterals;

namespace {

    // Fitting to content measures at most this many rows, so that a huge set does not stall a resize.
    constexpr int kFitSampleRows = 10000;

    const QColor kFirstTint(224, 232, 241);
    const QColor kSecondTint(237, 245, 255);

    // Case folding for the incremental search. Turkish dotted and dotless i all fold to "i", so
    // typing either finds codes written with the other.
    QString searchFold(QStringView text)
    {
        QString folded;
        folded.reserve(text.size());
        for (QChar c : text) {
            switch (c.unicode()) {
            case u'I':
            case 0x0130: // İ
            case 0x0131: // ı
                folded.append(u'i');
                break;
            default:
                folded.append(c.toLower());
            }
        }
        return folded;
    }

    QString sumText(const RecordSet *set, int field, double sum)
    {
        if (!set || field < 0)
            return {};
        const FieldDef &def = set->field(field);
        if (def.type == FieldType::Double) {
            if (const auto format = NumberFormat::tryParse(def.displayPattern))
                return format->format(sum);
            return plainNumberText(sum);
        }
        return QString::number(static_cast<qint64>(sum));
    }

} // namespace

// The table view inside the grid: passes keys, focus changes, double-clicks, context menus and
// viewport resizes on to the grid.
class DataGrid::View : public QTableView
{
public:
    explicit View(DataGrid *grid)
        : QTableView(grid)
        , m_grid(grid)
    {
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!m_grid->handleKey(event))
            QTableView::keyPressEvent(event);
    }
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override
    {
        QTableView::currentChanged(current, previous);
        m_grid->handleCurrentChanged(current);
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        QTableView::mouseDoubleClickEvent(event);
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid())
            m_grid->handleDoubleClick(index);
    }
    void contextMenuEvent(QContextMenuEvent *event) override
    {
        m_grid->handleContextMenu(event->globalPos());
    }
    void resizeEvent(QResizeEvent *event) override
    {
        QTableView::resizeEvent(event);
        m_grid->handleViewportResized();
    }

private:
    DataGrid *m_grid;
};

DataGrid::DataGrid(std::span<const GridColumn> columns, const GridOptions &options, QWidget *parent)
    : QFrame(parent)
    , m_options(options)
    , m_view(new View(this))
    , m_model(new RecordSetModel(std::vector<GridColumn>(columns.begin(), columns.end()), this))
    , m_proxy(new GridFilterModel(m_model, this))
    , m_delegate(new GridDelegate(m_model, this))
    , m_header(new GridHeader(m_view))
    , m_footer(nullptr)
    , m_offered(columns.size())
    , m_sizing(options.sizing)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    if (options.font)
        setFont(*options.font);

    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setHorizontalHeader(m_header);
    m_view->setModel(m_proxy);
    m_view->setItemDelegate(m_delegate);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setWordWrap(false);
    m_view->setCornerButtonEnabled(false);
    m_view->setAlternatingRowColors(true);
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Base, options.reverseTints ? kSecondTint : kFirstTint);
    palette.setColor(QPalette::AlternateBase, options.reverseTints ? kFirstTint : kSecondTint);
    m_view->setPalette(palette);
    m_delegate->setFocusRectangle(options.focusRectangle);

    QHeaderView *rows = m_view->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(0);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(options.rowHeight);

    m_header->setMinimumSectionSize(0);
    m_header->setFixedHeight(options.headerHeight);
    m_header->setSectionsMovable(true);
    m_header->setStretchLastSection(false);
    m_header->setFiltersEnabled(options.headerFilters);
    m_header->setFilterActive([this](int column) { return m_proxy->hasFilter(column); });
    m_header->setFilterable([this](int column) { return m_model->holdsValue(column); });
    m_header->setContextMenuPolicy(Qt::CustomContextMenu);
    // Rows keep the order the server sent until the user sorts.
    m_header->setSortIndicator(-1, Qt::AscendingOrder);
    m_view->setSortingEnabled(options.userSorting);

    for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
        const GridColumn &spec = columns[static_cast<std::size_t>(column)];
        m_view->setColumnHidden(column, !spec.shown);
        m_offered[static_cast<std::size_t>(column)] = spec.offered;
        if (spec.width > 0)
            m_view->setColumnWidth(column, spec.width);
    }

    m_footer = new GridFooter(m_header, this);
    m_footer->hide();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view);
    layout->addWidget(m_footer);
    setFocusProxy(m_view);

    connect(m_delegate, &GridDelegate::buttonClicked, this, [this](const QModelIndex &index) {
        Q_EMIT buttonClicked(index.column(), m_proxy->mapToSource(index).row());
    });
    connect(
        m_header, &GridHeader::filterButtonClicked, this, [this](int column) { showFilterPopup(column); });
    connect(m_header, &QWidget::customContextMenuRequested, this, &DataGrid::showHeaderMenu);
    connect(m_header, &QHeaderView::sectionResized, m_footer, qOverload<>(&QWidget::update));
    connect(m_header, &QHeaderView::sectionMoved, m_footer, qOverload<>(&QWidget::update));
    connect(
        m_view->horizontalScrollBar(), &QScrollBar::valueChanged, m_footer, qOverload<>(&QWidget::update));
    connect(m_proxy, &QAbstractItemModel::rowsInserted, this, &DataGrid::recomputeFooter);
    connect(m_proxy, &QAbstractItemModel::rowsRemoved, this, &DataGrid::recomputeFooter);
    connect(m_proxy, &GridFilterModel::filtersChanged, this, [this] {
        clearSearch();
        recomputeFooter();
        m_header->viewport()->update();
    });
    connect(m_model, &QAbstractItemModel::dataChanged, this, &DataGrid::recomputeFooter);
}

DataGrid::~DataGrid() = default;

QTableView *DataGrid::view() const
{
    return m_view;
}

void DataGrid::setContextMenu(QMenu *menu)
{
    m_contextMenu = menu;
}

// Binding -----------------------------------------------------------------------------------

void DataGrid::attach(const RecordSet *set)
{
    if (!set) {
        detach();
        return;
    }
    const int column = searchColumn();
    clearSearch();
    m_model->setRecordSet(set);
    m_attached = true;
    m_lastFocusedRow = -1;
    focusFirstRow(column);
    recomputeFooter();
    // Enabling updates again repaints the whole grid once.
    setUpdatesEnabled(true);
}

void DataGrid::detach()
{
    setUpdatesEnabled(false);
    clearSearch();
    m_model->setRecordSet(nullptr);
    m_attached = false;
    if (m_lastFocusedRow != -1) {
        m_lastFocusedRow = -1;
        Q_EMIT focusedRowChanged(-1);
    }
}

bool DataGrid::isAttached() const
{
    return m_attached;
}

const RecordSet *DataGrid::recordSet() const
{
    return m_model->recordSet();
}

void DataGrid::rowChanged(int sourceRow)
{
    m_model->rowChanged(sourceRow);
}

void DataGrid::focusFirstRow(int column)
{
    if (m_proxy->rowCount() == 0) {
        m_view->setCurrentIndex({});
        if (m_lastFocusedRow != -1 || m_attached) {
            m_lastFocusedRow = -1;
            Q_EMIT focusedRowChanged(-1);
        }
        return;
    }
    if (column < 0) {
        const std::vector<int> visible = visibleColumns();
        column = visible.empty() ? 0 : visible.front();
    }
    m_view->selectionModel()->setCurrentIndex(
        m_proxy->index(0, column), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// Columns -----------------------------------------------------------------------------------

int DataGrid::gridColumnCount() const
{
    return m_model->columnCount();
}

const GridColumn &DataGrid::gridColumn(int column) const
{
    return m_model->column(column);
}

int DataGrid::columnOf(QStringView field) const
{
    return m_model->columnOf(field);
}

bool DataGrid::isColumnShown(int column) const
{
    return !m_view->isColumnHidden(column);
}

void DataGrid::setColumnWidth(int column, int width)
{
    m_view->setColumnWidth(column, width);
}

int DataGrid::columnWidth(int column) const
{
    return m_view->columnWidth(column);
}

void DataGrid::setColumnShown(int column, bool shown)
{
    if (column < 0 || column >= gridColumnCount() || isColumnShown(column) == shown)
        return;
    m_view->setColumnHidden(column, !shown);
    if (m_attached && m_sizing != sizing::Rule::Manual)
        sizeColumns();
    m_footer->update();
    Q_EMIT columnsChanged();
}

bool DataGrid::isColumnOffered(int column) const
{
    return column >= 0 && column < gridColumnCount() && m_offered[static_cast<std::size_t>(column)];
}

void DataGrid::setColumnOffered(int column, bool offered)
{
    if (column < 0 || column >= gridColumnCount() || isColumnOffered(column) == offered)
        return;
    m_offered[static_cast<std::size_t>(column)] = offered;
    Q_EMIT columnsChanged();
}

void DataGrid::setColumnAvailable(int column, bool available)
{
    setColumnOffered(column, available);
    setColumnShown(column, available);
}

std::vector<int> DataGrid::visibleColumns() const
{
    std::vector<int> columns;
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        if (!m_header->isSectionHidden(logical))
            columns.push_back(logical);
    }
    return columns;
}

// Sizing ------------------------------------------------------------------------------------

void DataGrid::setSizingRule(sizing::Rule rule)
{
    m_sizing = rule;
}

void DataGrid::setScreenWidth(int width)
{
    m_screenWidth = width;
}

int DataGrid::screenWidth() const
{
    if (m_screenWidth > 0)
        return m_screenWidth;
    const QScreen *current = screen();
    return current ? current->geometry().width() : 0;
}

void DataGrid::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    // During a load the grid is detached and a resize changes nothing; the screen sizes the
    // columns again when the load is over.
    if (m_attached && isEnabled() && m_sizing != sizing::Rule::Manual)
        sizeColumns();
}

void DataGrid::handleViewportResized()
{
    // Only the stretch rule depends on the viewport (the vertical scroll bar comes and goes).
    if (m_attached && isEnabled() && m_sizing == sizing::Rule::Stretch)
        sizeColumns();
}

void DataGrid::sizeColumns()
{
    if (m_sizing == sizing::Rule::Manual || m_sizingNow)
        return;
    QScopedValueRollback guard(m_sizingNow, true);
    const std::vector<int> columns = visibleColumns();
    sizing::Input input;
    input.gridWidth = width();
    input.scrollBarHeight = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    input.screenWidth = screenWidth();
    input.viewportWidth = m_view->viewport()->width();
    const bool needsContent = sizing::needsContentWidths(m_sizing, input.screenWidth);
    for (int column : columns) {
        input.weights.push_back(gridColumn(column).weight);
        input.currentWidths.push_back(m_view->columnWidth(column));
        if (needsContent)
            input.contentWidths.push_back(contentWidth(column));
    }
    if (const auto widths = sizing::columnWidths(m_sizing, input))
        applyWidths(columns, *widths);
}

void DataGrid::fitColumnsToContent()
{
    const std::vector<int> columns = visibleColumns();
    std::vector<int> widths;
    widths.reserve(columns.size());
    for (int column : columns)
        widths.push_back(contentWidth(column));
    applyWidths(columns, widths);
}

void DataGrid::applyWidths(const std::vector<int> &columns, const std::vector<int> &widths)
{
    const bool wasEnabled = updatesEnabled();
    setUpdatesEnabled(false);
    for (std::size_t i = 0; i < columns.size() && i < widths.size(); ++i)
        m_header->resizeSection(columns[i], widths[i]);
    setUpdatesEnabled(wasEnabled);
}

int DataGrid::contentWidth(int column) const
{
    const GridColumn &spec = gridColumn(column);
    const int textMargin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_view) + 1) + 2;
    int widest = QFontMetrics(m_header->font()).horizontalAdvance(spec.headerText()) + 12;
    if (m_options.headerFilters)
        widest += 20;
    if (m_header->isSortIndicatorShown() && m_header->sortIndicatorSection() == column)
        widest += 14;
    if (!m_footer->isHidden())
        widest = std::max(widest, m_footer->fontMetrics().horizontalAdvance(m_footer->text(column)) + 16);

    const int rows = std::min(m_proxy->rowCount(), kFitSampleRows);
    if (rows == 0)
        return widest;
    const QFontMetrics metrics(m_view->font());
    switch (spec.kind) {
    case ColumnKind::Text:
    case ColumnKind::Number:
    case ColumnKind::MultiLine:
        for (int row = 0; row < rows; ++row) {
            const QString text = m_proxy->index(row, column).data(Qt::DisplayRole).toString();
            int width = 0;
            if (spec.kind == ColumnKind::MultiLine) {
                for (const QString &line : text.split(u'\n'))
                    width = std::max(width, metrics.horizontalAdvance(line));
            } else {
                width = metrics.horizontalAdvance(text);
            }
            widest = std::max(widest, width + textMargin);
        }
        return widest;
    default: {
        QStyleOptionViewItem option;
        option.initFrom(m_view);
        option.font = m_view->font();
        option.rect = QRect(0, 0, 100, m_options.rowHeight);
        return std::max(widest, m_delegate->sizeHint(option, m_proxy->index(0, column)).width());
    }
    }
}

// Filters -----------------------------------------------------------------------------------

void DataGrid::setColumnFilter(int column, const QStringList &keys)
{
    m_proxy->setColumnFilter(column, keys);
}

QStringList DataGrid::columnFilter(int column) const
{
    return m_proxy->columnFilter(column);
}

QStringList DataGrid::filterValues(int column) const
{
    return m_proxy->distinctKeys(column);
}

void DataGrid::clearFilters()
{
    m_proxy->clearFilters();
}

QWidget *DataGrid::showFilterPopup(int column)
{
    if (column < 0 || column >= gridColumnCount() || !m_attached || !m_model->holdsValue(column))
        return nullptr;
    auto *popup = new QListWidget(this);
    popup->setWindowFlags(Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    auto *all = new QListWidgetItem(gridtexts::filterAll(), popup);
    const QStringList active = m_proxy->columnFilter(column);
    for (const QString &key : m_proxy->distinctKeys(column)) {
        auto *item = new QListWidgetItem(key.isEmpty() ? gridtexts::filterBlanks() : key, popup);
        item->setData(Qt::UserRole, key);
        if (active.size() == 1 && active.front() == key)
            popup->setCurrentItem(item);
    }
    if (!popup->currentItem())
        popup->setCurrentItem(all);
    auto choose = [this, popup, column, all](QListWidgetItem *item) {
        if (item == all)
            m_proxy->setColumnFilter(column, {});
        else
            m_proxy->setColumnFilter(column, { item->data(Qt::UserRole).toString() });
        popup->close();
    };
    connect(popup, &QListWidget::itemClicked, this, choose);
    connect(popup, &QListWidget::itemActivated, this, choose);

    const int left = m_header->sectionViewportPosition(column);
    const QPoint topLeft = m_header->viewport()->mapToGlobal(QPoint(left, m_header->height()));
    const int rowHeight = std::max(popup->sizeHintForRow(0), 16);
    const int height = std::min(popup->count() * rowHeight + 2 * popup->frameWidth() + 4, 320);
    popup->setGeometry(QRect(topLeft, QSize(std::max(m_header->sectionSize(column), 180), height)));
    // The mouse leaves the header for the list: the section keeps its button while the list is open.
    m_header->setOpenFilter(column);
    connect(popup, &QObject::destroyed, m_header, [header = m_header, column] {
        if (header->openFilter() == column)
            header->setOpenFilter(-1);
    });
    popup->show();
    popup->setFocus();
    return popup;
}

void DataGrid::showHeaderMenu(const QPoint &pos)
{
    QMenu menu(this);
    menu.addAction(gridtexts::columnChooserMenuItem(), this, [this] { showColumnChooser(); });
    QAction *clear = menu.addAction(gridtexts::clearFiltersMenuItem(), this, [this] { clearFilters(); });
    clear->setEnabled(m_proxy->hasAnyFilter());
    menu.exec(m_header->mapToGlobal(pos));
}

ColumnChooser *DataGrid::showColumnChooser()
{
    if (!m_chooser)
        m_chooser = new ColumnChooser(this);
    m_chooser->show();
    m_chooser->raise();
    return m_chooser;
}

// Footer ------------------------------------------------------------------------------------

void DataGrid::setFooterSummaries(std::vector<FooterSummary> summaries)
{
    m_summaries = std::move(summaries);
    m_footer->setFixedHeight(m_footer->preferredHeight());
    m_footer->setVisible(!m_summaries.empty());
    recomputeFooter();
}

QString DataGrid::footerText(int column) const
{
    return m_footer->text(column);
}

void DataGrid::recomputeFooter()
{
    if (m_summaries.empty())
        return;
    const FooterValues values(m_proxy);
    QHash<int, QString> texts;
    QHash<int, Qt::Alignment> alignments;
    for (const FooterSummary &summary : m_summaries) {
        const int column = columnOf(summary.field);
        if (column < 0)
            continue;
        QString text;
        switch (summary.kind) {
        case SummaryKind::Count:
            text = QString::number(values.count());
            break;
        case SummaryKind::Sum: {
            const RecordSet *set = m_model->recordSet();
            text = sumText(set, m_model->fieldOf(column), values.sum(summary.field));
            break;
        }
        case SummaryKind::Custom:
            text = summary.custom ? summary.custom(values) : QString();
            break;
        }
        texts.insert(column, text);
        const Qt::Alignment alignment = gridColumn(column).alignment & Qt::AlignHorizontal_Mask;
        alignments.insert(column,
            alignment                                                                ? alignment
                : summary.kind == SummaryKind::Custom && !m_model->isNumeric(column) ? Qt::AlignLeft
                                                                                     : Qt::AlignRight);
    }
    m_footer->setTexts(std::move(texts), std::move(alignments));
}

// Rows and focus ----------------------------------------------------------------------------

int DataGrid::shownRowCount() const
{
    return m_proxy->rowCount();
}

int DataGrid::sourceRow(int shownRow) const
{
    if (shownRow < 0 || shownRow >= m_proxy->rowCount())
        return -1;
    return m_proxy->mapToSource(m_proxy->index(shownRow, 0)).row();
}

int DataGrid::focusedRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? m_proxy->mapToSource(current).row() : -1;
}

QVariant DataGrid::focusedValue(QStringView field) const
{
    const RecordSet *set = m_model->recordSet();
    const int row = focusedRow();
    if (!set || row < 0)
        return {};
    const int index = set->fieldIndex(field);
    if (index < 0 || set->isNull(row, index))
        return {};
    return set->value(row, index);
}

bool DataGrid::focusRow(int sourceRow)
{
    if (!m_attached || sourceRow < 0 || sourceRow >= m_model->rowCount())
        return false;
    const QModelIndex index = m_proxy->mapFromSource(m_model->index(sourceRow, std::max(searchColumn(), 0)));
    if (!index.isValid())
        return false; // filtered out
    m_view->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_view->scrollTo(index);
    return true;
}

void DataGrid::handleCurrentChanged(const QModelIndex &current)
{
    if (!m_searchMoving)
        clearSearch();
    const int row = current.isValid() ? m_proxy->mapToSource(current).row() : -1;
    if (row != m_lastFocusedRow) {
        m_lastFocusedRow = row;
        Q_EMIT focusedRowChanged(row);
    }
}

void DataGrid::handleDoubleClick(const QModelIndex &index)
{
    if (gridColumn(index.column()).kind == ColumnKind::Button)
        return;
    Q_EMIT rowActivated(m_proxy->mapToSource(index).row());
}

void DataGrid::handleContextMenu(const QPoint &globalPos)
{
    if (!m_contextMenu)
        return;
    // The row under the mouse becomes the focused row, so the menu acts on what was clicked.
    const QModelIndex index = m_view->indexAt(m_view->viewport()->mapFromGlobal(globalPos));
    if (index.isValid())
        m_view->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_contextMenu->popup(globalPos);
}

// Incremental search ------------------------------------------------------------------------

int DataGrid::searchColumn() const
{
    const QModelIndex current = m_view->currentIndex();
    if (current.isValid() && isColumnShown(current.column()))
        return current.column();
    const std::vector<int> visible = visibleColumns();
    return visible.empty() ? -1 : visible.front();
}

bool DataGrid::handleKey(QKeyEvent *event)
{
    if (!m_options.incrementalSearch || !m_attached)
        return false;
    const QString text = event->text();
    const bool commandKey = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!text.isEmpty() && !commandKey && text.front().isPrint()) {
        incrementalSearch(m_search + text);
        return true; // a character that matches nothing is swallowed, as the search keeps its text
    }
    if (event->key() == Qt::Key_Backspace && !m_search.isEmpty()) {
        const QString shorter = m_search.chopped(1);
        if (shorter.isEmpty())
            clearSearch();
        else
            incrementalSearch(shorter);
        return true;
    }
    if (event->key() == Qt::Key_Escape && !m_search.isEmpty()) {
        clearSearch();
        return true;
    }
    return false;
}

bool DataGrid::incrementalSearch(const QString &text)
{
    const int column = searchColumn();
    const int rows = m_proxy->rowCount();
    if (column < 0 || rows == 0)
        return false;
    const QString wanted = searchFold(text);
    const int start = std::max(m_view->currentIndex().row(), 0);
    for (int i = 0; i < rows; ++i) {
        const int row = (start + i) % rows;
        const QModelIndex index = m_proxy->index(row, column);
        const QString key = index.data(GridRole::FilterKey).toString();
        if (key.size() < text.size() || searchFold(QStringView(key).left(text.size())) != wanted)
            continue;
        {
            QScopedValueRollback moving(m_searchMoving, true);
            m_view->selectionModel()->setCurrentIndex(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            m_view->scrollTo(index);
        }
        m_search = text;
        m_delegate->setSearchMatch(index, text.size());
        m_view->viewport()->update();
        return true;
    }
    return false;
}

void DataGrid::clearSearch()
{
    if (m_search.isEmpty())
        return;
    m_search.clear();
    m_delegate->clearSearchMatch();
    m_view->viewport()->update();
}

// Export ------------------------------------------------------------------------------------

ExportResult DataGrid::exportTo(const QString &path) const
{
    std::vector<int> columns;
    std::vector<int> widths;
    for (int column : visibleColumns()) {
        if (!m_model->holdsValue(column))
            continue;
        columns.push_back(column);
        widths.push_back(m_view->columnWidth(column));
    }
    std::vector<int> rows;
    const int count = m_attached ? m_proxy->rowCount() : 0;
    rows.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        rows.push_back(sourceRow(row));
    return writeXlsx(*m_model, columns, rows, widths, path);
}

ExportResult DataGrid::saveAsExcel(ExportDialogs &dialogs)
{
    const QString chosen
        = dialogs.askSaveFileName(this, gridtexts::excelDialogTitle(), gridtexts::excelFilter());
    if (chosen.isEmpty())
        return { ExportResult::Status::Cancelled, {}, {} };
    ExportResult result = exportTo(withWorkbookExtension(chosen));
    if (!result.written())
        dialogs.showError(this, gridtexts::exportErrorTitle(), result.error);
    return result;
}

} // namespace morvex
