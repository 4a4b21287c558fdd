#include "CatalogueTestSupport.h"

#include "gui/grid/DataGrid.h"

#include <QDir>
#include <QImage>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace morvex::test {

// Pictures of the stock list with demo rows as a dealer and as staff see it, and of the
// genuine-part price tab, written to <build>/catalogue-screens for a person to look at.
class CatalogueScreenshots : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_server.create());
        QVERIFY(m_server.start());
        // Amounts as a dealer's Turkish system shows them.
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        m_folder = qEnvironmentVariable("MORVEX_BINARY_DIR") + u"/catalogue-screens"_s;
        QVERIFY(QDir().mkpath(m_folder));
    }

    void stockList_data()
    {
        QTest::addColumn<QString>("identity");
        QTest::addColumn<QString>("file");
        QTest::newRow("dealer") << ReferenceServer::kIdentity << u"stok-listesi-bayi.png"_s;
        QTest::newRow("staff") << u"DEMO-PERSONEL1"_s << u"stok-listesi-personel.png"_s;
    }

    void stockList()
    {
        QFETCH(QString, identity);
        QFETCH(QString, file);
        MainWindowFixture ui(m_server.port());
        const auto session = m_server.session(identity);
        QVERIFY(session);
        ui.logIn(*session);
        ui.window->setSellerLabels();
        ui.window->resize(1366, 768);
        ui.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(ui.window.get()));
        QVERIFY(ui.searchAndWait(u"FREN"_s));
        QVERIFY(ui.stock()->stok().rowCount() > 0);
        ui.stock()->grid()->focusRow(2);
        save(ui, file);
    }

    void genuinePrices()
    {
        MainWindowFixture ui(m_server.port());
        const auto session = m_server.session();
        QVERIFY(session);
        ui.logIn(*session);
        ui.window->setSellerLabels();
        ui.window->resize(1366, 768);
        ui.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(ui.window.get()));
        ui.window->showTab(MainTab::OrjinalFiyatlar);
        ui.genuine()->orvexedit()->setText(u"FREN"_s);
        QSignalSpy finished(ui.genuine(), &GenuinePricesTab::searchFinished);
        QTest::keyClick(ui.genuine()->orvexedit(), Qt::Key_Return);
        QVERIFY(finished.wait(60000));
        QVERIFY(ui.genuine()->orvexListe().rowCount() > 0);
        save(ui, u"orjinal-fiyatlar.png"_s);
    }

private:
    void save(MainWindowFixture &ui, const QString &file)
    {
        QTest::qWait(200); // let the last repaint through
        const QImage image = ui.window->grab().toImage();
        const QString path = m_folder + u'/' + file;
        QVERIFY(image.save(path));
        qInfo("wrote %s", qPrintable(path));
    }

    ReferenceServer m_server;
    QString m_folder;
};

} // namespace morvex::test

QTEST_MAIN(morvex::test::CatalogueScreenshots)
#include "catalogue_screenshots_test.moc"
