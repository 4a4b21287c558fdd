#include "server/app/ServerCommand.h"

#include "server/demo/DemoDatabase.h"
#include "server/methods/MorvexServer.h"
#include "server/storage/SqliteStorage.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTextStream>

#include <csignal>
#include <pthread.h>

using namespace Qt::StringLiterals;

namespace morvex::server {

namespace {

constexpr quint16 kDefaultPort = 9090;

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

int fail(const QString &message)
{
    err() << "morvex-server: " << message << Qt::endl;
    return 2;
}

int initDemo(const QCommandLineParser &p)
{
    DemoOptions options;
    if (p.isSet(u"stock"_s)) {
        bool ok = false;
        options.stockCount = p.value(u"stock"_s).toInt(&ok);
        if (!ok)
            return fail(u"--stock bir sayı olmalıdır"_s);
    }
    options.registerIdentity = p.value(u"register-identity"_s);
    options.registerAs = p.value(u"as"_s);
    QElapsedTimer timer;
    timer.start();
    const DemoSummary s = createDemoDatabase(p.value(u"init-demo"_s), options);
    out() << "morvex-server: demo database " << p.value(u"init-demo"_s) << ": " << s.stockItems << " stock items, "
          << s.accounts << " accounts, " << s.users << " users, " << s.orders << " orders; " << timer.elapsed()
          << " ms, " << s.fileBytes << " bytes" << Qt::endl;
    return 0;
}

int serve(const QCommandLineParser &p)
{
    const QString listenText = p.isSet(u"listen"_s) ? p.value(u"listen"_s) : u"127.0.0.1"_s;
    QHostAddress address(listenText == u"localhost"_s ? u"127.0.0.1"_s : listenText);
    if (address.isNull())
        return fail(u"geçersiz dinleme adresi: "_s + listenText);
    if (!address.isLoopback() && !p.isSet(u"allow-remote"_s))
        return fail(u"%1 yerel (loopback) bir adres değil; dışarıya açmak için --allow-remote verin"_s.arg(listenText));
    bool ok = true;
    const uint port = p.isSet(u"port"_s) ? p.value(u"port"_s).toUInt(&ok) : kDefaultPort;
    if (!ok || port > 65535)
        return fail(u"geçersiz port: "_s + p.value(u"port"_s));

    // Block the stop signals before any serving thread starts, so that every thread inherits the
    // mask and only sigwait() below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    const QString db = p.isSet(u"db"_s) ? p.value(u"db"_s) : u"morvex.db"_s;
    int maxStockRows = SqliteStorage::kDefaultMaxStockRows;
    if (p.isSet(u"max-stock-rows"_s)) {
        maxStockRows = p.value(u"max-stock-rows"_s).toInt(&ok);
        if (!ok || maxStockRows < 0)
            return fail(u"geçersiz --max-stock-rows: "_s + p.value(u"max-stock-rows"_s));
    }
    MorvexServer server(std::make_unique<SqliteStorageProvider>(db, maxStockRows));
    if (!server.listen(address, quint16(port)))
        return fail(u"%1:%2 dinlenemiyor: %3"_s.arg(address.toString()).arg(port).arg(server.errorString()));
    out() << "morvex-server: listening on " << address.toString() << ':' << server.port() << " (database " << db << ')'
          << Qt::endl;
    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    out() << "morvex-server: stopped" << Qt::endl;
    return 0;
}

} // namespace

int runServerCommand(const QStringList &arguments)
{
    QCommandLineParser p;
    p.setApplicationDescription(u"morvex reference application server (DataSnap TCP/IP over SQLite)"_s);
    p.addHelpOption();
    p.addOptions({
        {u"db"_s, u"Database file (default morvex.db)."_s, u"FILE"_s},
        {u"listen"_s, u"Address to listen on (default 127.0.0.1)."_s, u"ADDR"_s},
        {u"port"_s, u"TCP port (default 9090; 0 = any free port)."_s, u"N"_s},
        {u"allow-remote"_s, u"Allow listening on an address other than loopback."_s},
        {u"max-stock-rows"_s, u"Most rows a stock search returns (default 5000; 0 = all)."_s, u"N"_s},
        {u"init-demo"_s, u"Create a demo database in FILE and exit."_s, u"FILE"_s},
        {u"stock"_s, u"Number of stock items of the demo database (default 3000)."_s, u"N"_s},
        {u"register-identity"_s, u"Bind this computer identity to the demo dealer (or --as USER)."_s, u"ID"_s},
        {u"bind-identity"_s, u"Bind a computer identity to --as USER in --db and exit."_s, u"ID"_s},
        {u"as"_s, u"User name for --register-identity / --bind-identity."_s, u"USER"_s},
    });
    if (!p.parse(arguments))
        return fail(p.errorText());
    if (p.isSet(u"help"_s)) {
        out() << p.helpText();
        return 0;
    }
    if (!p.positionalArguments().isEmpty())
        return fail(u"beklenmeyen argüman: "_s + p.positionalArguments().join(u' '));
    try {
        if (p.isSet(u"init-demo"_s))
            return initDemo(p);
        if (p.isSet(u"bind-identity"_s)) {
            if (!p.isSet(u"as"_s))
                return fail(u"--bind-identity için --as USER gerekir"_s);
            bindIdentity(p.isSet(u"db"_s) ? p.value(u"db"_s) : u"morvex.db"_s, p.value(u"bind-identity"_s), p.value(u"as"_s));
            out() << "morvex-server: " << p.value(u"bind-identity"_s) << " -> " << p.value(u"as"_s) << Qt::endl;
            return 0;
        }
        return serve(p);
    } catch (const std::exception &e) {
        return fail(QString::fromStdString(e.what()));
    }
}

} // namespace morvex::server
