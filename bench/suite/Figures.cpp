#include "Figures.h"

namespace morvex::bench {

const std::vector<FigureSpec> &figureSpecs()
{
    static const AnchorRef libpq { "f1.libpq", "libpq" };
    static const AnchorRef copy { "f1.copy", "COPY" };
    static const AnchorRef floor { "f1.floor", "loopback floor" };
    static const AnchorRef pgOpen { "f2.pg.open", "PG SELECT 1" };
    static const AnchorRef tcpOpen { "f2.tcp.open", "TCP round trip" };
    static const AnchorRef pgNew { "f2.pg.new", "PG new connection" };
    static const AnchorRef pgNewMedian { "f2.pg.new.p50", "PG's median" };
    static const AnchorRef pgNewSlowest { "f2.pg.new.max", "PG's slowest" };
    static const AnchorRef tcpNew { "f2.tcp.new", "TCP connect + round trip" };
    static const AnchorRef windowFloor { "f4.floor.startup", "bare Qt window" };
    static const AnchorRef windowFloorInit { "f4.floor.init", "bare Qt window" };
    static const AnchorRef windowFloorPeak { "f4.floor.peak", "bare Qt window" };
    static const AnchorRef rawValues { "f4.raw", "raw values" };
    static const AnchorRef frame { "", "one frame (16 ms)", 16.0 };

    static const std::vector<FigureSpec> specs = {
        { 1, "Table transfer: 100,000 stock rows × 32 columns",
            "The 100,000-item demo stock table as the stock search returns it (32 columns), fetched on an "
            "open "
            "connection. morvex: `StokAraOrvex(\"ORV\")` (every stock code starts with it) through the "
            "generated "
            "proxy into the stock tab's `RecordSet` (copy rule), from `morvex-server --max-stock-rows 0` "
            "(its "
            "search cap lifted): the server's query over SQLite, pricing and encoding included. Beside it, "
            "`bench_suite_server` (the same server pieces with the whole table priced once at start and "
            "returned for \"HEPSI\") shows the transfer without the query, in DataSnap's default 32 KiB "
            "batches and in 256 KiB ones. PostgreSQL 15 (a cluster of its own on loopback) holds the same "
            "rows and columns, copied from morvex's answer: `PQexec` of `SELECT * FROM stok` (no search, no "
            "order) with every value copied out into typed C++ columns (texts as std::string, numbers "
            "parsed), "
            "and `COPY stok TO STDOUT` written to /dev/null. The floor pushes morvex's answer's byte count "
            "through a bare loopback socket into a buffer touched beforehand.",
            {
                { "f1.morvex", "morvex: StokAraOrvex → RecordSet, morvex-server", { libpq, copy, floor } },
                { "f1.prepared", "… the same table prepared in advance: transfer only", { libpq, floor } },
                { "f1.bigbuffer", "… prepared in advance, in 256 KiB batches instead of 32 KiB",
                    { libpq, floor } },
                { "f1.libpq", "PostgreSQL: PQexec, every value copied out", { libpq, floor } },
                { "f1.copy", "PostgreSQL: COPY TO STDOUT → /dev/null", { libpq, floor } },
                { "f1.floor", "raw loopback, same byte count as morvex", { libpq } },
            },
            { { "f1", "f1.morvex", libpq, 0.5, false, "table transfer at most half of libpq's time" } } },
        { 2, "Call latency",
            "Against `morvex-server` itself. Open connection: one call after another on a connection and "
            "proxy kept open (`EchoString` "
            "with a 10-character text; `SELECT 1`; a 64-byte message echoed). New connection: everything "
            "a background load pays: TCP connect, handshake, DataSnap connect, prepare and call, close "
            "(`EchoString` on a fresh clone and proxy; `PQconnectdb` + `SELECT 1` + `PQfinish`; connect, "
            "64-byte round trip, close). Time per call: the mean over a run's calls (what a run of loads "
            "pays), "
            "with the median and the slowest single new connection of each run beside it.",
            {
                { "f2.echo.open", "morvex: EchoString, open connection", { pgOpen, tcpOpen } },
                { "f2.pg.open", "PostgreSQL: SELECT 1, open connection", { tcpOpen } },
                { "f2.tcp.open", "raw TCP round trip", {} },
                { "f2.echo.new", "morvex: connect, handshake, prepare, EchoString, close",
                    { pgNew, tcpNew } },
                { "f2.echo.new.p50", "… the median single connection of a run", { pgNewMedian } },
                { "f2.echo.new.max", "… the slowest single connection of a run", { pgNewSlowest } },
                { "f2.pg.new", "PostgreSQL: connect, SELECT 1, close", { tcpNew } },
                { "f2.pg.new.p50", "… the median single connection of a run", {} },
                { "f2.pg.new.max", "… the slowest single connection of a run", {} },
                { "f2.tcp.new", "raw TCP connect, round trip, close", {} },
            },
            { { "f2", "f2.echo.new", pgNew, 0.1, true,
                "new-connection call under a tenth of PostgreSQL's" } } },
        { 4, "Client start-up and memory",
            "Start-up: from spawning the process until its first window has been painted (the client's "
            "login window; the floor's main window of eleven tabs with a table each), offscreen platform, "
            "timed by a probe plugin loaded into both (bench/suite/PaintProbe.cpp) that also reads the "
            "peak resident memory (VmHWM) at that moment. Search memory: the growth of the client's "
            "peak resident memory caused by a 100,000-row stock search, against the raw bytes of the "
            "table's values (texts as UTF-8, integers 4 bytes, doubles 8).",
            {
                { "f4.client.startup", "morvex client: start until the login window is painted",
                    { windowFloor } },
                { "f4.client.init", "… of which until the application object exists", { windowFloorInit } },
                { "f4.floor.startup", "bare Qt window, 11 tabs with a table each", {} },
                { "f4.floor.init", "… of which until the application object exists", {} },
                { "f4.client.peak", "morvex client: peak memory at that moment", { windowFloorPeak } },
                { "f4.floor.peak", "bare Qt window: peak memory", {} },
                { "f4.search.memory", "morvex client: peak memory growth of a 100,000-row search",
                    { rawValues } },
                { "f4.search.store", "… of which the stock tab's record set holds (storageBytes)",
                    { rawValues } },
                { "f4.search.fixedmmap", "… the growth again with glibc's mmap threshold fixed at 128 KiB",
                    { rawValues } },
                { "f4.raw", "raw bytes of the table's values", {} },
            },
            { { "f4a", "f4.client.startup", windowFloor, 1.5, false,
                  "start-up within 1.5 times the bare Qt window" },
                { "f4b", "f4.search.memory", rawValues, 1.3, false,
                    "search memory at most 1.3 times the raw values" } } },
        { 5, "UI thread during a 100,000-row stock search",
            "From `bench_catalogue_search` (the catalogue's own benchmark, bench/catalogue): the real main "
            "window searches \"HEPSI\" (every one of the 100,000 stock items) from Enter in the search box "
            "until the grid shows the rows, against the server's code in the same process; a 1 ms timer on "
            "the UI thread records every stretch between two turns of its event loop, on the clock and in "
            "the UI thread's own CPU time. Per run: the stretch that holds the continuation (grid attached "
            "and repainted) and the longest other one. The idle control is the longest stretch of a second "
            "in which the UI thread has nothing to do: what this machine alone costs. \"Never\" goals are "
            "judged on the worst run.",
            {
                { "f5.maxgap", "longest UI-thread stretch of a search, on the clock", { frame } },
                { "f5.maxgap.cpu", "… the most UI-thread CPU time in one of those stretches", { frame } },
                { "f5.attach", "stretch that attaches the grid and paints it, on the clock", { frame } },
                { "f5.attach.cpu", "… its UI-thread CPU time", { frame } },
                { "f5.other", "longest other stretch, on the clock", { frame } },
                { "f5.other.cpu", "… its UI-thread CPU time", { frame } },
                { "f5.idle", "idle control: longest stretch of an idle second", { frame } },
                { "f5.search", "the whole search, Enter to rows shown", {} },
            },
            { { "f5", "f5.maxgap", frame, 1.0, false,
                  "never more than one frame on the clock, in the worst run", true },
                { "f5cpu", "f5.maxgap.cpu", frame, 1.0, false,
                    "never more than one frame of UI-thread work, in the worst run", true } } },
    };
    return specs;
}

} // namespace morvex::bench
