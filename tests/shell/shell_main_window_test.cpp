#include "ShellTestSupport.h"

#include "core/records/TSonucBilgisi.h"
#include "gui/catalogue/StockTab.h"
#include "gui/common/BackgroundLoad.h"
#include "gui/common/BusyIndicator.h"
#include "gui/grid/DataGrid.h"
#include "gui/shell/BadgeTabWidget.h"
#include "gui/shell/StartupNotices.h"
#include "gui/shell/StatusLegend.h"
#include "gui/shell/TForm1.h"
#include "gui/shell/Ticker.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace morvex;
using namespace morvex::test;

namespace {

int index(MainTab tab)
{
    return static_cast<int>(tab);
}

// Start-up notices whose loaders wait until released, to keep the start-up load running.
struct BlockingNotices : StartupNotices
{
    QSemaphore *release;
    explicit BlockingNotices(QSemaphore *r)
        : release(r)
    {
    }
    void runLoaders() override { release->acquire(); }
    void afterStartupLoad() override { }
};

// Answers the login window once it is open: types the credentials and presses "Giriş".
void answerLogin(QObject *context, const QString &adi, const QString &sifre, bool cancel = false)
{
    QTimer::singleShot(50, context, [=] {
        auto *login = qobject_cast<Tgirisform *>(QApplication::activeModalWidget());
        if (!login) {
            answerLogin(context, adi, sifre, cancel);
            return;
        }
        if (cancel) {
            login->close();
            return;
        }
        login->adi()->setText(adi);
        login->sifre()->setText(sifre);
        login->giris()->click();
    });
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

    ReferenceServer m_server;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(ReferenceServer::program()), "morvex-server is built with the tests");
        QVERIFY(m_server.create());
        QVERIFY(m_server.bind(u"KIMLIK-BOLGE"_s, u"BOLGE"_s));
        QVERIFY(m_server.bind(u"KIMLIK-PERSONEL1"_s, u"PERSONEL1"_s));
        QVERIFY(m_server.start());
    }

    void layout()
    {
        TestEnvironment t;
        TForm1 w(t.make());
        QCOMPARE(w.windowTitle(), u"ORVEX Otomotiv Online Sipari\u015f Program\u0131 (Zerdal)"_s);
        QCOMPARE(MessageTexts::applicationTitle(),
            u"ORVEX Otomotiv Online Sipari\u015f Program\u0131  (Zerdal)"_s);
        QCOMPARE(w.font().pixelSize(), 13);
        QVERIFY(w.font().bold());

        const QStringList captions { u"Stok\r\nListesi"_s, u"Sepet"_s, u"Sipari\u015f\r\nDurumlar\u0131"_s,
            u"Cari Ekstre"_s, u"Yeni\r\nStoklar"_s, u"Kampanyal\u0131"_s, u"Duyurular"_s, u"Bakiyeler"_s,
            u"Orjinal\r\nFiyatlar"_s, u"Dosyalar"_s, u"Sanal Pos"_s };
        QCOMPARE(w.tabs()->count(), 11);
        for (int i = 0; i < 11; ++i) {
            QCOMPARE(w.tabs()->tabText(i), captions[i]);
            QCOMPARE(w.tabs()->button(i)->size(), QSize(110, 55));
            QVERIFY(!w.tabs()->button(i)->icon().isNull());
            QCOMPARE(static_cast<int>(w.tab(static_cast<MainTab>(i))->id()), i);
        }
        QCOMPARE(w.tabs()->button(0)->text(), u"Stok\nListesi"_s);
        QCOMPARE(w.currentTab(), MainTab::StokListesi);

        QCOMPARE(w.banner()->size(), QSize(405, 70));
        QVERIFY(!w.baskaCariSec()->isVisibleTo(&w));
        QCOMPARE(w.baskaCariSec()->text(), u"Ba\u015fka Cari Se\u00e7"_s);
        QCOMPARE(w.araButton()->toolTip(), u"Ara"_s);
        QCOMPARE(w.temizleButton()->toolTip(), u"Temizle"_s);
        QCOMPARE(w.kurlar()->text(), u"Kurlar"_s);
        QCOMPARE(w.searchBox()->font().pixelSize(), 20);
        for (int slot = 0; slot < kBusySlotCount; ++slot)
            QVERIFY(!w.busyIndicator(static_cast<BusySlot>(slot))->isVisibleTo(&w));
        QCOMPARE(w.upperTicker()->height(), 72);
        QCOMPARE(w.lowerTicker()->height(), 51);

        // The legend, in its order.
        auto *legend = w.findChild<StatusLegend *>();
        QVERIFY(legend);
        QStringList legendTexts;
        for (QLabel *label : legend->findChildren<QLabel *>())
            if (!label->text().isEmpty())
                legendTexts.append(label->text());
        QCOMPARE(legendTexts,
            (QStringList { u"Durum A\u00e7\u0131klamas\u0131:    "_s, u" Stok mevcut  "_s,
                u" Telefon A\u00e7\u0131n\u0131z  "_s, u" Yolda  "_s, u" Tedarik S\u00fcrecinde "_s,
                u" \u00d6zel Sipari\u015f  "_s, u" Yok  "_s }));

        // The general menu, with separators between the entries.
        QStringList entries;
        for (QAction *a : w.generalMenu()->actions())
            entries.append(a->isSeparator() ? u"-"_s : a->text());
        QCOMPARE(entries,
            (QStringList { u"Mail G\u00f6nder"_s, u"-"_s,
                u"\u015eifre De\u011fi\u015ftirme \u0130ste\u011fi"_s, u"-"_s, u"www.orvex.com.tr"_s, u"-"_s,
                u"\u00c7\u0131k\u0131\u015f"_s }));
        QCOMPARE(w.menuButton()->menu(), w.generalMenu());
    }

    void badgesAndTabSwitching()
    {
        TestEnvironment t;
        TForm1 w(t.make());
        w.setTabBadge(MainTab::Sepet, 7);
        QCOMPARE(w.tabBadge(MainTab::Sepet), 7);
        QCOMPARE(w.tabs()->button(index(MainTab::Sepet))->badge(), 7);
        w.showTab(MainTab::Duyurular);
        QCOMPARE(w.currentTab(), MainTab::Duyurular);
        QTest::mouseClick(w.tabs()->button(index(MainTab::Dosyalar)), Qt::LeftButton);
        QCOMPARE(w.currentTab(), MainTab::Dosyalar);
        w.setTabCaption(MainTab::StokListesi, u"Stok Listesi"_s);
        QCOMPARE(w.tabCaption(MainTab::StokListesi), u"Stok Listesi"_s);
    }

    void themeByDate_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("winter");
        QTest::newRow("25 December") << QDate(2026, 12, 25) << false;
        QTest::newRow("26 December") << QDate(2026, 12, 26) << true;
        QTest::newRow("31 December") << QDate(2026, 12, 31) << true;
        QTest::newRow("1 January") << QDate(2027, 1, 1) << true;
        QTest::newRow("5 January") << QDate(2027, 1, 5) << true;
        QTest::newRow("6 January") << QDate(2027, 1, 6) << false;
        QTest::newRow("26 June") << QDate(2027, 6, 26) << false;
    }
    void themeByDate()
    {
        QFETCH(QDate, day);
        QFETCH(bool, winter);
        TestEnvironment t;
        TForm1 w(t.make(u"127.0.0.1"_s, u"9"_s, day));
        QCOMPARE(w.theme(), winter ? Theme::Winter : Theme::Standard);
        QCOMPARE(themeName(w.theme()), winter ? u"Winter2011 (internal)"_s : u"Office2010 Blue (internal)"_s);
        QCOMPARE(w.styleSheet(), themeStyleSheet(w.theme()));
        QVERIFY(themeStyleSheet(Theme::Winter) != themeStyleSheet(Theme::Standard));
    }

    // Each rule on its own: staff (types 1, 2 or "BDM" in the code), type 3, type 4.
    void roleAdjustment_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("staff");
        QTest::addColumn<bool>("basketStatusHidden");
        QTest::addColumn<bool>("campaignHidden");
        QTest::newRow("dealer") << 0 << u"120.001"_s << false << false << false;
        QTest::newRow("type 1") << 1 << u"100.001"_s << true << false << false;
        QTest::newRow("type 2 without BDM") << 2 << u"100.002"_s << true << false << false;
        QTest::newRow("type 5, BDM in the middle") << 5 << u"12BDM34"_s << true << false << false;
        QTest::newRow("type 5, bdm in lower case") << 5 << u"12bdm34"_s << false << false << false;
        QTest::newRow("type 3 with BDM") << 3 << u"120.BDM.001"_s << true << true << false;
        QTest::newRow("type 3 dealer") << 3 << u"120.004"_s << false << true << false;
        QTest::newRow("type 4") << 4 << u"120.005"_s << false << false << true;
        QTest::newRow("type 4 with BDM") << 4 << u"BDM"_s << true << false << true;
    }
    void roleAdjustment()
    {
        QFETCH(int, type);
        QFETCH(QString, code);
        QFETCH(bool, staff);
        QFETCH(bool, basketStatusHidden);
        QFETCH(bool, campaignHidden);
        TestEnvironment t;
        TForm1 w(t.make());
        w.show();
        w.showTab(MainTab::Kampanyali);
        w.session().setMusteriTipi(type);
        w.session().setcarikod(code);
        w.adjustToRole();

        const UserRole expected { staff, basketStatusHidden, campaignHidden };
        QCOMPARE(w.role(), expected);
        QCOMPARE(w.baskaCariSec()->isVisible(), staff);
        QCOMPARE(w.tabs()->isTabVisible(index(MainTab::Kampanyali)), !campaignHidden);
        QCOMPARE(w.tabs()->button(index(MainTab::Kampanyali))->isVisible(), !campaignHidden);
        if (campaignHidden) {
            QVERIFY(w.currentTab() != MainTab::Kampanyali);
            w.showTab(MainTab::Kampanyali);
            QVERIFY(w.currentTab() != MainTab::Kampanyali);
        }
        // Every tab hears the role (the basket and product tabs switch their columns by it).
        for (MainTab tab : { MainTab::Sepet, MainTab::YeniStoklar, MainTab::Kampanyali }) {
            auto *page = qobject_cast<PlaceholderTab *>(w.tab(tab));
            if (page) {
                QVERIFY(page->appliedRole());
                QCOMPARE(*page->appliedRole(), expected);
            }
        }
        // The stock list's staff columns.
        DataGrid *grid = w.stockTab()->grid();
        QCOMPARE(grid->isColumnShown(grid->columnOf(u"KALAN")), staff);
        QCOMPARE(grid->isColumnShown(grid->columnOf(u"MALIYET")), staff);
        QCOMPARE(grid->isColumnShown(grid->columnOf(u"K")), !campaignHidden);
    }

    // "Hayır" leaves everything usable; "Evet" ends the process at once, also while a load runs.
    void closeQuestion()
    {
        TestEnvironment t;
        QSemaphore release;
        ShellEnvironment env = t.make();
        env.windows.startupNotices
            = [&release](TForm1 &) { return std::make_unique<BlockingNotices>(&release); };
        TForm1 w(env);
        w.show();
        w.startStartupLoad();
        QVERIFY(w.startupLoad()->isRunning());

        t.boxes.answers = { ModalResult::No };
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QVERIFY(t.exits.codes.isEmpty());
        QCOMPARE(t.boxes.shown.size(), 1);
        QCOMPARE(t.boxes.shown[0].text, u"Programdan \u00c7\u0131kmak \u0130stiyor musunuz ?"_s);
        QCOMPARE(t.boxes.shown[0].kind, MessageKind::Question);
        QCOMPARE(t.boxes.shown[0].buttons, MessageButton::Yes | MessageButton::No);
        QCOMPARE(t.boxes.shown[0].defaultButton, MessageButton::Yes);
        QTest::mouseClick(w.tabs()->button(index(MainTab::Sepet)), Qt::LeftButton);
        QCOMPARE(w.currentTab(), MainTab::Sepet);

        // Escape or the box's close button: not yes, so the same as "Hayır".
        t.boxes.answers = { ModalResult::Cancel };
        QVERIFY(!w.close());
        QVERIFY(t.exits.codes.isEmpty());

        t.boxes.answers = { ModalResult::Yes };
        QVERIFY(w.startupLoad()->isRunning());
        QVERIFY(w.confirmClose());
        QCOMPARE(t.exits.codes, QList<int> { 0 });
        QVERIFY(w.startupLoad()->isRunning()); // nothing was waited for
        release.release();
    }

    void quitEntryAsksTheQuestion()
    {
        TestEnvironment t;
        TForm1 w(t.make());
        w.show();
        t.boxes.answers = { ModalResult::No };
        w.generalMenu()->actions().last()->trigger();
        QCOMPARE(t.boxes.texts(), QStringList { u"Programdan \u00c7\u0131kmak \u0130stiyor musunuz ?"_s });
        QVERIFY(w.isVisible());
    }

    // Windows of other parts: while missing, an error names them and nothing else happens.
    void missingWindowsAreNamed()
    {
        TestEnvironment t;
        TForm1 w(t.make());
        QVERIFY(!w.openProgramUpdate(&w, 16));
        QVERIFY(!w.openNewAccountRequest(&w));
        QVERIFY(!w.selectCustomerAfterLogin(&w).has_value());
        w.generalMenu()->actions().at(0)->trigger();
        w.generalMenu()->actions().at(2)->trigger();
        const QStringList texts = t.boxes.texts();
        QCOMPARE(texts.size(), 5);
        QVERIFY(texts[0].contains(u"Tdosyaindir"_s));
        QVERIFY(texts[1].contains(u"Tkullanicikayit"_s));
        QVERIFY(texts[2].contains(u"Tseccari"_s));
        QVERIFY(texts[3].contains(u"Tmailform"_s));
        QVERIFY(texts[4].contains(u"Tkullanicikayit"_s));
        for (const auto &shown : t.boxes.shown)
            QCOMPARE(shown.kind, MessageKind::Error);
        QVERIFY(t.exits.codes.isEmpty());
    }

    void webSiteEntryOpensTheSiteAndFocusesTheSearchBox()
    {
        TestEnvironment t;
        ShellEnvironment env = t.make();
        QList<QUrl> opened;
        env.openUrl = [&](const QUrl &url) { opened.append(url); };
        env.webSiteHost = u"www.ornek.com.tr"_s;
        env.webSiteUrl = QUrl(u"http://www.ornek.com.tr/"_s);
        TForm1 w(env);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.searchBox()->setText(u"FILTRE"_s);
        QAction *site = w.generalMenu()->actions().at(4);
        QCOMPARE(site->text(), u"www.ornek.com.tr"_s);
        site->trigger();
        QCOMPARE(opened, QList<QUrl> { QUrl(u"http://www.ornek.com.tr/"_s) });
        QCOMPARE(QApplication::focusWidget(), w.searchBox());
        QCOMPARE(w.searchBox()->selectedText(), u"FILTRE"_s);
    }

    // "Ara" and "Temizle" act only while the search box is enabled (no search running).
    void searchButtonsOnlyWhileTheBoxIsEnabled()
    {
        TestEnvironment t;
        TForm1 w(t.make());
        w.show();
        w.searchBox()->setText(u"AB"_s); // too short: the stock search warns
        w.searchBox()->setEnabled(false);
        QTest::mouseClick(w.araButton(), Qt::LeftButton);
        QTest::mouseClick(w.temizleButton(), Qt::LeftButton);
        QVERIFY(t.boxes.shown.isEmpty());
        QCOMPARE(w.searchBox()->text(), u"AB"_s);
        w.searchBox()->setEnabled(true);
        QTest::mouseClick(w.araButton(), Qt::LeftButton);
        QCOMPARE(t.boxes.shown.size(), 1);
    }

    // The start-up against the reference server: login, role, seller labels.
    void startUpAsDealer()
    {
        TestEnvironment t;
        t.identity = ReferenceServer::machineIdentity();
        TForm1 w(t.make(u"127.0.0.1"_s, m_server.port()));
        answerLogin(this, u"BAYI0"_s, u"1234"_s);
        QVERIFY(w.startUp());
        QVERIFY(t.exits.codes.isEmpty());
        QCOMPARE(w.session().ADI(), u"BAYI0"_s);
        QCOMPARE(w.mainConnection().hostName(), u"127.0.0.1"_s);
        QCOMPARE(w.mainConnection().port(), m_server.port());
        QCOMPARE(w.userValue()->text(), u"BAYI0"_s);
        QCOMPARE(w.companyValue()->text(), w.session().CariAdi());
        QVERIFY(!w.session().CariAdi().isEmpty());
        QCOMPARE(w.representativeValue()->text(),
            w.session().SaticiAdi() + u" Telefonu: "_s + w.session().SaticiTelefon() + u" email: "_s
                + w.session().SaticiMail());
        QVERIFY(!w.baskaCariSec()->isVisibleTo(&w));
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.currentTab(), MainTab::StokListesi);
        QCOMPARE(QApplication::focusWidget(), w.searchBox());
        QTRY_VERIFY(!w.startupLoad()->isRunning());
        QVERIFY(t.boxes.shown.isEmpty());
    }

    void startUpAsStaffWithCustomerChoice()
    {
        TestEnvironment t;
        t.identity = u"KIMLIK-PERSONEL1"_s;
        ShellEnvironment env = t.make(u"127.0.0.1"_s, m_server.port());
        int selections = 0;
        env.windows.customerSelection
            = [&](QWidget *, DataSnapConnection &, TSonucBilgisi &session, bool afterLogin) {
                  ++selections;
                  if (afterLogin) {
                      session.setCARINO(512);
                      session.setCariAdi(u"SE\u00c7\u0130LEN CAR\u0130"_s);
                  } else {
                      session.setCariAdi(u"BA\u015eKA CAR\u0130"_s);
                  }
                  return true;
              };
        TForm1 w(env);
        answerLogin(this, u"PERSONEL1"_s, u"1234"_s);
        QVERIFY(w.startUp());
        QCOMPARE(selections, 1);
        QCOMPARE(w.session().CARINO(), 512);
        QCOMPARE(w.companyValue()->text(), u"SE\u00c7\u0130LEN CAR\u0130"_s);
        QVERIFY(w.baskaCariSec()->isVisibleTo(&w));

        // "Başka Cari Seç": the labels follow the session and the stock tab comes to the front.
        w.show();
        w.showTab(MainTab::Sepet);
        w.setTabBadge(MainTab::StokListesi, 5);
        QTest::mouseClick(w.baskaCariSec(), Qt::LeftButton);
        QCOMPARE(selections, 2);
        QCOMPARE(w.companyValue()->text(), u"BA\u015eKA CAR\u0130"_s);
        QCOMPARE(w.currentTab(), MainTab::StokListesi);
        QCOMPARE(w.tabBadge(MainTab::StokListesi), 0);
    }

    void loginClosedEndsTheProcess()
    {
        TestEnvironment t;
        TForm1 w(t.make(u"127.0.0.1"_s, m_server.port()));
        answerLogin(this, {}, {}, true);
        QVERIFY(!w.startUp());
        QCOMPARE(t.exits.codes, QList<int> { 0 });
    }
};

QTEST_MAIN(MainWindowTest)
#include "shell_main_window_test.moc"
