#include "core/data/RecordSet.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>

using namespace Qt::StringLiterals;
using morvex::FieldType;
using morvex::RecordSet;
using morvex::RecordSetError;

namespace {

const QLocale turkish(QLocale::Turkish, QLocale::Turkey);

// A table result as the wire decoder hands it over.
RecordSet stockResult(const QStringList &names, int rows)
{
    RecordSet r;
    r.addField(u"STOK_STOKNO"_s, FieldType::Int32);
    r.addField(u"ADI"_s, FieldType::Text);
    r.addField(u"FIYAT"_s, FieldType::Double);
    for (int i = 0; i < rows; ++i) {
        const int row = r.appendRow();
        r.setInt32(row, 0, 100 + i);
        r.setText(row, 1, names.value(i % names.size()));
        r.setReal(row, 2, 10.5 * (i + 1));
    }
    return r;
}

std::string errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const RecordSetError &e) {
        return e.what();
    }
    return "no error";
}

TEST(RecordSetCopyRule, FillsAnEmptySetAndTakesTheResultsColumns)
{
    RecordSet stok;
    RecordSet result = stockResult({ u"Fren Balatası"_s, u"Yağ Filtresi"_s }, 3);
    stok.fillFrom(std::move(result));

    ASSERT_EQ(stok.fieldCount(), 3);
    EXPECT_EQ(stok.field(1).name, u"ADI"_s);
    EXPECT_EQ(stok.field(2).type, FieldType::Double);
    ASSERT_EQ(stok.rowCount(), 3);
    EXPECT_EQ(stok.int32(2, 0), 102);
    EXPECT_EQ(stok.text(1, 1), u"Yağ Filtresi"_s);
    EXPECT_EQ(stok.real(2, 2), 31.5);
    EXPECT_EQ(stok.currentRow(), 0);
    EXPECT_EQ(result.fieldCount(), 0);
    EXPECT_EQ(result.rowCount(), 0);
}

TEST(RecordSetCopyRule, ReplacesPreviousRowsAndKeepsDisplayPatterns)
{
    RecordSet stok;
    stok.fillFrom(stockResult({ u"Eski"_s }, 5));
    morvex::applyFloatDisplayPattern(stok);
    stok.fillFrom(stockResult({ u"Yeni"_s }, 2));

    ASSERT_EQ(stok.rowCount(), 2);
    EXPECT_EQ(stok.text(0, 1), u"Yeni"_s);
    EXPECT_EQ(stok.field(2).displayPattern, u"#,###,##0.00"_s);
    EXPECT_EQ(stok.displayText(1, 2, turkish), u"21,00"_s);
}

TEST(RecordSetCopyRule, NameMismatchFailsAndLeavesTheSetAsItWas)
{
    RecordSet stok;
    stok.fillFrom(stockResult({ u"Eski"_s }, 4));

    RecordSet reordered;
    reordered.addField(u"ADI"_s, FieldType::Text);
    reordered.addField(u"STOK_STOKNO"_s, FieldType::Int32);
    reordered.appendRow();

    EXPECT_EQ(errorOf([&] { stok.fillFrom(std::move(reordered)); }),
        "Additional columns must be added after the prescribed columns.");
    ASSERT_EQ(stok.rowCount(), 4);
    EXPECT_EQ(stok.text(3, 1), u"Eski"_s);
    EXPECT_EQ(stok.fieldCount(), 3);
}

TEST(RecordSetCopyRule, NamesMatchCaseInsensitivelyAndExtraColumnsAreAdded)
{
    RecordSet stok;
    stok.addField(u"stok_stokno"_s, FieldType::Int32);
    RecordSet result = stockResult({ u"A"_s }, 2);
    result.addField(u"DURUM"_s, FieldType::Int32);
    result.setInt32(1, 3, 4);
    stok.fillFrom(std::move(result));

    ASSERT_EQ(stok.fieldCount(), 4);
    EXPECT_EQ(stok.field(0).name, u"stok_stokno"_s);
    EXPECT_EQ(stok.fieldIndex(u"durum"), 3);
    EXPECT_TRUE(stok.isNull(0, 3));
    EXPECT_EQ(stok.int32(1, 3), 4);
}

TEST(RecordSetCopyRule, EmptyResultLeavesColumnsAndNoRows)
{
    RecordSet stok;
    stok.fillFrom(stockResult({ u"A"_s }, 3));
    RecordSet empty = stockResult({}, 0);
    empty.addField(u"KDV"_s, FieldType::Double);
    stok.fillFrom(std::move(empty));

    EXPECT_EQ(stok.rowCount(), 0);
    EXPECT_EQ(stok.fieldCount(), 4);
    EXPECT_FALSE(morvex::hasRows(stok));
    EXPECT_EQ(stok.currentRow(), -1);
    EXPECT_TRUE(stok.atEnd());
}

TEST(RecordSetCopyRule, FieldsBeyondTheResultStayNullAndOtherTypesAreConverted)
{
    RecordSet stok;
    stok.addField(u"STOK_STOKNO"_s, FieldType::Int64);
    stok.addField(u"ADI"_s, FieldType::Text);
    stok.addField(u"FIYAT"_s, FieldType::Double);
    stok.addField(u"SEC"_s, FieldType::Int32);
    stok.fillFrom(stockResult({ u"Şanzıman"_s }, 3));

    ASSERT_EQ(stok.rowCount(), 3);
    EXPECT_EQ(stok.field(0).type, FieldType::Int64);
    EXPECT_EQ(stok.int64(2, 0), 102);
    EXPECT_EQ(stok.text(0, 1), u"Şanzıman"_s);
    EXPECT_TRUE(stok.isNull(2, 3));
}

TEST(RecordSetCopyRule, UnconvertibleValueFailsAndLeavesTheSetAsItWas)
{
    RecordSet stok;
    stok.addField(u"KOD"_s, FieldType::Int32);
    stok.appendRow();
    stok.setInt32(0, 0, 7);

    RecordSet result;
    result.addField(u"KOD"_s, FieldType::Text);
    result.setText(result.appendRow(), 0, u"12"_s);
    result.setText(result.appendRow(), 0, u"AB-12"_s);
    EXPECT_THROW(stok.fillFrom(std::move(result)), RecordSetError);
    ASSERT_EQ(stok.rowCount(), 1);
    EXPECT_EQ(stok.int32(0, 0), 7);
}

// ---------------------------------------------------------------------------------------

struct TypedCase
{
    FieldType type;
    QVariant value;
};

class RecordSetTyped : public testing::TestWithParam<TypedCase>
{
};

TEST_P(RecordSetTyped, StoresReadsAndNullsEachType)
{
    const TypedCase &c = GetParam();
    RecordSet set;
    set.addField(u"A"_s, FieldType::Int32);
    const int col = set.addField(u"V"_s, c.type);
    for (int i = 0; i < 3; ++i)
        set.appendRow();

    EXPECT_TRUE(set.isNull(1, col));
    EXPECT_FALSE(set.value(1, col).isValid());
    set.setValue(1, col, c.value);
    EXPECT_FALSE(set.isNull(1, col));
    EXPECT_TRUE(set.isNull(0, col));
    EXPECT_TRUE(set.isNull(2, col));
    EXPECT_EQ(set.value(1, col), c.value);

    set.setNull(1, col);
    EXPECT_TRUE(set.isNull(1, col));
    switch (c.type) {
    case FieldType::Text:
        EXPECT_EQ(set.text(1, col), QString());
        break;
    case FieldType::Int32:
        EXPECT_EQ(set.int32(1, col), 0);
        break;
    case FieldType::Int64:
        EXPECT_EQ(set.int64(1, col), 0);
        break;
    case FieldType::Double:
        EXPECT_EQ(set.real(1, col), 0.0);
        break;
    case FieldType::DateTime:
        EXPECT_FALSE(set.dateTime(1, col).isValid());
        break;
    case FieldType::Boolean:
        EXPECT_FALSE(set.boolean(1, col));
        break;
    case FieldType::Bytes:
        EXPECT_TRUE(set.bytes(1, col).isEmpty());
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Types, RecordSetTyped,
    testing::Values(TypedCase { FieldType::Text, QVariant(u"Fren Diski Ön Sağ"_s) },
        TypedCase { FieldType::Text, QVariant(u"İĞŞÇÖÜ ığşçöü"_s) },
        TypedCase { FieldType::Text, QVariant(QString()) },
        TypedCase { FieldType::Text, QVariant(u"🚗 araç"_s) },
        TypedCase { FieldType::Text, QVariant(QString(u"x\xD800y"_s)) }, // unpaired surrogate kept as is
        TypedCase { FieldType::Text, QVariant(QString(300, u'ş')) },
        TypedCase { FieldType::Int32, QVariant(qint32(-2147483647 - 1)) },
        TypedCase { FieldType::Int64, QVariant(qint64(9007199254740993LL)) },
        TypedCase { FieldType::Double, QVariant(1234567.891) },
        TypedCase { FieldType::Double, QVariant(-0.004) },
        TypedCase { FieldType::DateTime, QVariant(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58, 999))) },
        TypedCase { FieldType::DateTime, QVariant(QDateTime(QDate(1899, 12, 30), QTime(6, 0))) },
        TypedCase { FieldType::Boolean, QVariant(true) }, TypedCase { FieldType::Boolean, QVariant(false) },
        TypedCase { FieldType::Bytes, QVariant(QByteArray("\0GIF89a\xff", 8)) }));

TEST(RecordSetValues, EmptyTextIsNotNull)
{
    RecordSet set;
    set.addField(u"T"_s, FieldType::Text);
    set.appendRow();
    set.setText(0, 0, u""_s);
    EXPECT_FALSE(set.isNull(0, 0));
}

TEST(RecordSetValues, ConvertsOnlyWhatConvertsExactly)
{
    RecordSet set;
    const int i32 = set.addField(u"I"_s, FieldType::Int32);
    const int dbl = set.addField(u"D"_s, FieldType::Double);
    const int i64 = set.addField(u"L"_s, FieldType::Int64);
    const int txt = set.addField(u"T"_s, FieldType::Text);
    const int dt = set.addField(u"Z"_s, FieldType::DateTime);
    set.appendRow();

    set.setValue(0, i32, u" 42 "_s);
    EXPECT_EQ(set.int32(0, i32), 42);
    set.setValue(0, i32, 7.0);
    EXPECT_EQ(set.int32(0, i32), 7);
    EXPECT_THROW(set.setValue(0, i32, 2.5), RecordSetError);
    EXPECT_THROW(set.setValue(0, i32, u"AB12"_s), RecordSetError);
    EXPECT_THROW(set.setValue(0, i32, qint64(1) << 40), RecordSetError);
    EXPECT_EQ(set.int32(0, i32), 7) << "a refused value leaves the cell as it was";
    EXPECT_EQ(set.real(0, i32), 7.0);

    set.setInt64(0, i64, qint64(1) << 40);
    EXPECT_THROW(set.int32(0, i64), RecordSetError);
    set.setInt32(0, dbl, 3);
    EXPECT_EQ(set.real(0, dbl), 3.0);
    set.setReal(0, txt, 1.5);
    EXPECT_EQ(set.text(0, txt), u"1.5"_s);
    EXPECT_EQ(set.real(0, txt), 1.5);
    set.setText(0, txt, u"x"_s);
    EXPECT_THROW(set.real(0, txt), RecordSetError);

    // The wire's day count: 45000.5 is 15 March 2023, noon.
    set.setValue(0, dt, 45000.5);
    EXPECT_EQ(set.dateTime(0, dt), QDateTime(QDate(2023, 3, 15), QTime(12, 0)));
    set.setDateTime(0, dt, QDateTime());
    EXPECT_TRUE(set.isNull(0, dt));
}

TEST(RecordSetValues, BadIndexesAndNamesGiveClearErrors)
{
    RecordSet set;
    set.addField(u"A"_s, FieldType::Int32);
    set.appendRow();
    EXPECT_THROW(set.int32(1, 0), RecordSetError);
    EXPECT_THROW(set.int32(-1, 0), RecordSetError);
    EXPECT_THROW(set.setText(0, 1, u"x"_s), RecordSetError);
    EXPECT_THROW(set.field(5), RecordSetError);
    EXPECT_THROW(set.addField(u"a"_s, FieldType::Text), RecordSetError);
    EXPECT_THROW(set.locate(u"YOK", 1), RecordSetError);
    EXPECT_EQ(set.fieldIndex(u"YOK"), -1);
}

TEST(RecordSetValues, AddingAFieldToFilledSetGivesNulls)
{
    RecordSet set = stockResult({ u"A"_s }, 40);
    const int k = set.addField(u"K"_s, FieldType::Boolean);
    const int t = set.addField(u"T"_s, FieldType::Text);
    for (int row = 0; row < 40; ++row) {
        ASSERT_TRUE(set.isNull(row, k));
        ASSERT_TRUE(set.isNull(row, t));
    }
    set.setText(39, t, u"son"_s);
    set.setText(17, t, u"orta"_s);
    EXPECT_EQ(set.text(39, t), u"son"_s);
    EXPECT_EQ(set.text(17, t), u"orta"_s);
}

// Random edits, removals and nulls against a plain model: catches slips in the packed text
// arena, its row marks and the bit vectors across word boundaries.
TEST(RecordSetValues, RandomEditsMatchAPlainModel)
{
    RecordSet set;
    const int txt = set.addField(u"T"_s, FieldType::Text);
    const int flag = set.addField(u"B"_s, FieldType::Boolean);
    const int num = set.addField(u"N"_s, FieldType::Int32);
    struct Row
    {
        std::optional<QString> text;
        std::optional<bool> flag;
        std::optional<int> num;
    };
    std::vector<Row> model;
    std::mt19937 rng(20240601);
    const QStringList words = { u""_s, u"a"_s, u"Şişe"_s, QString(70, u'x'), QString(200, u'ğ'), u"💡"_s };

    for (int step = 0; step < 4000; ++step) {
        const int op = int(rng() % 10);
        if (op < 3 || model.empty()) {
            set.appendRow();
            model.push_back({});
        } else {
            const int row = int(rng() % model.size());
            if (op == 3) {
                set.removeRow(row);
                model.erase(model.begin() + row);
            } else if (op == 4) {
                set.setNull(row, txt);
                model[std::size_t(row)].text.reset();
            } else if (op < 7) {
                const QString w = words[int(rng() % words.size())];
                set.setText(row, txt, w);
                model[std::size_t(row)].text = w;
            } else if (op == 7) {
                const bool b = rng() % 2;
                set.setBoolean(row, flag, b);
                model[std::size_t(row)].flag = b;
            } else {
                const int n = int(rng() % 1000);
                set.setInt32(row, num, n);
                model[std::size_t(row)].num = n;
            }
        }
        if (step % 97 == 0 || step == 3999) {
            ASSERT_EQ(set.rowCount(), int(model.size()));
            for (int row = 0; row < set.rowCount(); ++row) {
                const Row &m = model[std::size_t(row)];
                ASSERT_EQ(set.isNull(row, txt), !m.text) << "step " << step << " row " << row;
                ASSERT_EQ(set.text(row, txt), m.text.value_or(QString()))
                    << "step " << step << " row " << row;
                ASSERT_EQ(set.isNull(row, flag), !m.flag) << "step " << step << " row " << row;
                ASSERT_EQ(set.boolean(row, flag), m.flag.value_or(false)) << "step " << step;
                ASSERT_EQ(set.int32(row, num), m.num.value_or(0)) << "step " << step;
            }
        }
    }
    set.squeeze();
    for (int row = 0; row < set.rowCount(); ++row)
        ASSERT_EQ(set.text(row, txt), model[std::size_t(row)].text.value_or(QString()));
}

TEST(RecordSetValues, ColumnFilledBackwardsReadsBack)
{
    RecordSet set;
    set.addField(u"T"_s, FieldType::Text);
    for (int i = 0; i < 1000; ++i)
        set.appendRow();
    for (int row = 999; row >= 0; --row)
        set.setText(row, 0, QString::number(row) + u" ç"_s);
    for (int row = 0; row < 1000; ++row)
        ASSERT_EQ(set.text(row, 0), QString::number(row) + u" ç"_s);
}

// ---------------------------------------------------------------------------------------

TEST(RecordSetCursor, WalksRowsAndStopsPastTheEnd)
{
    RecordSet set = stockResult({ u"A"_s }, 3);
    EXPECT_EQ(set.currentRow(), -1);
    QList<int> seen;
    for (bool more = set.first(); more; more = set.next())
        seen << set.int32(set.currentRow(), 0);
    EXPECT_EQ(seen, (QList<int> { 100, 101, 102 }));
    EXPECT_TRUE(set.atEnd());
    EXPECT_EQ(set.currentRow(), 3);
    EXPECT_FALSE(set.next());

    RecordSet empty = stockResult({}, 0);
    EXPECT_FALSE(empty.first());
    EXPECT_TRUE(empty.atEnd());
    EXPECT_THROW(empty.setCurrentRow(1), RecordSetError);
}

TEST(RecordSetCursor, RemovingRowsKeepsTheCursorOnARealRow)
{
    RecordSet set = stockResult({ u"A"_s }, 4);
    set.setCurrentRow(2);
    set.removeRow(0);
    EXPECT_EQ(set.currentRow(), 1);
    EXPECT_EQ(set.int32(set.currentRow(), 0), 102);
    set.setCurrentRow(2);
    set.removeRow(2);
    EXPECT_EQ(set.currentRow(), 1);
    set.removeRow(0);
    set.removeRow(0);
    EXPECT_EQ(set.currentRow(), -1);
}

TEST(RecordSetCursor, LocateFindsTheFirstMatchByType)
{
    RecordSet set = stockResult({ u"Balata"_s, u"Şaft"_s, u"balata"_s }, 6);
    const int dt = set.addField(u"TARIH"_s, FieldType::DateTime);
    const QDateTime when(QDate(2024, 5, 1), QTime(8, 30));
    set.setDateTime(4, dt, when);

    EXPECT_TRUE(set.locate(u"ADI", u"Şaft"_s));
    EXPECT_EQ(set.currentRow(), 1);
    EXPECT_TRUE(set.locate(u"adi", u"balata"_s)) << "field names match case-insensitively";
    EXPECT_EQ(set.currentRow(), 2) << "values match exactly";
    EXPECT_TRUE(set.locate(u"STOK_STOKNO", 104));
    EXPECT_EQ(set.currentRow(), 4);
    EXPECT_TRUE(set.locate(u"STOK_STOKNO", u"103"_s));
    EXPECT_EQ(set.currentRow(), 3);
    EXPECT_TRUE(set.locate(u"FIYAT", 21.0));
    EXPECT_EQ(set.currentRow(), 1);
    EXPECT_TRUE(set.locate(u"TARIH", when));
    EXPECT_EQ(set.currentRow(), 4);
    EXPECT_TRUE(set.locate(u"TARIH", QVariant()));
    EXPECT_EQ(set.currentRow(), 0);

    set.setCurrentRow(5);
    EXPECT_FALSE(set.locate(u"ADI", u"Yok"_s));
    EXPECT_FALSE(set.locate(u"STOK_STOKNO", 100.5));
    EXPECT_FALSE(set.locate(u"STOK_STOKNO", u"abc"_s));
    EXPECT_EQ(set.currentRow(), 5) << "a failed locate leaves the cursor";
}

TEST(RecordSetEdit, AppendEditPost)
{
    RecordSet set = stockResult({ u"A"_s }, 2);
    EXPECT_THROW(set.edit(), RecordSetError) << "no current row yet";
    EXPECT_THROW(set.post(), RecordSetError);

    set.append();
    EXPECT_TRUE(set.isEditing());
    EXPECT_EQ(set.currentRow(), 2);
    set.setInt32(set.currentRow(), 0, 555);
    set.setText(set.currentRow(), 1, u"Yeni Parça"_s);
    set.post();
    EXPECT_FALSE(set.isEditing());
    EXPECT_EQ(set.rowCount(), 3);
    EXPECT_TRUE(set.isNull(2, 2));

    ASSERT_TRUE(set.locate(u"STOK_STOKNO", 100));
    set.edit();
    set.setText(set.currentRow(), 1, u"Değişti ve uzadı"_s);
    set.post();
    EXPECT_EQ(set.text(0, 1), u"Değişti ve uzadı"_s);
    EXPECT_EQ(set.text(1, 1), u"A"_s);
    EXPECT_EQ(set.text(2, 1), u"Yeni Parça"_s);
}

// ---------------------------------------------------------------------------------------

RecordSet basket(std::initializer_list<int> sec, FieldType type = FieldType::Int32)
{
    RecordSet set;
    set.addField(u"STOKNO"_s, FieldType::Int32);
    set.addField(u"SEC"_s, type);
    for (int s : sec) {
        const int row = set.appendRow();
        set.setInt32(row, 0, row);
        if (s >= 0)
            set.setValue(row, 1, s);
    }
    return set;
}

TEST(RecordSetAnySelected, LeavesCursorOnFirstSelectedRow)
{
    RecordSet third = basket({ 0, 0, 1, 1 });
    EXPECT_TRUE(morvex::anySelected(third));
    EXPECT_EQ(third.currentRow(), 2);

    RecordSet asDouble = basket({ 0, -1, 1 }, FieldType::Double);
    EXPECT_TRUE(morvex::anySelected(asDouble));
    EXPECT_EQ(asDouble.currentRow(), 2);
}

TEST(RecordSetAnySelected, NoneSelectedLeavesCursorPastTheEnd)
{
    RecordSet none = basket({ 0, -1, 2 });
    EXPECT_FALSE(morvex::anySelected(none));
    EXPECT_EQ(none.currentRow(), 3);
    EXPECT_TRUE(none.atEnd());

    RecordSet empty = basket({});
    EXPECT_FALSE(morvex::anySelected(empty));
    EXPECT_FALSE(morvex::hasRows(empty));

    RecordSet noSec = stockResult({ u"A"_s }, 1);
    EXPECT_THROW(morvex::anySelected(noSec), RecordSetError);
}

TEST(RecordSetFloatDisplay, PatternGoesOnDoubleColumnsOnly)
{
    RecordSet set = stockResult({ u"A"_s }, 1);
    const int kdv = set.addField(u"KDV"_s, FieldType::Double);
    const int durum = set.addField(u"DURUM"_s, FieldType::Int32);
    set.setReal(0, 2, 1234567.5);
    set.setReal(0, kdv, 1.005);
    set.setInt32(0, durum, 1234);
    EXPECT_EQ(set.displayText(0, 2, turkish), u"1234567,5"_s);

    morvex::applyFloatDisplayPattern(set);
    EXPECT_EQ(set.field(2).displayPattern, u"#,###,##0.00"_s);
    EXPECT_EQ(set.field(kdv).displayPattern, u"#,###,##0.00"_s);
    EXPECT_TRUE(set.field(0).displayPattern.isEmpty());
    EXPECT_EQ(set.displayText(0, 2, turkish), u"1.234.567,50"_s);
    EXPECT_EQ(set.displayText(0, kdv, turkish), u"1,01"_s);
    EXPECT_EQ(set.displayText(0, durum, turkish), u"1234"_s);
    EXPECT_EQ(set.real(0, 2), 1234567.5) << "the stored value is not changed";

    EXPECT_THROW(set.setDisplayPattern(2, u"0.0#"_s), RecordSetError);
    EXPECT_THROW(set.setDisplayPattern(durum, u"#,##0"_s), RecordSetError);
    set.setDisplayPattern(2, u"#,###,##00.00"_s);
    set.setReal(0, 2, 5);
    EXPECT_EQ(set.displayText(0, 2, turkish), u"05,00"_s);
}

} // namespace

namespace {

TEST(RecordSetColumnReader, ReadsEveryTypeInStoredFormFromAnyRow)
{
    const QChar lone[] = { QChar(u'x'), QChar(char16_t(0xDC00)) };
    const QString texts[] = { u"FREN"_s, u""_s, u"\u015eANZIMAN D\u0130\u015eL\u0130S\u0130"_s, QString(lone, 2),
        u"a\U0001F600"_s };
    RecordSet set;
    set.addField(u"ADI"_s, FieldType::Text);
    set.addField(u"NO"_s, FieldType::Int32);
    set.addField(u"BOY"_s, FieldType::Int64);
    set.addField(u"FIYAT"_s, FieldType::Double);
    set.addField(u"TARIH"_s, FieldType::DateTime);
    set.addField(u"AKTIF"_s, FieldType::Boolean);
    set.addField(u"ICERIK"_s, FieldType::Bytes);
    const int rows = 50; // several marks of the text store
    for (int r = 0; r < rows; ++r) {
        set.appendRow();
        if (r % 7 == 6)
            continue; // a row of nulls
        set.setText(r, 0, texts[r % 5]);
        set.setInt32(r, 1, -r);
        set.setInt64(r, 2, qint64(r) << 40);
        set.setReal(r, 3, r / 4.0);
        set.setDateTime(r, 4, QDateTime(QDate(1969 + r, 12, 31), QTime(23, 59, 59, r)));
        set.setBoolean(r, 5, r % 2 == 1);
        set.setBytes(r, 6, QByteArray(r, char(r)));
    }
    for (const int from : { 0, 17, rows - 1, rows }) {
        std::vector<morvex::ColumnReader> readers;
        for (int c = 0; c < set.fieldCount(); ++c)
            readers.emplace_back(set, c, from);
        for (int r = from; r < rows; ++r) {
            for (auto &reader : readers) {
                ASSERT_FALSE(reader.atEnd());
                EXPECT_EQ(reader.row(), r);
                EXPECT_EQ(reader.isNull(), r % 7 == 6) << r;
            }
            if (r % 7 != 6) {
                const std::string_view text = readers[0].bytes();
                if (readers[0].utf16()) {
                    QString units(qsizetype(text.size() / 2), Qt::Uninitialized);
                    std::memcpy(units.data(), text.data(), text.size());
                    EXPECT_EQ(units, texts[r % 5]) << r;
                } else {
                    EXPECT_EQ(QString::fromUtf8(text.data(), qsizetype(text.size())), texts[r % 5]) << r;
                }
                EXPECT_EQ(readers[1].int32(), -r);
                EXPECT_EQ(readers[2].int64(), qint64(r) << 40);
                EXPECT_EQ(readers[3].real(), r / 4.0);
                EXPECT_EQ(readers[4].dateTimeMs(),
                    QDateTime(QDate(1969 + r, 12, 31), QTime(23, 59, 59, r), Qt::UTC).toMSecsSinceEpoch());
                EXPECT_EQ(readers[5].boolean(), r % 2 == 1);
                EXPECT_EQ(readers[6].bytes(), std::string(std::size_t(r), char(r)));
            }
            for (auto &reader : readers)
                reader.next();
        }
        for (auto &reader : readers) {
            EXPECT_TRUE(reader.atEnd());
            EXPECT_THROW(reader.isNull(), RecordSetError);
        }
    }
    EXPECT_THROW(morvex::ColumnReader(set, 7), RecordSetError);
    EXPECT_THROW(morvex::ColumnReader(set, 0, rows + 1), RecordSetError);
}

TEST(RecordSetColumnReader, Latin1AndMillisecondSettersMatchTheQtForms)
{
    RecordSet set;
    set.addField(u"ADI"_s, FieldType::Text);
    set.addField(u"TARIH"_s, FieldType::DateTime);
    set.addField(u"NO"_s, FieldType::Int32);
    const char *latin1[] = { "", "FREN", "caf\xe9 \xc7\xd6\xdc\xff", "\x80\x81 \xa0" };
    for (int r = 0; r < 40; ++r)
        set.appendRow();
    // Row by row as a decoder fills, then again into rows in the middle.
    for (int pass = 0; pass < 2; ++pass) {
        for (int r = 0; r < 40; ++r) {
            const int row = pass == 0 ? r : 39 - r;
            set.setTextLatin1(row, 0, latin1[(row + pass) % 4]);
        }
        for (int r = 0; r < 40; ++r)
            EXPECT_EQ(set.text(r, 0), QString::fromLatin1(latin1[(r + pass) % 4])) << pass << " " << r;
    }
    EXPECT_FALSE(set.isNull(3, 0)) << "an empty text is not a null";
    EXPECT_EQ(set.text(3, 0), QString());

    const QDateTime samples[] = { QDateTime(QDate(1899, 12, 30), QTime(0, 0)), QDateTime(QDate(1, 1, 1), QTime(0, 0)),
        QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999)), QDateTime(QDate(2024, 3, 31), QTime(12, 30)) };
    for (const QDateTime &dt : samples) {
        const qint64 ms = QDateTime(dt.date(), dt.time(), Qt::UTC).toMSecsSinceEpoch();
        set.setDateTimeMs(5, 1, ms);
        EXPECT_EQ(set.dateTime(5, 1).date(), dt.date());
        EXPECT_EQ(set.dateTime(5, 1).time(), dt.time());
        EXPECT_EQ(morvex::ColumnReader(set, 1, 5).dateTimeMs(), ms);
    }
    // Other column types convert as the general setters do.
    set.setTextLatin1(3, 2, "42");
    EXPECT_EQ(set.int32(3, 2), 42);
    EXPECT_THROW(set.setTextLatin1(3, 2, "4\xe9"), RecordSetError);
}

} // namespace
