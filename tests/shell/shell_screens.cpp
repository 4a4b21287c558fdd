// Renders the login window and the main window (as a dealer, as staff and in the winter theme)
// against the reference server to PNG files, for a look at what a dealer sees.
//   shell-screens <output folder>
#include "ShellTestSupport.h"

#include "core/records/TSonucBilgisi.h"
#include "gui/catalogue/StockTab.h"
#include "gui/shell/TForm1.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace morvex;
using namespace morvex::test;

namespace {

bool save(QWidget *w, const QString &path)
{
    QApplication::processEvents();
    const bool ok = w->grab().save(path);
    QTextStream(stdout) << (ok ? "wrote " : "could not write ") << path << Qt::endl;
    return ok;
}

// Logs in through the real login window, then shows the main window at a laptop's size.
bool mainWindowScreen(ReferenceServer &server, const QString &identity, const QString &user, QDate day,
    const QString &search, const QString &path)
{
    TestEnvironment t;
    t.identity = identity;
    TForm1 w(t.make(u"127.0.0.1"_s, server.port(), day));
    QTimer::singleShot(100, &w, [&] {
        auto *login = qobject_cast<Tgirisform *>(QApplication::activeModalWidget());
        if (!login)
            return;
        login->adi()->setText(user);
        login->sifre()->setText(u"1234"_s);
        login->giris()->click();
    });
    if (!w.startUp())
        return false;
    w.resize(1366, 768);
    w.show();
    w.setTabBadge(MainTab::Sepet, 3);
    w.setTabBadge(MainTab::Duyurular, 2);
    if (!search.isEmpty()) {
        QSignalSpy done(w.stockTab(), &StockTab::searchFinished);
        w.stockTab()->searchFor(search);
        done.wait(20000);
    }
    QTest::qWait(200);
    return save(&w, path);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // As on a dealer's computer: Turkish separators in amounts.
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"."_s;
    QDir().mkpath(out);

    ReferenceServer server;
    if (!server.create() || !server.bind(u"KIMLIK-BOLGE"_s, u"BOLGE"_s) || !server.start())
        return 1;

    bool ok = true;
    {
        TestEnvironment t;
        DataSnapConnection bagc;
        TSonucBilgisi bilgi;
        TForm1 host(t.make());
        Tgirisform login(bagc, bilgi, host, t.make());
        login.show();
        login.adi()->setText(u"BAYI0"_s);
        login.sifre()->setText(u"1234"_s);
        ok &= save(&login, out + u"/login.png"_s);
    }
    ok &= mainWindowScreen(server, ReferenceServer::machineIdentity(), u"BAYI0"_s, QDate(2026, 6, 15),
        u"FREN"_s, out + u"/main-dealer.png"_s);
    ok &= mainWindowScreen(
        server, u"KIMLIK-BOLGE"_s, u"BOLGE"_s, QDate(2026, 6, 15), u"FREN"_s, out + u"/main-staff.png"_s);
    ok &= mainWindowScreen(server, ReferenceServer::machineIdentity(), u"BAYI0"_s, QDate(2026, 12, 28),
        QString(), out + u"/main-winter.png"_s);
    return ok ? 0 : 1;
}
