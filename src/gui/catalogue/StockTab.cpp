#include "gui/catalogue/StockTab.h"

#include "core/catalogue/CatalogueSearch.h"
#include "core/catalogue/SearchText.h"
#include "core/records/TSonucBilgisi.h"
#include "core/wire/DataSnapConnection.h"
#include "gui/catalogue/CatalogueTexts.h"
#include "gui/catalogue/SearchBoxValidator.h"
#include "gui/catalogue/StockColumns.h"
#include "gui/common/BackgroundLoad.h"
#include "gui/common/BusyIndicator.h"
#include "gui/common/MessageBoxes.h"
#include "gui/common/ShellContext.h"
#include "gui/grid/DataGrid.h"

#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace morvex {

// The stock grid during a search: detached from `stok` (redrawing suspended) with its filters
// cleared, and attached again with one model reset afterwards.
class StockGridLoadView : public LoadView
{
public:
    StockGridLoadView(DataGrid *grid, const RecordSet *set)
        : m_grid(grid)
        , m_set(set)
    {
    }
    void suspendForLoad() override
    {
        m_grid->detach();
        m_grid->clearFilters();
    }
    void resumeAfterLoad() override { m_grid->attach(m_set); }

private:
    DataGrid *m_grid;
    const RecordSet *m_set;
};

namespace {

// What one search's worker owns: made on the UI thread, used only by the worker.
struct StockSearchJob
{
    std::unique_ptr<DataSnapConnection> clone;
    std::unique_ptr<TSonucBilgisi> bilgi;
    QString kod;
    PauseFunction pause;
};

} // namespace

StockTab::StockTab(ShellContext &shell, QWidget *parent)
    : ShellTab(shell, MainTab::StokListesi, parent)
{
    setObjectName(u"stockTab"_s);
    GridOptions options;
    options.sizing = sizing::Rule::WeightsLessScrollBar;
    const std::vector<GridColumn> columns = stockgrid::gridColumns();
    m_grid = new DataGrid(columns, options, this);
    m_grid->setObjectName(u"stokGrid"_s);
    m_grid->setFooterSummaries({ { u"BARKOD"_s, SummaryKind::Count, {} }, { u"FINISHKOD"_s, SummaryKind::Count, {} } });
    m_grid->attach(&m_stok);
    connect(m_grid, &DataGrid::rowActivated, this, [this](int) { openStockDetail(); });

    m_popstok = new QMenu(this);
    m_popstok->setObjectName(u"popstok"_s);
    m_popstok->addAction(cataloguetexts::addToBasket(), this, &StockTab::openStockDetail);
    m_popstok->addSeparator();
    m_popstok->addAction(cataloguetexts::orderBalances(), this, &StockTab::openOrderBalances);
    m_popstok->addSeparator();
    m_popstok->addAction(cataloguetexts::showOrders(), this, &StockTab::showItemOrders);
    m_grid->setContextMenu(m_popstok);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);

    // The box is the main window's; the letter mapping and its upper case are this tab's rules.
    if (QLineEdit *araedit = box())
        araedit->setValidator(new SearchBoxValidator(SearchBoxValidator::Mode::StockSearch, araedit));

    m_view = std::make_unique<StockGridLoadView>(m_grid, &m_stok);
    m_load = std::make_unique<BackgroundLoad>(shell.messages());
    // The continuation reports a failure itself, after the list has been emptied.
    m_load->setReportsFailure(false);
    m_load->addView(m_view.get());
}

StockTab::~StockTab()
{
    // A running worker still fills m_stok: wait for it before anything goes.
    m_load.reset();
}

QString StockTab::caption() const
{
    return cataloguetexts::stockTabCaption();
}

QLineEdit *StockTab::box() const
{
    return shell().searchBox();
}

bool StockTab::isSearching() const
{
    return m_load->isRunning();
}

void StockTab::tabShown()
{
    QWidget *main = shell().mainWindow();
    if (main && main->isActiveWindow() && box()) {
        box()->selectAll();
        box()->setFocus();
    }
}

void StockTab::applyRole(const UserRole &role)
{
    const auto table = stockgrid::columns();
    for (int column = 0; column < static_cast<int>(table.size()); ++column) {
        if (const auto available = stockgrid::availableFor(table[static_cast<std::size_t>(column)].rule, role))
            m_grid->setColumnAvailable(column, *available);
    }
}

void StockTab::sessionChanged()
{
    if (isSearching()) {
        // The running search is for the previous account: its rows are dropped when it ends.
        m_discardResult = true;
        return;
    }
    if (!m_stok.isEmpty())
        emptyList();
    shell().setTabBadge(MainTab::StokListesi, 0);
}

void StockTab::searchFor(const QString &text)
{
    QLineEdit *araedit = box();
    if (isSearching() || !araedit || !araedit->isEnabled())
        return;
    araedit->setText(SearchBoxValidator(SearchBoxValidator::Mode::StockSearch).boxText(text));
    shell().runSearchAction();
}

void StockTab::startSearch()
{
    QLineEdit *araedit = box();
    if (isSearching() || !araedit || !araedit->isEnabled())
        return;
    if (shell().currentTab() != MainTab::StokListesi)
        shell().showTab(MainTab::StokListesi);
    // The check looks at the trimmed text; the server gets the text exactly as typed.
    const QString kod = araedit->text();
    if (!searchtext::acceptsStockSearch(kod)) {
        showWarning(shell().messages(), cataloguetexts::tooShort());
        return;
    }

    auto job = std::make_shared<StockSearchJob>();
    job->clone = shell().mainConnection().clone();
    job->bilgi = std::make_unique<TSonucBilgisi>();
    job->bilgi->Kopyala(shell().session());
    job->kod = kod;
    job->pause = shell().openerPause();

    araedit->setEnabled(false);
    m_discardResult = false;
    m_load->setBusyIndicator(shell().busyIndicator(BusySlot::StockSearch));
    RecordSet *stok = &m_stok;
    m_load->start(
        [job, stok] {
            bool filled = false;
            try {
                filled = fetchStock(*job->clone, job->kod, std::move(job->bilgi), *stok, job->pause);
            } catch (...) {
                filled = false;
            }
            // A failed search leaves the list empty, never half of an old one.
            if (!filled)
                stok->clearRows();
            job->clone.reset();
            return filled;
        },
        [this](bool succeeded) { finishSearch(succeeded); });
}

void StockTab::finishSearch(bool succeeded)
{
    m_stokOpen = true;
    if (QLineEdit *araedit = box()) {
        araedit->setEnabled(true);
        araedit->selectAll();
        araedit->setFocus();
    }
    if (m_discardResult) {
        m_discardResult = false;
        emptyList();
        shell().setTabBadge(MainTab::StokListesi, 0);
    } else if (succeeded) {
        shell().setTabBadge(MainTab::StokListesi, m_stok.rowCount());
    } else {
        // The worker has emptied the list; the badge keeps its number.
        showConnectionFailure(shell().messages());
        shell().setTabCaption(MainTab::StokListesi, cataloguetexts::stockTabPlainCaption());
    }
    m_grid->sizeColumns();
    Q_EMIT searchFinished(succeeded);
}

void StockTab::emptyList()
{
    m_stok.clearRows();
    // One model reset tells the grid that the rows are gone.
    m_grid->attach(&m_stok);
}

void StockTab::clearSearch()
{
    QLineEdit *araedit = box();
    if (isSearching() || !araedit || !araedit->isEnabled())
        return;
    if (m_stokOpen) {
        emptyList();
        shell().setTabCaption(MainTab::StokListesi, cataloguetexts::stockTabPlainCaption());
    }
    if (shell().currentTab() != MainTab::StokListesi)
        shell().showTab(MainTab::StokListesi);
    m_grid->clearFilters();
    araedit->clear();
    araedit->selectAll();
    araedit->setFocus();
    shell().setTabBadge(MainTab::StokListesi, 0);
}

bool StockTab::positionOnFocusedRow()
{
    const QVariant key = m_grid->focusedValue(u"STOK_STOKNO");
    if (!key.isValid())
        return false;
    return m_stok.locate(u"STOK_STOKNO", key);
}

bool StockTab::missing(const QString &window)
{
    showError(shell().messages(), cataloguetexts::missingWindow(window));
    return false;
}

void StockTab::openStockDetail()
{
    if (isSearching() || !positionOnFocusedRow())
        return;
    if (!m_windows.stockDetail) {
        missing(cataloguetexts::stockDetailWindow());
        return;
    }
    m_windows.stockDetail(shell().mainWindow(), m_stok);
}

void StockTab::openOrderBalances()
{
    if (!m_windows.orderBalances) {
        missing(cataloguetexts::orderBalancesWindow());
        return;
    }
    m_windows.orderBalances(shell().mainWindow());
}

void StockTab::showItemOrders()
{
    if (isSearching())
        return;
    const QVariant key = m_grid->focusedValue(u"STOK_STOKNO");
    if (!key.isValid())
        return;
    if (!m_windows.itemOrders) {
        missing(cataloguetexts::itemOrdersWindow());
        return;
    }
    m_windows.itemOrders(shell().mainWindow(), key.toInt());
}

} // namespace morvex
