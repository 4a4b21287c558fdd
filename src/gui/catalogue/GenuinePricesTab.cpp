#include "gui/catalogue/GenuinePricesTab.h"

#include "core/catalogue/CatalogueSearch.h"
#include "core/catalogue/SearchText.h"
#include "core/wire/DataSnapConnection.h"
#include "gui/catalogue/CatalogueTexts.h"
#include "gui/catalogue/SearchBoxValidator.h"
#include "gui/common/BackgroundLoad.h"
#include "gui/common/BusyIndicator.h"
#include "gui/common/ShellContext.h"
#include "gui/common/ShellIcons.h"
#include "gui/grid/DataGrid.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace morvex {

namespace {

std::vector<GridColumn> genuinePartColumns()
{
    const auto column = [](QString caption, QString field, int width, ColumnKind kind) {
        GridColumn c;
        c.caption = std::move(caption);
        c.field = std::move(field);
        c.width = width;
        c.kind = kind;
        return c;
    };
    return {
        column(u"Kod"_s, u"KOD"_s, 275, ColumnKind::Text),
        column(u"Açıklama"_s, u"ACIKLAMA"_s, 429, ColumnKind::Text),
        column(u"KDV Hariç"_s, u"KDVHARIC"_s, 156, ColumnKind::Number),
        column(u"KDV Dahil"_s, u"KDVDAHIL"_s, 172, ColumnKind::Number),
    };
}

struct GenuinePartJob
{
    std::unique_ptr<DataSnapConnection> clone;
    QString text;
    PauseFunction pause;
};

} // namespace

GenuinePricesTab::GenuinePricesTab(ShellContext &shell, QWidget *parent)
    : ShellTab(shell, MainTab::OrjinalFiyatlar, parent)
{
    setObjectName(u"genuinePricesTab"_s);
    m_orvexedit = new QLineEdit(this);
    m_orvexedit->setObjectName(u"orvexedit"_s);
    m_orvexedit->setValidator(new SearchBoxValidator(SearchBoxValidator::Mode::UpperCaseOnly, m_orvexedit));
    QFont big = m_orvexedit->font();
    big.setPixelSize(20);
    m_orvexedit->setFont(big);
    m_orvexedit->setFixedSize(320, 30);
    m_orvexedit->installEventFilter(this);

    m_clear = new QToolButton(this);
    m_clear->setObjectName(u"orvexTemizle"_s);
    m_clear->setIcon(ShellIcons::clearIcon());
    m_clear->setIconSize(QSize(20, 20));
    m_clear->setFixedSize(32, 29);
    m_clear->setToolTip(cataloguetexts::clearHint());
    m_clear->setCursor(Qt::PointingHandCursor);
    connect(m_clear, &QToolButton::clicked, this, &GenuinePricesTab::clearSearch);

    GridOptions options; // fixed starting widths; the weight rule does not apply here
    const std::vector<GridColumn> columns = genuinePartColumns();
    m_grid = new DataGrid(columns, options, this);
    m_grid->setObjectName(u"orvexGrid"_s);
    m_grid->setFooterSummaries({ { u"KOD"_s, SummaryKind::Count, {} } });
    m_grid->attach(&m_liste);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(6, 4, 6, 4);
    bar->setSpacing(4);
    bar->addWidget(m_orvexedit);
    bar->addWidget(m_clear);
    bar->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(m_grid, 1);

    DataGrid *grid = m_grid;
    const RecordSet *liste = &m_liste;
    m_view = std::make_unique<WidgetLoadView>(
        m_grid, [grid] { grid->detach(); }, [grid, liste] { grid->attach(liste); });
    m_load = std::make_unique<BackgroundLoad>(shell.messages());
    m_load->addView(m_view.get());
}

GenuinePricesTab::~GenuinePricesTab()
{
    m_load.reset();
}

QString GenuinePricesTab::caption() const
{
    return cataloguetexts::genuineTabCaption();
}

bool GenuinePricesTab::isSearching() const
{
    return m_load->isRunning();
}

void GenuinePricesTab::tabShown()
{
    m_orvexedit->selectAll();
    m_orvexedit->setFocus();
}

bool GenuinePricesTab::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_orvexedit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            startSearch();
            return true; // the Enter key goes no further
        }
    }
    return ShellTab::eventFilter(watched, event);
}

void GenuinePricesTab::startSearch()
{
    if (isSearching() || !m_orvexedit->isEnabled())
        return;
    const QString text = m_orvexedit->text();
    if (!searchtext::acceptsGenuinePartSearch(text))
        return;

    auto job = std::make_shared<GenuinePartJob>();
    job->clone = shell().mainConnection().clone();
    job->text = text; // sent untrimmed
    job->pause = shell().openerPause();

    m_load->setBusyIndicator(shell().busyIndicator(BusySlot::GenuinePrices));
    m_orvexedit->setEnabled(false);
    RecordSet *liste = &m_liste;
    m_load->start(
        [job, liste] {
            // A call that fails after the connection opened ends like one that could not open:
            // with the connection-failure message, the list keeping what it held.
            bool filled = false;
            try {
                filled = fetchGenuinePrices(*job->clone, job->text, *liste, job->pause);
            } catch (...) {
                filled = false;
            }
            job->clone.reset();
            return filled;
        },
        [this](bool succeeded) { finishSearch(succeeded); });
}

void GenuinePricesTab::finishSearch(bool succeeded)
{
    m_listeOpen = m_listeOpen || succeeded;
    m_orvexedit->setEnabled(true);
    m_orvexedit->setFocus();
    m_orvexedit->selectAll();
    Q_EMIT searchFinished(succeeded);
}

void GenuinePricesTab::clearSearch()
{
    if (isSearching() || !m_orvexedit->isEnabled())
        return;
    if (m_listeOpen) {
        m_liste.clearRows();
        m_grid->attach(&m_liste);
    }
    m_orvexedit->clear();
    m_orvexedit->selectAll();
    m_orvexedit->setFocus();
}

} // namespace morvex
