#include "CatalogueTestSupport.h"

#include "core/local/RetryingOpener.h"
#include "gui/common/BusyIndicator.h"
#include "gui/grid/DataGrid.h"

#include <QToolButton>

using namespace Qt::StringLiterals;

namespace morvex::test {

namespace {

// Counts the key presses that reach a widget.
class KeySpy : public QObject
{
public:
    int returns = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return)
            ++returns;
        return false;
    }
};

} // namespace

class GenuinePricesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_server.create());
        QVERIFY(m_server.start());
        m_dealer = m_server.session();
        QVERIFY(m_dealer);
    }

    void init()
    {
        m_ui = std::make_unique<MainWindowFixture>(m_server.port());
        m_ui->logIn(*m_dealer);
        m_ui->window->resize(1280, 800);
        m_ui->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ui->window.get()));
        m_ui->window->showTab(MainTab::OrjinalFiyatlar);
    }

    void cleanup() { m_ui.reset(); }

    // Types into orvexedit and presses Enter; waits for the search when one starts.
    bool search(const QString &text)
    {
        QLineEdit *box = m_ui->genuine()->orvexedit();
        box->setText(text);
        QSignalSpy finished(m_ui->genuine(), &GenuinePricesTab::searchFinished);
        QTest::keyClick(box, Qt::Key_Return);
        return !m_ui->genuine()->isSearching() || finished.wait(60000);
    }

    void singleLetterSearches()
    {
        GenuinePricesTab *tab = m_ui->genuine();
        QVERIFY(search(u"F"_s));
        const RecordSet &liste = tab->orvexListe();
        QVERIFY(liste.rowCount() > 0);
        QCOMPARE(liste.currentRow(), 0);
        QVERIFY(m_ui->boxes.shown.isEmpty());

        DataGrid *grid = tab->grid();
        QVERIFY(grid->isAttached());
        QVERIFY(grid->isEnabled());
        QCOMPARE(grid->shownRowCount(), liste.rowCount());
        QCOMPARE(grid->footerText(grid->columnOf(u"KOD")), QString::number(liste.rowCount()));
        const std::vector<int> widths{ 275, 429, 156, 172 };
        for (int column = 0; column < 4; ++column)
            QCOMPARE(grid->columnWidth(column), widths[std::size_t(column)]);

        QVERIFY(tab->orvexedit()->isEnabled());
        QVERIFY(tab->orvexedit()->hasFocus());
        QCOMPARE(tab->orvexedit()->selectedText(), u"F"_s);
        QVERIFY(!m_ui->window->busyIndicator(BusySlot::GenuinePrices)->isVisible());
    }

    void blankTextDoesNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("blanks") << u"   "_s;
    }

    void blankTextDoesNothing()
    {
        QFETCH(QString, text);
        CountingListener listener;
        m_ui->pointAt(listener.port());
        QVERIFY(search(text));
        QVERIFY(!m_ui->genuine()->isSearching());
        QVERIFY(m_ui->genuine()->orvexedit()->isEnabled());
        QVERIFY(m_ui->boxes.shown.isEmpty());
        QTest::qWait(100);
        QCOMPARE(listener.connections(), 0);
    }

    void enterGoesNoFurther()
    {
        KeySpy spy;
        m_ui->genuine()->installEventFilter(&spy);
        QVERIFY(search(u"   "_s));
        QVERIFY(search(u"F"_s));
        QCOMPARE(spy.returns, 0);
    }

    void boxHoldsUpperCaseWithoutLetterMapping()
    {
        QLineEdit *box = m_ui->genuine()->orvexedit();
        box->clear();
        box->setFocus();
        for (QChar c : u"şiç1"_s)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCOMPARE(box->text(), u"ŞIÇ1"_s);
    }

    void failingCallShowsTheConnectionFailure()
    {
        QVERIFY(search(u"F"_s));
        const int rows = m_ui->genuine()->orvexListe().rowCount();
        QVERIFY(rows > 0);

        // The server refuses a search text over 100 characters after the connection opened.
        QVERIFY(search(QString(101, u'F')));
        QCOMPARE(m_ui->boxes.texts(), QStringList{ QString::fromUtf16(MessageTexts::connectionFailure) });
        QCOMPARE(m_ui->boxes.shown.front().kind, MessageKind::Error);
        QCOMPARE(m_ui->pauses->count.load(), 0);
        QCOMPARE(m_ui->genuine()->orvexListe().rowCount(), rows);
        QCOMPARE(m_ui->genuine()->grid()->shownRowCount(), rows);
        QVERIFY(m_ui->genuine()->grid()->isEnabled());
        QVERIFY(m_ui->genuine()->orvexedit()->isEnabled());
    }

    void unreachableServerKeepsTheList()
    {
        QVERIFY(search(u"F"_s));
        const int rows = m_ui->genuine()->orvexListe().rowCount();
        m_ui->pointAt(freePort());
        QVERIFY(search(u"FREN"_s));
        QCOMPARE(m_ui->pauses->count.load(), kOpenerAttempts);
        QCOMPARE(m_ui->boxes.texts(), QStringList{ QString::fromUtf16(MessageTexts::connectionFailure) });
        QCOMPARE(m_ui->genuine()->orvexListe().rowCount(), rows);
        QCOMPARE(m_ui->genuine()->grid()->shownRowCount(), rows);
    }

    void clearEmptiesListAndBox()
    {
        GenuinePricesTab *tab = m_ui->genuine();
        QVERIFY(search(u"F"_s));
        QVERIFY(tab->orvexListe().rowCount() > 0);

        // Not while a search runs.
        m_ui->pauses->hold();
        m_ui->pointAt(freePort());
        QSignalSpy finished(tab, &GenuinePricesTab::searchFinished);
        tab->orvexedit()->setText(u"FREN"_s);
        QTest::keyClick(tab->orvexedit(), Qt::Key_Return);
        QVERIFY(tab->isSearching());
        QVERIFY(!tab->orvexedit()->isEnabled());
        QVERIFY(!tab->grid()->isEnabled());
        tab->clearButton()->click();
        tab->clearSearch();
        QCOMPARE(tab->orvexedit()->text(), u"FREN"_s);
        m_ui->pauses->release();
        QVERIFY(finished.wait(30000));
        QVERIFY(tab->orvexListe().rowCount() > 0);

        tab->clearButton()->click();
        QCOMPARE(tab->orvexListe().rowCount(), 0);
        QCOMPARE(tab->grid()->shownRowCount(), 0);
        QCOMPARE(tab->grid()->footerText(tab->grid()->columnOf(u"KOD")), u"0"_s);
        QVERIFY(tab->orvexedit()->text().isEmpty());
        QVERIFY(tab->orvexedit()->hasFocus());
    }

    void runsBesideAStockSearch()
    {
        // The two searches share neither record set nor connection.
        QSignalSpy stockDone(m_ui->stock(), &StockTab::searchFinished);
        QSignalSpy genuineDone(m_ui->genuine(), &GenuinePricesTab::searchFinished);
        m_ui->araedit()->setText(u"FIAT"_s);
        QTest::keyClick(m_ui->araedit(), Qt::Key_Return);
        m_ui->window->showTab(MainTab::OrjinalFiyatlar);
        m_ui->genuine()->orvexedit()->setText(u"F"_s);
        QTest::keyClick(m_ui->genuine()->orvexedit(), Qt::Key_Return);
        QVERIFY(stockDone.count() == 1 || stockDone.wait(60000));
        QVERIFY(genuineDone.count() == 1 || genuineDone.wait(60000));
        QVERIFY(m_ui->boxes.shown.isEmpty());
        QVERIFY(m_ui->stock()->stok().rowCount() > 0);
        QVERIFY(m_ui->genuine()->orvexListe().rowCount() > 0);
    }

private:
    ReferenceServer m_server;
    std::unique_ptr<TSonucBilgisi> m_dealer;
    std::unique_ptr<MainWindowFixture> m_ui;
};

} // namespace morvex::test

QTEST_MAIN(morvex::test::GenuinePricesTest)
#include "catalogue_genuine_prices_test.moc"
