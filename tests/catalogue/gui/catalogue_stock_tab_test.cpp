#include "CatalogueTestSupport.h"

#include "core/data/NumberFormat.h"
#include "core/local/RetryingOpener.h"
#include "gui/catalogue/CatalogueTexts.h"
#include "gui/catalogue/StockColumns.h"
#include "gui/common/BackgroundLoad.h"
#include "gui/common/BusyIndicator.h"
#include "gui/grid/DataGrid.h"
#include "gui/grid/RecordSetModel.h"
#include "gui/shell/BadgeTabWidget.h"

#include <QAction>
#include <QMenu>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace morvex::test {

namespace {

const QString kFinds = u"FIAT"_s;      // matches part of the demo stock
const QString kFindsNothing = u"QQZZXXQQ"_s;

int sumOfVisibleWeights(const DataGrid *grid)
{
    int sum = 0;
    for (int column : grid->visibleColumns())
        sum += grid->gridColumn(column).weight;
    return sum;
}

// Every visible column is its weight times (grid width - scroll-bar height - 10) div the weights.
void verifyWeightWidths(const DataGrid *grid, int expectedWeightSum)
{
    QCOMPARE(sumOfVisibleWeights(grid), expectedWeightSum);
    const int scrollBar = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
    const int unit = (grid->width() - scrollBar - 10) / expectedWeightSum;
    QVERIFY(unit > 0);
    for (int column : grid->visibleColumns())
        QCOMPARE(grid->columnWidth(column), grid->gridColumn(column).weight * unit);
}

std::vector<int> visibleWidths(const DataGrid *grid)
{
    std::vector<int> widths;
    for (int column : grid->visibleColumns())
        widths.push_back(grid->columnWidth(column));
    return widths;
}

} // namespace

class StockTabTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_server.create());
        QVERIFY(m_server.start());
        m_dealer = m_server.session();
        QVERIFY(m_dealer);
        QCOMPARE(m_dealer->MusteriTipi(), 0); // the demo dealer: no staff columns
    }

    void init()
    {
        m_ui = std::make_unique<MainWindowFixture>(m_server.port());
        m_ui->logIn(*m_dealer);
        m_ui->window->resize(1280, 800);
        m_ui->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ui->window.get()));
    }

    void cleanup() { m_ui.reset(); }

    void searchFillsTheList()
    {
        StockTab *tab = m_ui->stock();
        QVERIFY(m_ui->searchAndWait(kFinds));

        const RecordSet &stok = tab->stok();
        QVERIFY(stok.rowCount() > 0);
        QVERIFY(m_ui->boxes.shown.isEmpty());
        QCOMPARE(m_ui->window->tabBadge(MainTab::StokListesi), stok.rowCount());
        QCOMPARE(m_ui->window->tabCaption(MainTab::StokListesi), u"Stok\r\nListesi"_s);

        DataGrid *grid = tab->grid();
        QVERIFY(grid->isAttached());
        QCOMPARE(grid->shownRowCount(), stok.rowCount());
        QCOMPARE(grid->footerText(grid->columnOf(u"FINISHKOD")), QString::number(stok.rowCount()));
        QCOMPARE(grid->footerText(grid->columnOf(u"BARKOD")), QString::number(stok.rowCount()));
        verifyWeightWidths(grid, 27);

        // Amounts show through the float display pattern.
        const int netfiyat = stok.fieldIndex(u"NETFIYAT");
        QCOMPARE(stok.field(netfiyat).displayPattern, floatDisplayPattern());

        // The box is usable again, its text selected, the animation gone.
        QVERIFY(m_ui->araedit()->isEnabled());
        QCOMPARE(m_ui->araedit()->selectedText(), kFinds);
        QVERIFY(!m_ui->window->busyIndicator(BusySlot::StockSearch)->isVisible());
    }

    void searchFindingNothingLeavesAnEmptyList()
    {
        QVERIFY(m_ui->searchAndWait(kFinds));
        QVERIFY(m_ui->searchAndWait(kFindsNothing));
        DataGrid *grid = m_ui->stock()->grid();
        QCOMPARE(m_ui->stock()->stok().rowCount(), 0);
        QCOMPARE(grid->shownRowCount(), 0);
        QCOMPARE(grid->footerText(grid->columnOf(u"FINISHKOD")), u"0"_s);
        QCOMPARE(m_ui->window->tabBadge(MainTab::StokListesi), 0);
        QVERIFY(m_ui->boxes.shown.isEmpty());
        verifyWeightWidths(grid, 27);
    }

    void tooShortTextIsNotSent_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("two letters") << u"AB"_s;
        QTest::newRow("two letters between blanks") << u"  AB  "_s;
        QTest::newRow("controls around two letters") << u"\tA\u0001"_s;
    }

    void tooShortTextIsNotSent()
    {
        QFETCH(QString, text);
        QVERIFY(m_ui->searchAndWait(kFinds));
        const int rows = m_ui->stock()->stok().rowCount();

        CountingListener listener;
        m_ui->pointAt(listener.port());
        m_ui->araedit()->setText(text);
        QTest::keyClick(m_ui->araedit(), Qt::Key_Return);

        QCOMPARE(m_ui->boxes.texts(), QStringList{ u"Lütfen en az 3 harf giriniz !"_s });
        QCOMPARE(m_ui->boxes.shown.front().kind, MessageKind::Warning);
        QCOMPARE(m_ui->boxes.shown.front().buttons, MessageButtons(MessageButton::Ok));
        QVERIFY(!m_ui->stock()->isSearching());
        QVERIFY(m_ui->araedit()->isEnabled());
        QTest::qWait(100);
        QCOMPARE(listener.connections(), 0);
        QCOMPARE(m_ui->stock()->stok().rowCount(), rows); // the list keeps its rows
    }

    void textIsSentAsTyped()
    {
        // Blank, letter, blank, letter, blank passes the check (three characters once trimmed)
        // and reaches the server, which is where the listener counts it.
        {
            CountingListener listener;
            m_ui->pointAt(listener.port());
            QVERIFY(m_ui->searchAndWait(u" A B "_s));
            QVERIFY(listener.connections() > 0);
        }
        // The server refuses search texts over 100 characters. 98 letters between two blanks
        // on either side are 98 once trimmed but 102 as typed: the refusal shows that the
        // blanks travelled.
        m_ui->boxes.shown.clear();
        m_ui->pointAt(m_server.port());
        QVERIFY(m_ui->searchAndWait(u"  "_s + QString(98, u'A') + u"  "_s));
        QCOMPARE(m_ui->boxes.texts(), QStringList{ QString::fromUtf16(MessageTexts::connectionFailure) });
        m_ui->boxes.shown.clear();
        QVERIFY(m_ui->searchAndWait(u" "_s + QString(98, u'A') + u" "_s));
        QVERIFY(m_ui->boxes.shown.isEmpty());
    }

    void typedLettersAreMappedAndUpperCased_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("held");
        QTest::newRow("ş ö ğ ü ç") << u"şöğüç"_s << u"SOGUC"_s;
        QTest::newRow("capitals") << u"ŞÖĞÜÇİ"_s << u"SOGUCI"_s;
        QTest::newRow("dotless and dotted i") << u"ıi"_s << u"II"_s;
        QTest::newRow("code") << u"orv-10a"_s << u"ORV-10A"_s;
    }

    void typedLettersAreMappedAndUpperCased()
    {
        QFETCH(QString, typed);
        QFETCH(QString, held);
        QLineEdit *box = m_ui->araedit();
        box->clear();
        box->setFocus();
        for (QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCOMPARE(box->text(), held);
    }

    void enterOnAnotherTabSwitchesToTheStockList()
    {
        // Also when the text is then refused as too short.
        m_ui->window->showTab(MainTab::OrjinalFiyatlar);
        m_ui->araedit()->setText(u"AB"_s);
        QTest::keyClick(m_ui->araedit(), Qt::Key_Return);
        QCOMPARE(m_ui->window->currentTab(), MainTab::StokListesi);
        QCOMPARE(m_ui->boxes.shown.size(), 1);

        m_ui->window->showTab(MainTab::OrjinalFiyatlar);
        QVERIFY(m_ui->searchAndWait(kFinds));
        QCOMPARE(m_ui->window->currentTab(), MainTab::StokListesi);
        QVERIFY(m_ui->stock()->stok().rowCount() > 0);
    }

    void searchButtonActsLikeEnter()
    {
        QSignalSpy finished(m_ui->stock(), &StockTab::searchFinished);
        m_ui->araedit()->setText(kFinds);
        m_ui->window->araButton()->click();
        QVERIFY(finished.wait(60000));
        QVERIFY(m_ui->stock()->stok().rowCount() > 0);
    }

    void whileSearchingClearResizeAndSearchDoNothing()
    {
        QVERIFY(m_ui->searchAndWait(kFinds));
        StockTab *tab = m_ui->stock();
        const int rows = tab->stok().rowCount();
        const std::vector<int> widthsBefore = visibleWidths(tab->grid());

        // Hold a search in the opener's first pause against a port where nothing listens.
        m_ui->pauses->hold();
        m_ui->pointAt(freePort());
        QSignalSpy finished(tab, &StockTab::searchFinished);
        m_ui->araedit()->setText(u"FREN"_s);
        QTest::keyClick(m_ui->araedit(), Qt::Key_Return);
        QVERIFY(tab->isSearching());
        QVERIFY(!m_ui->araedit()->isEnabled());
        QVERIFY(m_ui->window->busyIndicator(BusySlot::StockSearch)->isVisible());
        QVERIFY(!tab->grid()->isAttached());

        m_ui->window->temizleButton()->click();
        tab->clearSearch();
        tab->searchFor(u"BALATA"_s);
        tab->startSearch();
        QCOMPARE(m_ui->araedit()->text(), u"FREN"_s);
        QCOMPARE(m_ui->window->tabBadge(MainTab::StokListesi), rows);
        QCOMPARE(m_ui->window->tabCaption(MainTab::StokListesi), u"Stok\r\nListesi"_s);

        const int gridWidth = tab->grid()->width();
        m_ui->window->resize(1600, 900);
        QTRY_VERIFY(tab->grid()->width() > gridWidth);
        QCOMPARE(visibleWidths(tab->grid()), widthsBefore);

        m_ui->pauses->release();
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.count(), 1);
        // The search failed (nothing listened) and the columns fit the final width.
        verifyWeightWidths(tab->grid(), 27);
    }

    void clearEmptiesTheList()
    {
        QVERIFY(m_ui->searchAndWait(kFinds));
        DataGrid *grid = m_ui->stock()->grid();
        const int marka = grid->columnOf(u"MARKA");
        const QStringList brands = grid->filterValues(marka);
        QVERIFY(!brands.isEmpty());
        grid->setColumnFilter(marka, { brands.front() });
        m_ui->window->showTab(MainTab::OrjinalFiyatlar);

        m_ui->window->temizleButton()->click();
        QCOMPARE(m_ui->stock()->stok().rowCount(), 0);
        QCOMPARE(grid->shownRowCount(), 0);
        QVERIFY(grid->columnFilter(marka).isEmpty());
        QCOMPARE(m_ui->window->currentTab(), MainTab::StokListesi);
        QCOMPARE(m_ui->window->tabCaption(MainTab::StokListesi), u"Stok Listesi"_s);
        QCOMPARE(m_ui->window->tabBadge(MainTab::StokListesi), 0);
        QVERIFY(m_ui->araedit()->text().isEmpty());
        QVERIFY(m_ui->araedit()->hasFocus());
    }

    void clearBeforeAnySearchKeepsTheCaption()
    {
        m_ui->window->temizleButton()->click();
        QCOMPARE(m_ui->window->tabCaption(MainTab::StokListesi), u"Stok\r\nListesi"_s);
        QCOMPARE(m_ui->window->tabBadge(MainTab::StokListesi), 0);
    }

    void otherScreensStartASearch()
    {
        QSignalSpy finished(m_ui->stock(), &StockTab::searchFinished);
        m_ui->window->showTab(MainTab::OrjinalFiyatlar);
        m_ui->stock()->searchFor(u"fiat"_s);
        QVERIFY(finished.wait(60000));
        QCOMPARE(m_ui->araedit()->text(), u"FIAT"_s);
        QCOMPARE(m_ui->window->currentTab(), MainTab::StokListesi);
        QVERIFY(m_ui->stock()->stok().rowCount() > 0);
    }

    void anotherAccountEmptiesTheList()
    {
        StockTab *tab = m_ui->stock();
        QVERIFY(m_ui->searchAndWait(kFinds));
        tab->sessionChanged();
        QCOMPARE(tab->stok().rowCount(), 0);
        QCOMPARE(tab->grid()->shownRowCount(), 0);
        QCOMPARE(m_ui->window->tabBadge(MainTab::StokListesi), 0);

        // A search still running for the previous account brings no rows when it ends. It is
        // held in the opener's first pause while the server is away, which comes back then.
        m_server.stop();
        m_ui->pauses->hold();
        QSignalSpy finished(tab, &StockTab::searchFinished);
        m_ui->araedit()->setText(kFinds);
        QTest::keyClick(m_ui->araedit(), Qt::Key_Return);
        QVERIFY(tab->isSearching());
        QTRY_COMPARE(m_ui->pauses->count.load(), 1);
        tab->sessionChanged();
        const bool back = m_server.start();
        m_ui->pauses->release();
        QVERIFY(back);
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.front().front().toBool(), true);
        QVERIFY(m_ui->boxes.shown.isEmpty());
        QCOMPARE(tab->stok().rowCount(), 0);
        QCOMPARE(tab->grid()->shownRowCount(), 0);
        QCOMPARE(m_ui->window->tabBadge(MainTab::StokListesi), 0);
    }

    void contextMenuOpensTheFocusedItem()
    {
        QVERIFY(m_ui->searchAndWait(kFinds));
        StockTab *tab = m_ui->stock();
        const QList<QAction *> actions = tab->popstok()->actions();
        QCOMPARE(actions.size(), 5);
        QCOMPARE(actions[0]->text(), u"Sepete Ekle"_s);
        QVERIFY(actions[1]->isSeparator());
        QCOMPARE(actions[2]->text(), u"Sipariş Bakiyeleriniz"_s);
        QVERIFY(actions[3]->isSeparator());
        QCOMPARE(actions[4]->text(), u"Siparişleri Göster"_s);

        // While the windows are missing, each entry says which one.
        tab->grid()->focusRow(0);
        actions[0]->trigger();
        actions[2]->trigger();
        actions[4]->trigger();
        QCOMPARE(m_ui->boxes.texts(),
                 (QStringList{ cataloguetexts::missingWindow(cataloguetexts::stockDetailWindow()),
                               cataloguetexts::missingWindow(cataloguetexts::orderBalancesWindow()),
                               cataloguetexts::missingWindow(cataloguetexts::itemOrdersWindow()) }));

        QList<int> detailStokno;
        QList<int> orderStokno;
        int balances = 0;
        CatalogueWindows windows;
        windows.stockDetail = [&](QWidget *, RecordSet &stok) {
            detailStokno.append(stok.int32(stok.currentRow(), stok.fieldIndex(u"STOK_STOKNO")));
        };
        windows.orderBalances = [&](QWidget *) { ++balances; };
        windows.itemOrders = [&](QWidget *, int stokno) { orderStokno.append(stokno); };
        tab->setWindows(windows);

        // Sorted the other way round, the focused row is not the set's row of the same number:
        // the set is positioned by key.
        RecordSet &stok = tab->stok();
        const int kodField = stok.fieldIndex(u"FINISHKOD");
        const int keyField = stok.fieldIndex(u"STOK_STOKNO");
        tab->grid()->view()->sortByColumn(tab->grid()->columnOf(u"FINISHKOD"), Qt::DescendingOrder);
        int last = 0;
        for (int row = 1; row < stok.rowCount(); ++row) {
            if (stok.text(row, kodField) > stok.text(last, kodField))
                last = row;
        }
        QVERIFY(last != 0);
        stok.setCurrentRow(0);
        const QModelIndex first = tab->grid()->view()->model()->index(0, tab->grid()->columnOf(u"FINISHKOD"));
        tab->grid()->view()->setCurrentIndex(first);
        QCOMPARE(tab->grid()->focusedRow(), last);

        actions[0]->trigger();
        QCOMPARE(detailStokno, QList<int>{ stok.int32(last, keyField) });
        QCOMPARE(stok.currentRow(), last);
        actions[4]->trigger();
        QCOMPARE(orderStokno, QList<int>{ stok.int32(last, keyField) });
        actions[2]->trigger();
        QCOMPARE(balances, 1);

        // A double-click on a row opens the detail as well.
        QTableView *view = tab->grid()->view();
        const QRect cell = view->visualRect(view->model()->index(1, tab->grid()->columnOf(u"FINISHKOD")));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(detailStokno.size(), 2);
        QCOMPARE(detailStokno.back(), stok.int32(tab->grid()->focusedRow(), keyField));
    }

    void columnsFollowTheRole_data()
    {
        QTest::addColumn<int>("musteriTipi");
        QTest::addColumn<QString>("carikod");
        QTest::addColumn<bool>("staff");
        QTest::addColumn<bool>("campaign");
        QTest::addColumn<int>("weights"); // of the visible columns
        QTest::newRow("dealer") << 0 << u"120.01.001"_s << false << true << 27;
        QTest::newRow("type 1") << 1 << u"120.01.001"_s << true << true << 31;
        QTest::newRow("type 2") << 2 << u"120.01.001"_s << true << true << 31;
        QTest::newRow("BDM in the code") << 5 << u"12BDM7"_s << true << true << 31;
        QTest::newRow("bdm in lower case") << 5 << u"12bdm7"_s << false << true << 27;
        QTest::newRow("type 3 with BDM") << 3 << u"BDM-3"_s << true << true << 31;
        QTest::newRow("type 4") << 4 << u"120.01.004"_s << false << false << 26;
    }

    void columnsFollowTheRole()
    {
        QFETCH(int, musteriTipi);
        QFETCH(QString, carikod);
        QFETCH(bool, staff);
        QFETCH(bool, campaign);
        QFETCH(int, weights);
        TSonucBilgisi session;
        session.Kopyala(*m_dealer);
        session.setMusteriTipi(musteriTipi);
        session.setcarikod(carikod);
        m_ui->logIn(session);

        const DataGrid *grid = m_ui->stock()->grid();
        for (const QString &field : { u"KALAN"_s, u"MALIYET"_s, u"ALINANSIPARIS"_s, u"VERILENSIPARIS"_s }) {
            const int column = grid->columnOf(field);
            QCOMPARE(grid->isColumnShown(column), staff);
            QCOMPARE(grid->isColumnOffered(column), staff);
        }
        const int k = grid->columnOf(u"K");
        QCOMPARE(grid->isColumnShown(k), campaign);
        QCOMPARE(grid->isColumnOffered(k), campaign);
        QCOMPARE(sumOfVisibleWeights(grid), weights);
    }

    void headersFollowTheTable()
    {
        const RecordSetModel *model = m_ui->stock()->grid()->recordSetModel();
        const DataGrid *grid = m_ui->stock()->grid();
        const auto header = [&](const QString &field) {
            return model->headerData(grid->columnOf(field), Qt::Horizontal, Qt::DisplayRole).toString();
        };
        QCOMPARE(header(u"LISTEFIYATI"_s), u"Fiyatı"_s);
        QCOMPARE(header(u"FIYAT"_s), u"Liste Fiyatı"_s);
        QCOMPARE(header(u"KDV"_s), u"KDV"_s); // no caption: the field name
        QCOMPARE(header(u"PKOD"_s), QString());
        QCOMPARE(grid->gridColumnCount(), 32);
    }

    // Last: it stops the server.
    void failedSearchEmptiesTheList()
    {
        QVERIFY(m_ui->searchAndWait(kFinds));
        const int badge = m_ui->window->tabBadge(MainTab::StokListesi);
        QVERIFY(badge > 0);

        m_server.stop(); // for good: this is the last test
        QVERIFY(m_ui->searchAndWait(kFinds));

        QCOMPARE(m_ui->pauses->count.load(), kOpenerAttempts);
        QCOMPARE(m_ui->boxes.texts(), QStringList{ QString::fromUtf16(MessageTexts::connectionFailure) });
        QCOMPARE(m_ui->boxes.shown.front().kind, MessageKind::Error);
        QCOMPARE(m_ui->boxes.shown.front().buttons, MessageButtons(MessageButton::Ok));
        QCOMPARE(m_ui->stock()->stok().rowCount(), 0);
        QCOMPARE(m_ui->stock()->grid()->shownRowCount(), 0);
        QCOMPARE(m_ui->window->tabCaption(MainTab::StokListesi), u"Stok Listesi"_s);
        QCOMPARE(m_ui->window->tabBadge(MainTab::StokListesi), badge);
        QVERIFY(m_ui->araedit()->isEnabled());
        verifyWeightWidths(m_ui->stock()->grid(), 27);
    }

private:
    ReferenceServer m_server;
    std::unique_ptr<TSonucBilgisi> m_dealer;
    std::unique_ptr<MainWindowFixture> m_ui;
};

} // namespace morvex::test

QTEST_MAIN(morvex::test::StockTabTest)
#include "catalogue_stock_tab_test.moc"
