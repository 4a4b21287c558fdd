// The PostgreSQL anchors, through PostgreSQL's own client library on TCP loopback:
//   load     --port P --schema-file S --copy-file F    the stock rows into table stok (COPY FROM)
//   generate --rows N --schema-file S --copy-file F    stock-shaped rows of our own, used only when
//                                                      morvex-server could not provide its rows
//   table    --port P --runs R     SELECT * with every value copied out; COPY TO STDOUT into /dev/null
//   latency  --port P --runs R --calls K --new-calls K2   SELECT 1 on an open and on a new connection

#include "CopyFormat.h"
#include "Loopback.h"
#include "SampleLog.h"

#include <libpq-fe.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using namespace morvex::bench;

namespace {

struct PgConnection
{
    PGconn *conn = nullptr;
    explicit PgConnection(const std::string &conninfo)
        : conn(PQconnectdb(conninfo.c_str()))
    {
        if (PQstatus(conn) != CONNECTION_OK) {
            const std::string message = PQerrorMessage(conn);
            PQfinish(conn);
            throw std::runtime_error("PostgreSQL connection: " + message);
        }
    }
    ~PgConnection() { PQfinish(conn); }
    PgConnection(const PgConnection &) = delete;
    PgConnection &operator=(const PgConnection &) = delete;
};

struct PgResult
{
    PGresult *result;
    explicit PgResult(PGresult *r)
        : result(r)
    {
    }
    ~PgResult() { PQclear(result); }
    PgResult(const PgResult &) = delete;
    PgResult &operator=(const PgResult &) = delete;
};

std::string conninfo(const Options &options, int port = 0)
{
    return "host=127.0.0.1 port=" + std::to_string(port ? port : options.number("port", 5432))
        + " dbname=postgres user=" + options.text("user", "postgres") + " sslmode=disable gssencmode=disable";
}

void exec(PGconn *conn, const std::string &sql, ExecStatusType expected = PGRES_COMMAND_OK)
{
    PgResult r(PQexec(conn, sql.c_str()));
    if (PQresultStatus(r.result) != expected)
        throw std::runtime_error(sql.substr(0, 60) + ": " + PQresultErrorMessage(r.result));
}

void load(const Options &options)
{
    const std::vector<CopyColumn> columns = readSchema(options.text("schema-file"));
    PgConnection pg(conninfo(options));
    std::string create = "CREATE TABLE stok (";
    for (std::size_t i = 0; i < columns.size(); ++i)
        create += (i ? ", " : "") + std::string("\"") + columns[i].name + "\" " + columns[i].type;
    create += ")";
    exec(pg.conn, "DROP TABLE IF EXISTS stok");
    exec(pg.conn, create);
    exec(pg.conn, "COPY stok FROM STDIN", PGRES_COPY_IN);
    std::ifstream in(options.text("copy-file"), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + options.text("copy-file"));
    std::vector<char> block(1 << 20);
    while (in) {
        in.read(block.data(), std::streamsize(block.size()));
        if (in.gcount() > 0 && PQputCopyData(pg.conn, block.data(), int(in.gcount())) != 1)
            throw std::runtime_error(std::string("COPY FROM: ") + PQerrorMessage(pg.conn));
    }
    if (PQputCopyEnd(pg.conn, nullptr) != 1)
        throw std::runtime_error(std::string("COPY FROM: ") + PQerrorMessage(pg.conn));
    {
        PgResult done(PQgetResult(pg.conn));
        if (PQresultStatus(done.result) != PGRES_COMMAND_OK)
            throw std::runtime_error(std::string("COPY FROM: ") + PQresultErrorMessage(done.result));
    }
    while (PGresult *extra = PQgetResult(pg.conn))
        PQclear(extra);
    exec(pg.conn, "VACUUM ANALYZE stok");
    PgResult count(PQexec(pg.conn, "SELECT count(*), pg_total_relation_size('stok') FROM stok"));
    info("f1.pgload",
        std::string("PostgreSQL table stok: ") + PQgetvalue(count.result, 0, 0) + " rows, "
            + PQgetvalue(count.result, 0, 1) + " bytes on disk");
}

// Stock-shaped rows: the same 32 columns with values of the lengths a stock list holds.
void generate(const Options &options)
{
    const int rows = int(options.number("rows", 100000));
    const std::vector<CopyColumn> columns = stockColumns();
    writeSchema(options.text("schema-file"), columns);
    std::ofstream out(options.text("copy-file"), std::ios::binary | std::ios::trunc);
    std::mt19937 rng(20240611);
    const char *parts[] = { "FREN BALATASI ÖN", "YAĞ FİLTRESİ", "HAVA FİLTRESİ", "DEBRİYAJ SETİ",
        "AMORTİSÖR ARKA", "ROT BAŞI SAĞ", "SALINCAK SOL", "TRİGER KAYIŞI", "SU POMPASI", "BUJİ" };
    const char *brands[] = { "BOSCH", "VALEO", "MANN", "SACHS", "TRW", "FEBI", "MAHLE", "DELPHI" };
    const char *models[]
        = { "PASSAT 1.6 TDI", "DOBLO 1.3 MULTIJET", "CLIO IV 1.5 DCI", "FOCUS III 1.6 TDCI" };
    const char *groups[] = { "FREN SİSTEMİ", "MOTOR PARÇALARI", "SÜSPANSİYON", "ELEKTRİK", "FİLTRELER" };
    auto digits = [&](const char *prefix, int n) {
        std::string s = prefix;
        for (int i = 0; i < n; ++i)
            s += char('0' + rng() % 10);
        return s;
    };
    std::string line;
    for (int r = 0; r < rows; ++r) {
        line.clear();
        auto text = [&](const std::string &v) {
            line += '\t';
            appendCopyField(line, v);
        };
        auto num = [&](double v) { line += '\t' + std::to_string(v); };
        auto integer = [&](long long v) { line += '\t' + std::to_string(v); };
        const double liste = double(500 + rng() % 500000) / 100.0;
        const int indirim = int(rng() % 9) * 5;
        line += digits("869", 10);
        text(digits("FR-", 5));
        text(digits("1K0 615 ", 3) + " AA");
        text(rng() % 2 ? digits("7701 ", 6) : "");
        text(rng() % 4 == 0 ? digits("A", 9) : "");
        text(std::string(parts[rng() % 10]) + " " + models[rng() % 4]);
        text(rng() % 10 == 0 ? digits("", 8) : "");
        integer(1000 + r);
        text(digits("UK", 7));
        integer(r + 1);
        text(rng() % 3 == 0 ? parts[rng() % 10] : "");
        text(digits("DP", 6));
        text(digits("", 10));
        text("ADET");
        text(brands[rng() % 8]);
        text(models[rng() % 4]);
        text(groups[rng() % 5]);
        text(rng() % 5 == 0 ? "KAMPANYA" : "");
        num(double(rng() % 500));
        text(digits("P", 6));
        integer(18);
        num(double(rng() % 20));
        num(double(rng() % 20));
        num(liste);
        text(std::to_string(liste * 0.6));
        num(liste);
        integer(rng() % 10 == 0);
        integer(rng() % 20 == 0);
        num(indirim);
        num(liste * (100 - indirim) / 100.0);
        num(liste * (100 - indirim) / 100.0 * 1.18);
        integer(rng() % 6);
        line += '\n';
        out << line;
    }
    if (!out)
        throw std::runtime_error("cannot write " + options.text("copy-file"));
}

// What a C++ program keeps of a result once the library's copy is freed: the values, typed.
struct CopiedTable
{
    struct Column
    {
        std::vector<std::string> texts;
        std::vector<long long> integers;
        std::vector<double> reals;
        std::vector<bool> nulls;
    };
    std::vector<Column> columns;
};

enum class Kind { Text, Integer, Real };

Kind kindOf(Oid type)
{
    switch (type) {
    case 20:
    case 21:
    case 23:
    case 16:
        return Kind::Integer; // int8, int2, int4, bool
    case 700:
    case 701:
    case 1700:
        return Kind::Real; // float4, float8, numeric
    default:
        return Kind::Text;
    }
}

void copyOut(const PGresult *r, CopiedTable &table)
{
    const int rows = PQntuples(r), columns = PQnfields(r);
    table.columns.assign(std::size_t(columns), {});
    for (int c = 0; c < columns; ++c) {
        CopiedTable::Column &column = table.columns[std::size_t(c)];
        const Kind kind = kindOf(PQftype(r, c));
        column.nulls.resize(std::size_t(rows));
        if (kind == Kind::Text)
            column.texts.reserve(std::size_t(rows));
        else if (kind == Kind::Integer)
            column.integers.reserve(std::size_t(rows));
        else
            column.reals.reserve(std::size_t(rows));
        for (int row = 0; row < rows; ++row) {
            const bool null = PQgetisnull(r, row, c);
            column.nulls[std::size_t(row)] = null;
            const char *v = PQgetvalue(r, row, c);
            const int length = PQgetlength(r, row, c);
            if (kind == Kind::Text) {
                column.texts.emplace_back(v, std::size_t(length));
            } else if (kind == Kind::Integer) {
                long long n = 0;
                if (*v == 't' || *v == 'f')
                    n = *v == 't';
                else
                    std::from_chars(v, v + length, n);
                column.integers.push_back(n);
            } else {
                double d = 0;
                std::from_chars(v, v + length, d);
                column.reals.push_back(d);
            }
        }
    }
}

void table(const Options &options)
{
    const int runs = int(options.number("runs", 7));
    PgConnection pg(conninfo(options));
    const char *query = "SELECT * FROM stok";
    for (int run = -1; run < runs; ++run) {
        CopiedTable copied;
        const long long faults = minorFaults();
        const auto start = Clock::now();
        {
            PgResult r(PQexec(pg.conn, query));
            if (PQresultStatus(r.result) != PGRES_TUPLES_OK)
                throw std::runtime_error(std::string("SELECT: ") + PQresultErrorMessage(r.result));
            copyOut(r.result, copied);
        }
        const double ms = millisecondsSince(start);
        if (run == 0)
            info("f6.faults.libpq",
                "client-side page faults (first touches of fresh pages) in one fetch: libpq "
                    + std::to_string(minorFaults() - faults));
        if (run >= 0)
            sample("f1.libpq", ms, "ms");
    }

    const int devnull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    for (int run = -1; run < runs; ++run) {
        long long bytes = 0;
        const auto start = Clock::now();
        exec(pg.conn, "COPY stok TO STDOUT", PGRES_COPY_OUT);
        char *buffer = nullptr;
        int n;
        while ((n = PQgetCopyData(pg.conn, &buffer, 0)) > 0) {
            if (::write(devnull, buffer, std::size_t(n)) != n)
                throw std::runtime_error("write /dev/null");
            bytes += n;
            PQfreemem(buffer);
        }
        if (n == -2)
            throw std::runtime_error(std::string("COPY TO: ") + PQerrorMessage(pg.conn));
        while (PGresult *done = PQgetResult(pg.conn))
            PQclear(done);
        const double ms = millisecondsSince(start);
        if (run >= 0)
            sample("f1.copy", ms, "ms");
        if (run == 0)
            info("f1.pgcopy", "PostgreSQL COPY text: " + std::to_string(bytes) + " bytes");
    }
    ::close(devnull);

    // What the query puts on the wire, through a relay that counts (not timed).
    CountingRelay relay { std::uint16_t(options.number("port", 5432)) };
    {
        PgConnection counted(conninfo(options, relay.port()));
        relay.reset();
        PgResult r(PQexec(counted.conn, query));
        info("f1.pgwire",
            "PostgreSQL on the wire: " + std::to_string(relay.bytesToClient()) + " bytes answer ("
                + std::to_string(PQntuples(r.result)) + " rows)");
    }
}

void latency(const Options &options)
{
    const int runs = int(options.number("runs", 7));
    const int calls = int(options.number("calls", 1000));
    const int newCalls = int(options.number("new-calls", 50));
    const std::string connection = conninfo(options);
    auto selectOne = [](PGconn *conn) {
        PgResult r(PQexec(conn, "SELECT 1"));
        if (PQresultStatus(r.result) != PGRES_TUPLES_OK || std::strcmp(PQgetvalue(r.result, 0, 0), "1") != 0)
            throw std::runtime_error(std::string("SELECT 1: ") + PQresultErrorMessage(r.result));
    };
    {
        PgConnection pg(connection);
        for (int run = -1; run < runs; ++run) {
            const auto start = Clock::now();
            for (int i = 0; i < calls; ++i)
                selectOne(pg.conn);
            if (run >= 0)
                sample("f2.pg.open", microsecondsSince(start) / calls, "us");
        }
    }
    std::vector<double> each;
    for (int run = -1; run < runs; ++run) {
        const auto start = Clock::now();
        for (int i = 0; i < newCalls; ++i) {
            const auto one = Clock::now();
            {
                PgConnection pg(connection);
                selectOne(pg.conn);
            }
            if (run >= 0)
                each.push_back(microsecondsSince(one));
        }
        if (run >= 0)
            sample("f2.pg.new", microsecondsSince(start) / newCalls, "us");
    }
    std::sort(each.begin(), each.end());
    sample("f2.pg.new.p50", each[each.size() / 2], "us");
    sample("f2.pg.new.max", each.back(), "us");
}

} // namespace

int main(int argc, char *argv[])
{
    try {
        const Options options(argc, argv);
        if (options.command() == "load")
            load(options);
        else if (options.command() == "generate")
            generate(options);
        else if (options.command() == "table")
            table(options);
        else if (options.command() == "latency")
            latency(options);
        else {
            std::fprintf(stderr, "usage: bench_suite_pg load|generate|table|latency [--port P] ...\n");
            return 2;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_suite_pg: %s\n", e.what());
        return 1;
    }
    return 0;
}
