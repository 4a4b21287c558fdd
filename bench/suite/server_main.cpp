// morvex-server's own pieces (its storage pool over the demo database, TServerMethods1 and the
// DataSnap server), with one addition: StokAraOrvex for "HEPSI" answers with every stock item of
// the database priced for the dealer, as the server's stock query prices them. The server's own
// search stops at 5,000 rows; the 100,000-row figures need the whole table in one answer.
//
//   bench_suite_server --db FILE --port N --identity ID [--big-buffer-port M [--big-buffer-kib K]]
//
// The table is built once at start, one stock query per item; a call then costs what serving it
// costs: encoding and sending. Runs until SIGTERM or SIGINT.

#include "SampleLog.h"

#include "core/remote/ServerMethodsDispatcher.h"
#include "core/wire/DataSnapServer.h"
#include "core/wire/ServerMethodRegistry.h"
#include "server/methods/ServerMethods.h"
#include "server/storage/SqliteStorage.h"
#include "server/storage/StoragePool.h"

#include <QCoreApplication>
#include <QHostAddress>

#include <csignal>
#include <cstdio>
#include <pthread.h>

using namespace morvex;
using namespace morvex::bench;
using namespace Qt::StringLiterals;

namespace {

const QString kEverything = u"HEPSI"_s;

void copyRow(const RecordSet &from, int row, RecordSet &to)
{
    const int target = to.appendRow();
    for (int c = 0; c < from.fieldCount(); ++c) {
        if (from.isNull(row, c))
            continue;
        switch (from.field(c).type) {
        case FieldType::Text:
            to.setText(target, c, from.text(row, c));
            break;
        case FieldType::Int32:
            to.setInt32(target, c, from.int32(row, c));
            break;
        case FieldType::Int64:
            to.setInt64(target, c, from.int64(row, c));
            break;
        case FieldType::Double:
            to.setReal(target, c, from.real(row, c));
            break;
        case FieldType::DateTime:
            to.setDateTime(target, c, from.dateTime(row, c));
            break;
        case FieldType::Boolean:
            to.setBoolean(target, c, from.boolean(row, c));
            break;
        case FieldType::Bytes:
            to.setBytes(target, c, from.bytes(row, c));
            break;
        }
    }
}

std::shared_ptr<RecordSet> everyStockItem(const QString &db, int carino)
{
    server::SqliteStorage storage(db);
    auto all = std::make_shared<RecordSet>(storage.stockByNumber(1, carino));
    for (int stokno = 2;; ++stokno) {
        const RecordSet one = storage.stockByNumber(stokno, carino);
        if (one.rowCount() == 0)
            break;
        for (int r = 0; r < one.rowCount(); ++r)
            copyRow(one, r, *all);
    }
    all->squeeze();
    return all;
}

class EveryItemSearch : public ServerMethodRegistry
{
public:
    EveryItemSearch(const ServerMethodRegistry &methods, std::shared_ptr<RecordSet> all)
        : m_methods(methods)
        , m_all(std::move(all))
    {
    }
    const MethodSignature *find(QStringView classDotMethod) const override
    {
        return m_methods.find(classDotMethod);
    }
    void invoke(const MethodSignature &method, std::vector<WireValue> &params) const override
    {
        if (method.name.compare(u"TServerMethods1.StokAraOrvex"_s, Qt::CaseInsensitive) == 0
            && params.at(0).toText() == kEverything) {
            params.at(2) = WireValue::table(m_all);
            return;
        }
        m_methods.invoke(method, params);
    }

private:
    const ServerMethodRegistry &m_methods;
    std::shared_ptr<RecordSet> m_all;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    try {
        const Options options(argc, argv);
        const QString db = QString::fromStdString(options.text("db"));
        const QString identity = QString::fromStdString(options.text("identity"));
        sigset_t stopSignals;
        sigemptyset(&stopSignals);
        sigaddset(&stopSignals, SIGINT);
        sigaddset(&stopSignals, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

        int carino = 0;
        {
            server::SqliteStorage storage(db);
            const auto user = storage.userForIdentity(identity);
            if (!user)
                throw std::runtime_error("no user is registered to " + identity.toStdString());
            carino = user->carino;
        }
        const auto start = Clock::now();
        std::shared_ptr<RecordSet> all = everyStockItem(db, carino);
        std::fprintf(stderr, "bench_suite_server: %d stock items priced for account %d in %.0f ms\n",
            all->rowCount(), carino, millisecondsSince(start));

        server::StoragePool pool(std::make_unique<server::SqliteStorageProvider>(db));
        ServerMethodsDispatcher methods([&pool]() -> std::unique_ptr<TServerMethods1> {
            return std::make_unique<server::ServerMethods>(pool);
        });
        EveryItemSearch registry(methods, all);
        DataSnapServer server(registry);
        if (!server.listen(QHostAddress::LocalHost, quint16(options.number("port", 0))))
            throw std::runtime_error("cannot listen: " + server.errorString().toStdString());
        std::printf("listening on %u\n", unsigned(server.serverPort()));
        // The same methods with a larger write buffer (DataSnap's BufferKBSize), so that the
        // cost of the batch size shows beside the default.
        std::unique_ptr<DataSnapServer> bigBuffer;
        if (options.has("big-buffer-port")) {
            DataSnapServerOptions big;
            big.bufferBytes = int(options.number("big-buffer-kib", 256)) * 1024;
            bigBuffer = std::make_unique<DataSnapServer>(registry, big);
            if (!bigBuffer->listen(QHostAddress::LocalHost, quint16(options.number("big-buffer-port", 0))))
                throw std::runtime_error("cannot listen: " + bigBuffer->errorString().toStdString());
            std::printf("listening with a %d KiB buffer on %u\n", big.bufferBytes / 1024,
                unsigned(bigBuffer->serverPort()));
        }
        std::fflush(stdout);
        int received = 0;
        sigwait(&stopSignals, &received);
        if (bigBuffer)
            bigBuffer->stop();
        server.stop();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_suite_server: %s\n", e.what());
        return 1;
    }
    return 0;
}
