// The dealer's calls through the client's remote layer (DataSnapConnection, the generated
// TServerMethods1Client, RecordSet) against a running morvex-server:
//   dump       --port P --identity ID --search S --copy-file F --schema-file S --bytes-file B
//              the stock search's rows in COPY format for PostgreSQL, and the bytes on the wire
//   table      --port P --identity ID --search S --runs R          (figure 1)
//   latency    --port P --runs R --calls K --new-calls K2          (figure 2)
//   throughput --port P --identity ID --clients 1,8,32 --seconds T --runs R --search S2  (figure 3)

#include "CopyFormat.h"
#include "Loopback.h"
#include "SampleLog.h"

#include "core/data/RecordSet.h"
#include "core/records/TSonucBilgisi.h"
#include "core/remote/TServerMethods1Client.h"
#include "core/wire/DataSnapConnection.h"

#include <QCoreApplication>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace morvex;
using namespace morvex::bench;

namespace {

std::unique_ptr<DataSnapConnection> openConnection(int port)
{
    DataSnapSettings settings;
    settings.hostName = QStringLiteral("127.0.0.1");
    settings.port = QString::number(port);
    auto connection = std::make_unique<DataSnapConnection>(std::move(settings));
    connection->open();
    return connection;
}

// The session record the server keeps for this computer's identity, as the login fetches it.
TSonucBilgisi login(DataSnapConnection &connection, const std::string &identity)
{
    TServerMethods1Client proxy(connection);
    std::unique_ptr<TSonucBilgisi> record = proxy.BuyukGetir(QString::fromStdString(identity));
    if (!record || record->CARINO() == 0)
        throw std::runtime_error("no account is registered to identity " + identity);
    return *record;
}

std::unique_ptr<TSonucBilgisi> copyOf(const TSonucBilgisi &session)
{
    auto copy = std::make_unique<TSonucBilgisi>();
    copy->Kopyala(session);
    return copy;
}

std::string pgType(FieldType type)
{
    switch (type) {
    case FieldType::Text:
        return "text";
    case FieldType::Int32:
        return "integer";
    case FieldType::Int64:
        return "bigint";
    case FieldType::Double:
        return "double precision";
    case FieldType::DateTime:
        return "timestamp";
    case FieldType::Boolean:
        return "boolean";
    case FieldType::Bytes:
        return "bytea";
    }
    return "text";
}

// Raw bytes of the values: texts as UTF-8, 32-bit integers 4, 64-bit 8, doubles 8, date-times
// 8, booleans 1, byte arrays their length, nulls 0.
std::size_t rawBytes(const RecordSet &set)
{
    std::size_t total = 0;
    for (int c = 0; c < set.fieldCount(); ++c) {
        const FieldType type = set.field(c).type;
        for (int r = 0; r < set.rowCount(); ++r) {
            if (set.isNull(r, c))
                continue;
            switch (type) {
            case FieldType::Text:
                total += std::size_t(set.text(r, c).toUtf8().size());
                break;
            case FieldType::Int32:
                total += 4;
                break;
            case FieldType::Boolean:
                total += 1;
                break;
            case FieldType::Bytes:
                total += std::size_t(set.bytes(r, c).size());
                break;
            default:
                total += 8;
                break;
            }
        }
    }
    return total;
}

void appendNumber(std::string &line, double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    line.append(buffer, result.ptr);
}

void dump(const Options &options)
{
    const int port = int(options.number("port", 9090));
    const QString search = QString::fromStdString(options.text("search", "ORV"));
    auto direct = openConnection(port);
    const TSonucBilgisi session = login(*direct, options.text("identity"));

    // Once through a relay that counts what the answer puts on the wire.
    CountingRelay relay { std::uint16_t(port) };
    auto counted = openConnection(relay.port());
    RecordSet set;
    {
        TServerMethods1Client proxy(*counted);
        relay.reset();
        set = proxy.StokAraOrvex(search, copyOf(session));
    }
    const std::uint64_t answerBytes = relay.bytesToClient(), requestBytes = relay.bytesToServer();
    counted->close();

    std::vector<CopyColumn> columns;
    for (int c = 0; c < set.fieldCount(); ++c)
        columns.push_back({ set.field(c).name.toStdString(), pgType(set.field(c).type) });
    writeSchema(options.text("schema-file"), columns);
    std::ofstream out(options.text("copy-file"), std::ios::binary | std::ios::trunc);
    std::string line;
    for (int r = 0; r < set.rowCount(); ++r) {
        line.clear();
        for (int c = 0; c < set.fieldCount(); ++c) {
            if (c)
                line += '\t';
            if (set.isNull(r, c)) {
                line += kCopyNull;
                continue;
            }
            switch (set.field(c).type) {
            case FieldType::Int32:
                line += std::to_string(set.int32(r, c));
                break;
            case FieldType::Int64:
                line += std::to_string(set.int64(r, c));
                break;
            case FieldType::Double:
                appendNumber(line, set.real(r, c));
                break;
            case FieldType::Boolean:
                line += set.boolean(r, c) ? "t" : "f";
                break;
            case FieldType::DateTime:
                line += set.dateTime(r, c).toString(Qt::ISODateWithMs).toStdString();
                break;
            case FieldType::Bytes:
                line += "\\\\x" + set.bytes(r, c).toHex().toStdString();
                break;
            case FieldType::Text:
                appendCopyField(line, set.text(r, c).toStdString());
                break;
            }
        }
        line += '\n';
        out << line;
    }
    if (!out)
        throw std::runtime_error("cannot write " + options.text("copy-file"));
    std::ofstream(options.text("bytes-file"), std::ios::trunc) << answerBytes << '\n';

    const std::size_t raw = rawBytes(set);
    info("f1.rows",
        std::to_string(set.rowCount()) + " rows × " + std::to_string(set.fieldCount())
            + " columns, the answer to StokAraOrvex(\"" + search.toStdString() + "\")");
    info("f1.wire",
        "morvex on the wire: " + std::to_string(answerBytes) + " bytes answer, "
            + std::to_string(requestBytes) + " bytes request");
    info("f1.raw", "raw bytes of the values: " + std::to_string(raw));
    sample("f4.raw", double(raw) / (1024.0 * 1024.0), "MiB");
}

void table(const Options &options)
{
    const int port = int(options.number("port", 9090));
    const int runs = int(options.number("runs", 7));
    const QString search = QString::fromStdString(options.text("search", "ORV"));
    const long long expectRows = options.number("expect-rows", -1);
    auto connection = openConnection(port);
    const TSonucBilgisi session = login(*connection, options.text("identity"));
    TServerMethods1Client proxy(*connection);
    for (int run = -1; run < runs; ++run) {
        RecordSet stockList; // the tab's set, which keeps its columns between searches
        const long long faults = minorFaults();
        const auto start = Clock::now();
        stockList.fillFrom(proxy.StokAraOrvex(search, copyOf(session)));
        const double ms = millisecondsSince(start);
        if (run == 0)
            info("f6.faults.morvex",
                "client-side page faults (first touches of fresh pages) in one fetch: morvex "
                    + std::to_string(minorFaults() - faults));
        if (expectRows >= 0 && stockList.rowCount() != expectRows)
            throw std::runtime_error("the search returned " + std::to_string(stockList.rowCount())
                + " rows, not " + std::to_string(expectRows));
        if (run >= 0)
            sample("f1.morvex", ms, "ms");
    }
}

void latency(const Options &options)
{
    const int port = int(options.number("port", 9090));
    const int runs = int(options.number("runs", 7));
    const int calls = int(options.number("calls", 1000));
    const int newCalls = int(options.number("new-calls", 100));
    const QString text = QStringLiteral("morvex1234");
    {
        auto connection = openConnection(port);
        TServerMethods1Client proxy(*connection);
        for (int run = -1; run < runs; ++run) {
            const auto start = Clock::now();
            for (int i = 0; i < calls; ++i) {
                if (proxy.EchoString(text) != text)
                    throw std::runtime_error("EchoString answered something else");
            }
            if (run >= 0)
                sample("f2.echo.open", microsecondsSince(start) / calls, "us");
        }
    }
    // What every background load pays: a clone of the main connection, opened, a proxy made
    // on it, one call (prepare and execute), then all of it closed and destroyed.
    DataSnapSettings settings;
    settings.hostName = QStringLiteral("127.0.0.1");
    settings.port = QString::number(port);
    const DataSnapConnection main(settings);
    std::vector<double> each;
    for (int run = -1; run < runs; ++run) {
        const auto start = Clock::now();
        for (int i = 0; i < newCalls; ++i) {
            const auto one = Clock::now();
            std::unique_ptr<DataSnapConnection> clone = main.clone();
            clone->open();
            {
                TServerMethods1Client proxy(*clone);
                if (proxy.EchoString(text) != text)
                    throw std::runtime_error("EchoString answered something else");
            }
            clone->close();
            if (run >= 0)
                each.push_back(microsecondsSince(one));
        }
        if (run >= 0)
            sample("f2.echo.new", microsecondsSince(start) / newCalls, "us");
    }
    std::sort(each.begin(), each.end());
    sample("f2.echo.new.p50", each[each.size() / 2], "us");
    sample("f2.echo.new.max", each.back(), "us");
}

// Latencies of one method over all clients of a run.
struct Latencies
{
    std::vector<double> us;
    void add(double v) { us.push_back(v); }
    double percentile(double p)
    {
        if (us.empty())
            return 0;
        std::sort(us.begin(), us.end());
        const std::size_t i = std::min(us.size() - 1, std::size_t(std::ceil(p * double(us.size())) - 1));
        return us[i];
    }
};

struct ClientResult
{
    std::map<std::string, Latencies> latencies;
    std::map<int, double> left; // stokno -> quantity the client's calls left in the basket
    std::string error;
};

void emitRun(const std::string &method, int clients, Latencies &lat, double seconds)
{
    const std::string base = "f3." + method + ".c" + std::to_string(clients);
    sample(base + ".rate", double(lat.us.size()) / seconds, "calls/s");
    sample(base + ".p50", lat.percentile(0.50), "us");
    sample(base + ".p99", lat.percentile(0.99), "us");
}

// One client of the basket workload, on an account of its own (or shared with clients that work
// on other stock numbers). A cycle is what a dealer does to the basket: four items put in
// (SepetEkle), the basket read back (SepetVer) for their line numbers, each quantity changed
// (SepetGuncelle), and two of the lines taken out again (SepetSatirSil); once twenty lines are
// left the cycle takes all four out, so the basket stays the size of a real one.
ClientResult basketClient(
    int port, const TSonucBilgisi &session, int firstStock, int lastStock, Clock::time_point deadline)
{
    ClientResult result;
    try {
        auto connection = openConnection(port);
        TServerMethods1Client proxy(*connection);
        const int carino = session.CARINO();
        constexpr int kPerCycle = 4, kKept = 20;
        for (int stokno = firstStock; stokno + kPerCycle - 1 <= lastStock && Clock::now() < deadline;
             stokno += kPerCycle) {
            for (int k = 0; k < kPerCycle; ++k) {
                const auto start = Clock::now();
                proxy.SepetEkle(copyOf(session), carino, stokno + k, QString(), QString(), 1, 18, 100, 10,
                    session.Sirano(), 0);
                result.latencies["SepetEkle"].add(microsecondsSince(start));
            }
            auto start = Clock::now();
            const RecordSet basket = proxy.SepetVer(carino);
            result.latencies["SepetVer"].add(microsecondsSince(start));
            const int stockColumn = basket.fieldIndex(u"STOKNO"), lineColumn = basket.fieldIndex(u"SIRANO");
            std::map<int, int> lineOf;
            for (int r = 0; r < basket.rowCount(); ++r) {
                const int s = basket.int32(r, stockColumn);
                if (s >= stokno && s < stokno + kPerCycle)
                    lineOf[s] = basket.int32(r, lineColumn);
            }
            if (int(lineOf.size()) != kPerCycle)
                throw std::runtime_error("SepetVer lacks lines just added (" + std::to_string(lineOf.size())
                    + " of " + std::to_string(kPerCycle) + ")");
            const bool keepTwo = int(result.left.size()) < kKept;
            for (int k = 0; k < kPerCycle; ++k) {
                const double quantity = 2 + (stokno + k) % 3;
                start = Clock::now();
                proxy.SepetGuncelle(copyOf(session), carino, stokno + k, QString(), QString(), quantity, 18,
                    100, 10, session.Sirano(), lineOf[stokno + k]);
                result.latencies["SepetGuncelle"].add(microsecondsSince(start));
                if (keepTwo && k % 2 == 0) {
                    result.left[stokno + k] = quantity;
                    continue;
                }
                start = Clock::now();
                proxy.SepetSatirSil(copyOf(session), lineOf[stokno + k], QString());
                result.latencies["SepetSatirSil"].add(microsecondsSince(start));
            }
        }
    } catch (const std::exception &e) {
        result.error = e.what();
    }
    return result;
}

ClientResult searchClient(
    int port, const TSonucBilgisi &session, const QString &text, Clock::time_point deadline)
{
    ClientResult result;
    try {
        auto connection = openConnection(port);
        TServerMethods1Client proxy(*connection);
        while (Clock::now() < deadline) {
            const auto start = Clock::now();
            const RecordSet rows = proxy.StokAraOrvex(text, copyOf(session));
            result.latencies["StokAraOrvex"].add(microsecondsSince(start));
            if (rows.rowCount() == 0)
                throw std::runtime_error("StokAraOrvex found nothing");
        }
    } catch (const std::exception &e) {
        result.error = e.what();
    }
    return result;
}

// Compares the stored basket with what the clients' calls left; returns the differences.
std::string checkBasket(TServerMethods1Client &proxy, int carino, const std::map<int, double> &expected)
{
    RecordSet stored = proxy.SepetVer(carino);
    const int stockColumn = stored.fieldIndex(u"STOKNO"), quantityColumn = stored.fieldIndex(u"MIKTAR");
    if (stockColumn < 0 || quantityColumn < 0)
        return "SepetVer has no STOKNO or MIKTAR column";
    std::map<int, double> found;
    for (int r = 0; r < stored.rowCount(); ++r)
        found[stored.int32(r, stockColumn)] = stored.real(r, quantityColumn);
    int lost = 0, wrong = 0, extra = 0;
    for (const auto &[stokno, quantity] : expected) {
        const auto it = found.find(stokno);
        if (it == found.end())
            ++lost;
        else if (it->second != quantity)
            ++wrong;
    }
    for (const auto &[stokno, quantity] : found)
        extra += expected.count(stokno) == 0;
    if (lost || wrong || extra)
        return std::to_string(lost) + " lines lost, " + std::to_string(wrong) + " with a wrong quantity, "
            + std::to_string(extra) + " that should be gone (of " + std::to_string(expected.size()) + ")";
    return {};
}

void throughput(const Options &options)
{
    const int port = int(options.number("port", 9090));
    const int runs = int(options.number("runs", 3));
    const double seconds = double(options.number("millis", 2000)) / 1000.0;
    const int stockCount = int(options.number("stock", 100000));
    const QString search = QString::fromStdString(options.text("search", "BALATA PASSAT"));
    auto connection = openConnection(port);
    const TSonucBilgisi dealer = login(*connection, options.text("identity"));
    const TSonucBilgisi staff = login(*connection, options.text("staff-identity"));
    TServerMethods1Client admin(*connection);

    // Staff may work on any account, so every client gets an account's basket of its own.
    std::vector<TSonucBilgisi> accounts;
    {
        const RecordSet all = admin.CariAra(copyOf(staff), QString());
        const int column = all.fieldIndex(u"CARINO");
        for (int r = 0; r < all.rowCount(); ++r) {
            accounts.push_back(staff);
            accounts.back().setCARINO(all.int32(r, column));
        }
    }
    if (accounts.empty())
        throw std::runtime_error("CariAra lists no accounts");
    auto clearBaskets = [&] {
        for (const TSonucBilgisi &account : accounts)
            admin.SepetHepsiniSil(copyOf(account));
    };
    auto deadlineIn = [&] {
        return Clock::now()
            + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    };
    long long checkedLines = 0;
    int checkedRuns = 0;
    std::string problems;

    for (const int clients : options.numbers("clients", "1,8,32")) {
        for (int run = 0; run < runs; ++run) {
            clearBaskets();
            const auto deadline = deadlineIn();
            std::vector<ClientResult> results(static_cast<std::size_t>(clients));
            std::vector<std::thread> threads;
            const int share = stockCount / clients;
            const auto start = Clock::now();
            for (int c = 0; c < clients; ++c) {
                threads.emplace_back([&, c] {
                    results[std::size_t(c)] = basketClient(port, accounts[std::size_t(c) % accounts.size()],
                        1 + c * share, (c + 1) * share, deadline);
                });
            }
            for (std::thread &t : threads)
                t.join();
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            std::map<std::string, Latencies> merged;
            std::map<int, std::map<int, double>> expected; // account -> stokno -> quantity
            for (int c = 0; c < clients; ++c) {
                ClientResult &r = results[std::size_t(c)];
                if (!r.error.empty())
                    throw std::runtime_error("basket client: " + r.error);
                for (auto &[method, lat] : r.latencies)
                    merged[method].us.insert(merged[method].us.end(), lat.us.begin(), lat.us.end());
                expected[accounts[std::size_t(c) % accounts.size()].CARINO()].insert(
                    r.left.begin(), r.left.end());
            }
            Latencies all;
            for (auto &[method, lat] : merged) {
                all.us.insert(all.us.end(), lat.us.begin(), lat.us.end());
                emitRun(method, clients, lat, elapsed);
            }
            emitRun("basket", clients, all, elapsed);
            for (const auto &[carino, lines] : expected) {
                const std::string difference = checkBasket(admin, carino, lines);
                if (!difference.empty())
                    problems += (problems.empty() ? "" : "; ") + std::to_string(clients)
                        + " clients, account " + std::to_string(carino) + ": " + difference;
                checkedLines += static_cast<long long>(lines.size());
            }
            ++checkedRuns;
        }
        clearBaskets();
        for (int run = 0; run < runs; ++run) {
            const auto deadline = deadlineIn();
            std::vector<ClientResult> results(static_cast<std::size_t>(clients));
            std::vector<std::thread> threads;
            const auto start = Clock::now();
            for (int c = 0; c < clients; ++c)
                threads.emplace_back(
                    [&, c] { results[std::size_t(c)] = searchClient(port, dealer, search, deadline); });
            for (std::thread &t : threads)
                t.join();
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            Latencies merged;
            for (ClientResult &r : results) {
                if (!r.error.empty())
                    throw std::runtime_error("search client: " + r.error);
                for (auto &[method, lat] : r.latencies)
                    merged.us.insert(merged.us.end(), lat.us.begin(), lat.us.end());
            }
            emitRun("StokAraOrvex", clients, merged, elapsed);
        }
    }
    {
        const RecordSet rows = admin.StokAraOrvex(search, copyOf(dealer));
        info("f3.search",
            "the search text \"" + search.toStdString() + "\" finds " + std::to_string(rows.rowCount())
                + " rows for the dealer");
    }
    info("f3.accounts",
        "basket clients work on " + std::to_string(accounts.size())
            + " accounts (clients beyond that share an account, on other stock items), as a staff user");
    if (problems.empty())
        info("f3.check",
            "nothing lost: " + std::to_string(checkedLines) + " stored lines checked after "
                + std::to_string(checkedRuns) + " runs");
    else
        info("f3.check", "LOST: " + problems);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    try {
        const Options options(argc, argv);
        if (options.command() == "dump")
            dump(options);
        else if (options.command() == "table")
            table(options);
        else if (options.command() == "latency")
            latency(options);
        else if (options.command() == "throughput")
            throughput(options);
        else {
            std::fprintf(stderr, "usage: bench_suite_remote dump|table|latency|throughput --port P ...\n");
            return 2;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_suite_remote: %s\n", e.what());
        return 1;
    }
    return 0;
}
