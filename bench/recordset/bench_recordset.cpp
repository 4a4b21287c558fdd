// Memory and speed of the record set on a stock search result: 100,000 rows of the stock
// list's 32 columns with realistic values. Prints the bytes each representation holds per
// row against the raw bytes of the values, then times filling, reading and locating.
//
// Raw bytes of a row: every value at its natural size (texts as their UTF-8 length, 32-bit
// integers 4, doubles 8, booleans 1, nulls 0).

#include "core/data/NumberFormat.h"
#include "core/data/RecordSet.h"

#include <benchmark/benchmark.h>

#include <QStringList>
#include <QVariant>

#include <malloc.h>

#include <cstdio>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;
using morvex::FieldType;
using morvex::RecordSet;

namespace {

constexpr int kRows = 100'000;

struct ColumnSpec
{
    const char16_t *name;
    FieldType type;
};

// The stock list's columns in the order the server sends them.
const ColumnSpec kColumns[] = {
    { u"BARKOD", FieldType::Text },
    { u"FINISHKOD", FieldType::Text },
    { u"OEM1", FieldType::Text },
    { u"OEM2", FieldType::Text },
    { u"OEM3", FieldType::Text },
    { u"ADI", FieldType::Text },
    { u"OEM4", FieldType::Text },
    { u"STOK_STOKNO", FieldType::Int32 },
    { u"URETICIKODU", FieldType::Text },
    { u"BARKOD_BARKODNO", FieldType::Int32 },
    { u"DIGERADI", FieldType::Text },
    { u"DPKOD", FieldType::Text },
    { u"OEMNO", FieldType::Text },
    { u"BIRIM", FieldType::Text },
    { u"MARKA", FieldType::Text },
    { u"MODEL", FieldType::Text },
    { u"ANAGRUP", FieldType::Text },
    { u"OZELKOD", FieldType::Text },
    { u"KALAN", FieldType::Double },
    { u"PKOD", FieldType::Text },
    { u"KDV", FieldType::Int32 },
    { u"ALINANSIPARIS", FieldType::Double },
    { u"VERILENSIPARIS", FieldType::Double },
    { u"LISTEFIYATI", FieldType::Double },
    { u"MALIYET", FieldType::Text },
    { u"FIYAT", FieldType::Double },
    { u"Y", FieldType::Int32 },
    { u"K", FieldType::Int32 },
    { u"INDIRIM", FieldType::Double },
    { u"NETFIYAT", FieldType::Double },
    { u"KDVDAHIL", FieldType::Double },
    { u"DURUM", FieldType::Int32 },
};
constexpr int kColumnCount = int(std::size(kColumns));
static_assert(kColumnCount == 32);

const QStringList kParts = { u"FREN BALATASI"_s, u"YAĞ FİLTRESİ"_s, u"HAVA FİLTRESİ"_s, u"DEBRİYAJ SETİ"_s,
    u"AMORTİSÖR"_s, u"ROT BAŞI"_s, u"SALINCAK"_s, u"ŞANZIMAN TAKOZU"_s, u"TRİGER KAYIŞI"_s, u"SU POMPASI"_s,
    u"BUJİ"_s, u"ATEŞLEME BOBİNİ"_s, u"FAR AMPULÜ"_s, u"SİLECEK SÜPÜRGESİ"_s, u"POLEN FİLTRESİ"_s,
    u"EGZOZ SUSTURUCUSU"_s, u"RADYATÖR"_s, u"TERMOSTAT"_s, u"YAKIT POMPASI"_s, u"MOTOR KULAĞI"_s };
const QStringList kSides
    = { u""_s, u" ÖN"_s, u" ARKA"_s, u" SAĞ"_s, u" SOL"_s, u" ÖN SOL"_s, u" ARKA SAĞ"_s };
const QStringList kBrands = { u"BOSCH"_s, u"VALEO"_s, u"MANN"_s, u"SACHS"_s, u"TRW"_s, u"FEBI"_s, u"MAHLE"_s,
    u"DELPHI"_s, u"NGK"_s, u"GATES"_s };
const QStringList kModels = { u"PASSAT 1.6 TDI"_s, u"DOBLO 1.3 MULTIJET"_s, u"CLIO IV 1.5 DCI"_s,
    u"FOCUS III 1.6 TDCI"_s, u"CORSA D 1.2"_s, u"LINEA 1.4 FIRE"_s, u"TRANSIT 2.2 TDCI"_s,
    u"MEGANE III 1.5"_s, u"ŞAHİN 1.6"_s, u"TOFAŞ DOĞAN"_s };
const QStringList kGroups = { u"FREN SİSTEMİ"_s, u"MOTOR PARÇALARI"_s, u"SÜSPANSİYON"_s, u"ELEKTRİK"_s,
    u"FİLTRELER"_s, u"SOĞUTMA"_s, u"ŞANZIMAN"_s, u"EGZOZ"_s };

// One row's values, in column order; a null QVariant is a null cell.
using Row = std::vector<QVariant>;

QString code(std::mt19937 &rng, const char16_t *prefix, int digits)
{
    QString s = QString::fromUtf16(prefix);
    for (int i = 0; i < digits; ++i)
        s += QChar(u'0' + int(rng() % 10));
    return s;
}

std::vector<Row> makeRows(std::mt19937 &rng)
{
    std::vector<Row> rows;
    rows.reserve(kRows);
    const int indirim[] = { 0, 5, 10, 15, 20, 25, 30, 35, 40 };
    for (int i = 0; i < kRows; ++i) {
        const QString part = kParts[int(rng() % kParts.size())] + kSides[int(rng() % kSides.size())];
        const QString model = kModels[int(rng() % kModels.size())];
        const double liste = double(500 + rng() % 500000) / 100.0;
        const int ind = indirim[rng() % std::size(indirim)];
        const double net = morvex::round2(liste * (100 - ind) / 100.0);
        const double maliyet = morvex::round2(net * 0.7);
        const bool hasOem2 = rng() % 2, hasOem3 = rng() % 4 == 0, hasOem4 = rng() % 10 == 0;
        Row r {
            QVariant(code(rng, u"869", 10)), // BARKOD
            QVariant(code(rng, u"FR-", 5)), // FINISHKOD
            QVariant(QString(code(rng, u"1K0 615 ", 3) + u" AA"_s)), // OEM1
            hasOem2 ? QVariant(code(rng, u"7701 ", 6)) : QVariant(), // OEM2
            hasOem3 ? QVariant(code(rng, u"A", 9)) : QVariant(), // OEM3
            QVariant(QString(part + u" "_s + model)), // ADI
            hasOem4 ? QVariant(code(rng, u"", 8)) : QVariant(), // OEM4
            QVariant(qint32(1000 + i)), // STOK_STOKNO
            QVariant(code(rng, u"0 986 ", 6)), // URETICIKODU
            QVariant(qint32(500000 + i)), // BARKOD_BARKODNO
            rng() % 3 == 0 ? QVariant(part.left(12)) : QVariant(), // DIGERADI
            QVariant(code(rng, u"DP", 4)), // DPKOD
            QVariant(code(rng, u"", 11)), // OEMNO
            QVariant(u"ADET"_s), // BIRIM
            QVariant(kBrands[int(rng() % kBrands.size())]), // MARKA
            QVariant(model), // MODEL
            QVariant(kGroups[int(rng() % kGroups.size())]), // ANAGRUP
            QVariant(code(rng, u"OZ", 3)), // OZELKOD
            QVariant(double(rng() % 500)), // KALAN
            QVariant(code(rng, u"P", 2)), // PKOD
            QVariant(qint32(18)), // KDV
            QVariant(double(rng() % 20)), // ALINANSIPARIS
            QVariant(double(rng() % 20)), // VERILENSIPARIS
            QVariant(liste), // LISTEFIYATI
            QVariant(morvex::plainNumberText(maliyet, QLocale(QLocale::Turkish))), // MALIYET
            QVariant(liste), // FIYAT
            QVariant(qint32(rng() % 10 == 0)), // Y
            QVariant(qint32(rng() % 8 == 0)), // K
            QVariant(double(ind)), // INDIRIM
            QVariant(net), // NETFIYAT
            QVariant(morvex::round2(net * 1.18)), // KDVDAHIL
            QVariant(qint32(rng() % 6)), // DURUM
        };
        rows.push_back(std::move(r));
    }
    return rows;
}

std::size_t rawBytes(const std::vector<Row> &rows)
{
    std::size_t total = 0;
    for (const Row &r : rows) {
        for (int c = 0; c < kColumnCount; ++c) {
            const QVariant &v = r[std::size_t(c)];
            if (!v.isValid())
                continue;
            switch (kColumns[c].type) {
            case FieldType::Text:
                total += std::size_t(v.toString().toUtf8().size());
                break;
            case FieldType::Int32:
                total += 4;
                break;
            case FieldType::Boolean:
                total += 1;
                break;
            default:
                total += 8;
                break;
            }
        }
    }
    return total;
}

// The bytes texts would take stored as Latin-1 where they can be and as UTF-16 otherwise.
std::size_t latin1OrUtf16Bytes(const std::vector<Row> &rows)
{
    std::size_t total = 0;
    for (const Row &r : rows) {
        for (int c = 0; c < kColumnCount; ++c) {
            if (kColumns[c].type != FieldType::Text || !r[std::size_t(c)].isValid())
                continue;
            const QString s = r[std::size_t(c)].toString();
            bool latin1 = true;
            for (QChar ch : s)
                latin1 = latin1 && ch.unicode() < 0x100;
            total += std::size_t(s.size()) * (latin1 ? 1 : 2);
        }
    }
    return total;
}

RecordSet emptyResult()
{
    RecordSet set;
    for (const ColumnSpec &c : kColumns)
        set.addField(QString::fromUtf16(c.name), c.type);
    return set;
}

// As the wire decoder fills a table result: row by row, typed setters.
RecordSet fillTyped(const std::vector<Row> &rows)
{
    RecordSet set = emptyResult();
    set.reserveRows(int(rows.size()));
    for (const Row &r : rows) {
        const int row = set.appendRow();
        for (int c = 0; c < kColumnCount; ++c) {
            const QVariant &v = r[std::size_t(c)];
            if (!v.isValid())
                continue;
            switch (kColumns[c].type) {
            case FieldType::Text:
                set.setText(row, c, v.toString());
                break;
            case FieldType::Int32:
                set.setInt32(row, c, v.toInt());
                break;
            default:
                set.setReal(row, c, v.toDouble());
                break;
            }
        }
    }
    return set;
}

// The store this set replaces in comparisons: one QVariant per cell.
std::vector<QVariant> fillVariants(const std::vector<Row> &rows)
{
    std::vector<QVariant> cells;
    cells.reserve(rows.size() * kColumnCount);
    for (const Row &r : rows)
        for (const QVariant &v : r)
            cells.push_back(
                v.metaType().id() == QMetaType::QString ? QVariant(QString(v.toString().data())) : v);
    return cells;
}

std::size_t heapInUse()
{
    // Small blocks from the arena plus the large ones glibc maps separately.
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

const std::vector<Row> &corpus()
{
    static const std::vector<Row> rows = [] {
        std::mt19937 rng(86);
        return makeRows(rng);
    }();
    return rows;
}

void reportMemory()
{
    const auto &rows = corpus();
    const double raw = double(rawBytes(rows)) / kRows;

    const std::size_t before = heapInUse();
    RecordSet stok;
    stok.fillFrom(fillTyped(rows));
    const std::size_t heapSet = heapInUse() - before;
    const double stored = double(stok.storageBytes()) / kRows;
    stok.squeeze();
    const double squeezed = double(stok.storageBytes()) / kRows;

    const std::size_t beforeVariants = heapInUse();
    std::vector<QVariant> variants = fillVariants(rows);
    const std::size_t heapVariants = heapInUse() - beforeVariants;

    std::size_t utf8Text = 0;
    for (int c = 0; c < kColumnCount; ++c)
        if (kColumns[c].type == FieldType::Text)
            for (int row = 0; row < kRows; ++row)
                utf8Text += std::size_t(stok.text(row, c).toUtf8().size());
    const std::size_t latinText = latin1OrUtf16Bytes(rows);

    std::printf("Stock list, %d rows x %d columns\n", kRows, kColumnCount);
    std::printf("  raw values                      %8.1f bytes/row\n", raw);
    std::printf("  record set (storageBytes)       %8.1f bytes/row  %.3f x raw\n", stored, stored / raw);
    std::printf("  record set after squeeze()      %8.1f bytes/row  %.3f x raw\n", squeezed, squeezed / raw);
    std::printf("  record set heap (malloc)        %8.1f bytes/row  %.3f x raw\n", double(heapSet) / kRows,
        double(heapSet) / kRows / raw);
    std::printf("  QVariant per cell heap (malloc) %8.1f bytes/row  %.3f x raw\n",
        double(heapVariants) / kRows, double(heapVariants) / kRows / raw);
    std::printf("  text bytes as UTF-8             %8.1f bytes/row\n", double(utf8Text) / kRows);
    std::printf("  text bytes as Latin-1 or UTF-16 %8.1f bytes/row  %.3f x UTF-8\n",
        double(latinText) / kRows, double(latinText) / double(utf8Text));
    std::fflush(stdout);
    benchmark::DoNotOptimize(variants.data());
}

void BM_FillRecordSet(benchmark::State &state)
{
    for (auto _ : state) {
        RecordSet stok;
        stok.fillFrom(fillTyped(corpus()));
        benchmark::DoNotOptimize(stok.rowCount());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_FillRecordSet)->Unit(benchmark::kMillisecond);

void BM_FillVariantCells(benchmark::State &state)
{
    for (auto _ : state) {
        std::vector<QVariant> cells = fillVariants(corpus());
        benchmark::DoNotOptimize(cells.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_FillVariantCells)->Unit(benchmark::kMillisecond);

const RecordSet &filled()
{
    static RecordSet set = [] {
        RecordSet s;
        s.fillFrom(fillTyped(corpus()));
        morvex::applyFloatDisplayPattern(s);
        s.squeeze();
        return s;
    }();
    return set;
}

// What a grid does when painting: the display text of every cell.
void BM_ReadDisplayText(benchmark::State &state)
{
    const RecordSet &set = filled();
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    for (auto _ : state) {
        std::size_t chars = 0;
        for (int row = 0; row < kRows; ++row)
            for (int c = 0; c < kColumnCount; ++c)
                chars += std::size_t(set.displayText(row, c, turkish).size());
        benchmark::DoNotOptimize(chars);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ReadDisplayText)->Unit(benchmark::kMillisecond);

// What sorting and filtering do: the raw value of every cell.
void BM_ReadValues(benchmark::State &state)
{
    const RecordSet &set = filled();
    for (auto _ : state) {
        std::size_t valid = 0;
        for (int row = 0; row < kRows; ++row)
            for (int c = 0; c < kColumnCount; ++c)
                valid += set.value(row, c).isValid();
        benchmark::DoNotOptimize(valid);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ReadValues)->Unit(benchmark::kMillisecond);

void BM_ReadVariantCells(benchmark::State &state)
{
    static const std::vector<QVariant> cells = fillVariants(corpus());
    for (auto _ : state) {
        std::size_t valid = 0;
        for (const QVariant &v : cells)
            valid += QVariant(v).isValid();
        benchmark::DoNotOptimize(valid);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ReadVariantCells)->Unit(benchmark::kMillisecond);

// Positioning on a key near the end, as the stock detail does for the focused row.
void BM_LocateKey(benchmark::State &state)
{
    RecordSet set;
    set.fillFrom(fillTyped(corpus()));
    for (auto _ : state)
        benchmark::DoNotOptimize(set.locate(u"STOK_STOKNO", 1000 + kRows - 1));
}
BENCHMARK(BM_LocateKey)->Unit(benchmark::kMicrosecond);

void BM_LocateText(benchmark::State &state)
{
    RecordSet set;
    set.fillFrom(fillTyped(corpus()));
    const QVariant last = corpus().back()[0];
    for (auto _ : state)
        benchmark::DoNotOptimize(set.locate(u"BARKOD", last));
}
BENCHMARK(BM_LocateText)->Unit(benchmark::kMicrosecond);

// Decoding the two candidate text encodings into QString, on the same texts.
void BM_DecodeUtf8(benchmark::State &state)
{
    std::vector<QByteArray> texts;
    for (const Row &r : corpus())
        texts.push_back(r[5].toString().toUtf8());
    for (auto _ : state)
        for (const QByteArray &t : texts)
            benchmark::DoNotOptimize(QString::fromUtf8(t));
    state.SetItemsProcessed(state.iterations() * std::int64_t(texts.size()));
}
BENCHMARK(BM_DecodeUtf8)->Unit(benchmark::kMillisecond);

void BM_DecodeLatin1OrUtf16(benchmark::State &state)
{
    struct Stored
    {
        QByteArray bytes;
        bool utf16;
    };
    std::vector<Stored> texts;
    for (const Row &r : corpus()) {
        const QString s = r[5].toString();
        bool latin1 = true;
        for (QChar ch : s)
            latin1 = latin1 && ch.unicode() < 0x100;
        texts.push_back(latin1
                ? Stored { s.toLatin1(), false }
                : Stored { QByteArray(reinterpret_cast<const char *>(s.utf16()), s.size() * 2), true });
    }
    for (auto _ : state)
        for (const Stored &t : texts)
            benchmark::DoNotOptimize(t.utf16
                    ? QString(reinterpret_cast<const QChar *>(t.bytes.constData()), t.bytes.size() / 2)
                    : QString::fromLatin1(t.bytes));
    state.SetItemsProcessed(state.iterations() * std::int64_t(texts.size()));
}
BENCHMARK(BM_DecodeLatin1OrUtf16)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    reportMemory();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
