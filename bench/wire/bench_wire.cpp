// bench_wire [rows=100000] [runs=7]
// Moves a stock-list shaped table from DataSnapServer over loopback into a RecordSet with the
// client (prepare once, execute per run: every batch pulled with next), and in the same run
// pushes the same number of bytes through a bare loopback socket: the floor. Prints medians,
// their ratio and the server's batch size, also as "sample <key> <value> <unit>" lines.

#include "StockTable.h"

#include "core/data/RecordSet.h"
#include "core/wire/DataSnapConnection.h"
#include "core/wire/DataSnapServer.h"
#include "core/wire/ServerMethodCommand.h"
#include "core/wire/ServerMethodRegistry.h"
#include "core/wire/TableCodec.h"
#include "core/wire/WireChoices.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <sys/resource.h>
#include <cstdio>
#include <future>
#include <thread>

using namespace Qt::StringLiterals;
using namespace morvex;

namespace {

class StockRegistry : public ServerMethodRegistry
{
public:
    explicit StockRegistry(std::shared_ptr<RecordSet> table)
        : m_table(std::move(table))
    {
        m_signature = {u"TServerMethods1.StokAraOrvex"_s,
                       {{u"kod"_s, DataType::WideString, 0, Direction::In},
                        {kReturnParameterName, DataType::Table, 0, Direction::Return}}};
    }
    const MethodSignature *find(QStringView name) const override
    {
        return name.compare(m_signature.name, Qt::CaseInsensitive) == 0 ? &m_signature : nullptr;
    }
    void invoke(const MethodSignature &, std::vector<WireValue> &params) const override
    {
        params[1] = WireValue::table(m_table);
    }

private:
    std::shared_ptr<RecordSet> m_table;
    MethodSignature m_signature;
};

// CPU time of the whole process (every thread) in ms: steadier than the clock on a busy machine.
double processCpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The same bytes through a bare socket: the peer writes `total` bytes in batch-sized pieces as
// soon as it gets a one-byte request; the clock runs from the request to the last byte read.
double loopbackFloorMs(qint64 total, int piece, double &cpuMs)
{
    std::promise<quint16> listening;
    auto port = listening.get_future();
    std::thread peer([&] {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        listening.set_value(server.serverPort());
        server.waitForNewConnection(10'000);
        std::unique_ptr<QTcpSocket> s(server.nextPendingConnection());
        s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        while (s->bytesAvailable() == 0)
            s->waitForReadyRead(10'000);
        s->readAll();
        const QByteArray chunk(piece, 'x');
        for (qint64 sent = 0; sent < total;) {
            const qint64 n = std::min<qint64>(piece, total - sent);
            s->write(chunk.constData(), n);
            sent += n;
            if (s->bytesToWrite() > 4 * piece)
                s->waitForBytesWritten(10'000);
        }
        while (s->bytesToWrite() > 0)
            s->waitForBytesWritten(10'000);
        s->waitForReadyRead(10'000); // until the reader closes
    });
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port.get());
    client.waitForConnected(10'000);
    client.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    QElapsedTimer timer;
    timer.start();
    const double cpu0 = processCpuMs();
    client.write("x", 1);
    client.waitForBytesWritten(10'000);
    qint64 got = 0;
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    while (got < total) {
        if (client.bytesAvailable() == 0)
            client.waitForReadyRead(10'000);
        got += client.read(buffer.data(), buffer.size());
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    cpuMs = processCpuMs() - cpu0;
    client.close();
    peer.join();
    return ms;
}

void sample(const char *key, double value, const char *unit)
{
    std::printf("sample %s %.3f %s\n", key, value, unit);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100'000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;

    auto table = test::makeStockTable(rows);
    DataSnapServerOptions options;
    const int threshold = options.effectiveBatchThreshold();

    // What the table weighs on the wire, and the codec alone on each side.
    qint64 payload = 0;
    int batches = 0;
    std::vector<QByteArray> encoded;
    std::vector<double> encodeMs, decodeMs;
    for (int run = 0; run < runs; ++run) {
        double cpu = processCpuMs();
        wire::TableEncoder encoder(*table, threshold, [&](qsizetype offset) { return options.inlineCapacity(offset); });
        std::vector<wire::TableEncoder::PendingCell> pending;
        encoded.clear();
        while (!encoder.atEnd())
            encoded.push_back(encoder.nextBatch(pending));
        encodeMs.push_back(processCpuMs() - cpu);
        cpu = processCpuMs();
        RecordSet set;
        wire::TableDecoder decoder(encoder.columns(), set);
        for (const QByteArray &b : encoded)
            decoder.decodeBatch(b.constData(), b.size(), {});
        decodeMs.push_back(processCpuMs() - cpu);
    }
    for (const QByteArray &b : encoded)
        payload += b.size();
    batches = int(encoded.size());

    StockRegistry registry(table);
    DataSnapServer server(registry, options);
    if (!server.listen(QHostAddress::LocalHost, 0)) {
        std::fprintf(stderr, "listen: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    DataSnapConnection connection;
    connection.setHostName(u"127.0.0.1"_s);
    connection.setPort(QString::number(server.serverPort()));
    connection.open();
    ServerMethodCommand command(connection, u"TServerMethods1.StokAraOrvex"_s);
    command.prepare();

    std::vector<double> wireMs, floorMs, wireCpu, floorCpu;
    std::size_t storage = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        const double cpu0 = processCpuMs();
        command.execute({WireValue::text(u"FREN"_s)});
        const auto &set = command.value(1).toTable();
        wireMs.push_back(double(t.nsecsElapsed()) / 1e6);
        wireCpu.push_back(processCpuMs() - cpu0);
        if (set->rowCount() != rows || set->fieldCount() != 32) {
            std::fprintf(stderr, "wrong table: %d rows\n", set->rowCount());
            return 1;
        }
        storage = set->storageBytes();
        double cpu = 0;
        floorMs.push_back(loopbackFloorMs(payload, threshold, cpu));
        floorCpu.push_back(cpu);
    }
    connection.close();

    const double wire = median(wireMs), floor = median(floorMs);
    std::printf("table: %d rows x 32 columns, %lld payload bytes in %d batches of ~%d bytes (batch threshold)\n",
                rows, static_cast<long long>(payload), batches, threshold);
    std::printf("wire transfer into a RecordSet: %.1f ms (median of %d)\n", wire, runs);
    std::printf("raw loopback floor, same bytes: %.1f ms\n", floor);
    std::printf("ratio wire / floor: %.1f\n", wire / floor);
    std::printf("process CPU time (all threads): wire %.1f ms, floor %.1f ms, ratio %.1f\n", median(wireCpu),
                median(floorCpu), median(wireCpu) / median(floorCpu));
    std::printf("codec alone (CPU): server encode %.1f ms, client decode into RecordSet %.1f ms\n", median(encodeMs),
                median(decodeMs));
    std::printf("record set storage: %.1f MB for %.1f MB on the wire\n", double(storage) / 1e6, double(payload) / 1e6);
    sample("wire.table_ms", wire, "ms");
    sample("wire.floor_ms", floor, "ms");
    sample("wire.ratio", wire / floor, "x");
    sample("wire.table_cpu_ms", median(wireCpu), "ms");
    sample("wire.floor_cpu_ms", median(floorCpu), "ms");
    sample("wire.batch_threshold", threshold, "bytes");
    sample("wire.payload_bytes", double(payload), "bytes");
    sample("wire.encode_ms", median(encodeMs), "ms");
    sample("wire.decode_ms", median(decodeMs), "ms");
    return 0;
}
