// The client's memory for a 100,000-row stock search: the real main window with its stock tab,
// against a running server. The dealer's session is fetched as the login fetches it; a one-row
// search warms the tab up; then the peak resident size is reset and the search box gets the text
// and Enter. Prints the growth of the peak over the resident size before the search.
//
//   bench_suite_client_search --port N --identity ID --search TEXT   (one measurement per process)

#include "SampleLog.h"

#include "core/remote/TServerMethods1Client.h"
#include "core/wire/DataSnapConnection.h"
#include "gui/catalogue/StockTab.h"
#include "gui/common/ScriptedMessageBoxes.h"
#include "gui/shell/TForm1.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <fstream>

using namespace morvex;
using namespace morvex::bench;
using namespace Qt::StringLiterals;

namespace {

bool search(TForm1 &window, StockTab &tab, const QString &text)
{
    QEventLoop loop;
    bool succeeded = false;
    QObject::connect(&tab, &StockTab::searchFinished, &loop, [&](bool ok) {
        succeeded = ok;
        // The repaint the attach scheduled belongs to the search.
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
    });
    QTimer::singleShot(0, &loop, [&] {
        window.searchBox()->setText(text);
        QTest::keyClick(window.searchBox(), Qt::Key_Return);
    });
    QTimer::singleShot(300000, &loop, &QEventLoop::quit);
    loop.exec();
    return succeeded;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        const Options options(argc, argv);
        const QString port = QString::number(options.number("port", 9090));
        const QString identity = QString::fromStdString(options.text("identity"));
        std::unique_ptr<TSonucBilgisi> session;
        {
            DataSnapConnection c;
            c.setHostName(u"127.0.0.1"_s);
            c.setPort(port);
            c.open();
            TServerMethods1Client proxy(c);
            session = proxy.BuyukGetir(identity);
        }
        if (!session || session->CARINO() == 0)
            throw std::runtime_error("no account is registered to " + identity.toStdString());

        QTemporaryDir dir;
        ScriptedMessageBoxes boxes;
        ShellEnvironment env;
        env.messages = &boxes;
        env.exitProcess = [](int) {};
        env.openUrl = [](const QUrl &) {};
        env.settingsPath = dir.filePath(u"ayar.ini"_s);
        TForm1 window(std::move(env));
        window.mainConnection().setHostName(u"127.0.0.1"_s);
        window.mainConnection().setPort(port);
        window.session().Kopyala(*session);
        window.adjustToRole();
        window.resize(1366, 768);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            throw std::runtime_error("the main window was not shown");
        StockTab &tab = *window.stockTab();
        if (!search(window, tab, u"ORV-100001"_s))
            throw std::runtime_error("the warm-up search failed");

        const long long before = residentKiB();
        std::ofstream("/proc/self/clear_refs") << "5\n"; // resets VmHWM to the current size
        if (!search(window, tab, QString::fromStdString(options.text("search", "ORV")))
            || !boxes.shown.isEmpty())
            throw std::runtime_error("the 100,000-row search failed");
        const long long peak = peakResidentKiB();
        sample("f4.search.memory", double(peak - before) / 1024.0, "MiB");
        sample("f4.search.store", double(tab.stok().storageBytes()) / (1024.0 * 1024.0), "MiB");
        info("f4.search",
            "client search: " + std::to_string(tab.stok().rowCount()) + " rows in the stock tab; "
                + "resident " + std::to_string(before / 1024) + " MiB before, peak "
                + std::to_string(peak / 1024) + " MiB during");
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_suite_client_search: %s\n", e.what());
        return 1;
    }
    return 0;
}
