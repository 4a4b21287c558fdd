// The record set model and its filter/sort proxy, checked with Qt's model tester.
#include "GridDemo.h"

#include "gui/grid/GridFilterModel.h"
#include "gui/grid/GridTexts.h"
#include "gui/grid/RecordSetModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace morvex;
using namespace Qt::StringLiterals;

class GridModelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }
    void passesModelTesterAttachedAndDetached();
    void displayGoesThroughThePatternRawKeepsTheValue();
    void iconColumnsDescribeTheirValues_data();
    void iconColumnsDescribeTheirValues();
    void headersShowCaptionOrFieldName();
    void missingFieldsAndNullsGiveEmptyCells();
    void sortsByRawValueNotByText();
    void filtersCombineAndListDistinctValues();
    void rowChangedRefreshesOneRow();

private:
    int column(const RecordSetModel &model, const char *field)
    {
        return model.columnOf(QString::fromLatin1(field));
    }
};

void GridModelTest::passesModelTesterAttachedAndDetached()
{
    RecordSet set;
    griddemo::fill(set);
    RecordSetModel model(griddemo::columns());
    GridFilterModel proxy(&model);
    QAbstractItemModelTester sourceTester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester proxyTester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);

    QCOMPARE(model.rowCount(), 0);
    model.setRecordSet(&set);
    QCOMPARE(model.rowCount(), 7);
    QCOMPARE(model.columnCount(), static_cast<int>(griddemo::columns().size()));
    proxy.sort(column(model, "FIYAT"), Qt::DescendingOrder);
    proxy.setColumnFilter(column(model, "MARKA"), { u"Öztürk"_s, u"İnci"_s });
    QCOMPARE(proxy.rowCount(), 4);
    proxy.clearFilters();
    model.setRecordSet(nullptr);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(proxy.rowCount(), 0);
    model.setRecordSet(&set);
    QCOMPARE(proxy.rowCount(), 7);
}

void GridModelTest::displayGoesThroughThePatternRawKeepsTheValue()
{
    RecordSet set;
    griddemo::fill(set);
    RecordSetModel model(griddemo::columns());
    model.setRecordSet(&set);
    const QModelIndex price = model.index(3, column(model, "FIYAT"));
    QCOMPARE(price.data(Qt::DisplayRole).toString(), u"1.000.000,00"_s);
    QCOMPARE(price.data(GridRole::Raw).toDouble(), 1000000.0);
    QCOMPARE(model.index(4, column(model, "FIYAT")).data().toString(), u"0,10"_s);
    QCOMPARE(model.index(0, column(model, "ADI")).data().toString(), u"Şanzıman Yağı 75W-90"_s);
    // Numbers are right-aligned, texts left, icons centred.
    QCOMPARE(price.data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask, int(Qt::AlignRight));
    QCOMPARE(
        model.index(0, column(model, "ADI")).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
        int(Qt::AlignLeft));
    QCOMPARE(
        model.index(0, column(model, "DURUM")).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
        int(Qt::AlignHCenter));
    // Icon, check, progress and picture cells carry no text; the delegate draws them.
    for (const char *field : { "DURUM", "Y", "K", "SEC", "TUR", "ILERI", "RESIM" })
        QVERIFY2(!model.index(0, column(model, field)).data(Qt::DisplayRole).isValid(), field);
    QCOMPARE(model.index(0, column(model, "ILERI")).data(GridRole::Raw).toInt(), 100);
}

void GridModelTest::iconColumnsDescribeTheirValues_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("description");
    const QStringList status { u"Yok"_s, u"Var"_s, u"Telefon Açınız"_s, u"Yolda"_s, u"Özel Sipariş"_s,
        u"Tedarik Sürecinde"_s };
    for (int value = 0; value < 6; ++value)
        QTest::addRow("DURUM %d", value) << u"DURUM"_s << value << status.at(value);
    QTest::newRow("DURUM 6 has no description") << u"DURUM"_s << 6 << QString();
    QTest::newRow("Y 0") << u"Y"_s << 0 << u"Hayır"_s;
    QTest::newRow("Y 1") << u"Y"_s << 1 << u"Evet"_s;
    QTest::newRow("K 0 has no description") << u"K"_s << 0 << QString();
    QTest::newRow("K 1") << u"K"_s << 1 << u"Evet"_s;
}

void GridModelTest::iconColumnsDescribeTheirValues()
{
    QFETCH(QString, field);
    QFETCH(int, value);
    QFETCH(QString, description);
    RecordSet set;
    griddemo::fill(set);
    set.setInt32(0, set.fieldIndex(field), value);
    RecordSetModel model(griddemo::columns());
    model.setRecordSet(&set);
    const QModelIndex cell = model.index(0, model.columnOf(field));
    QCOMPARE(cell.data(Qt::ToolTipRole).toString(), description);
    // Filters and the incremental search compare the description, or the number without one.
    QCOMPARE(cell.data(GridRole::FilterKey).toString(),
        description.isEmpty() ? QString::number(value) : description);
}

void GridModelTest::headersShowCaptionOrFieldName()
{
    std::vector<GridColumn> columns {
        { u"Fiyatı"_s, u"LISTEFIYATI"_s },
        { QString(), u"KDV"_s },
        { .field = u"PKOD"_s, .blankHeader = true },
    };
    RecordSetModel model(columns);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), u"Fiyatı"_s);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), u"KDV"_s);
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QString());
}

void GridModelTest::missingFieldsAndNullsGiveEmptyCells()
{
    RecordSet set;
    griddemo::fill(set);
    auto columns = griddemo::columns();
    columns.push_back({ u"Yok Alan"_s, u"OLMAYAN"_s });
    RecordSetModel model(columns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRecordSet(&set);
    const QModelIndex missing = model.index(0, static_cast<int>(columns.size()) - 1);
    QCOMPARE(missing.data().toString(), QString());
    QVERIFY(!missing.data(GridRole::Raw).isValid());
    // Row 5 has no MARKA and row 2 no note: empty text, invalid raw value, blank filter key.
    const QModelIndex blank = model.index(5, column(model, "MARKA"));
    QCOMPARE(blank.data().toString(), QString());
    QVERIFY(!blank.data(GridRole::Raw).isValid());
    QCOMPARE(blank.data(GridRole::FilterKey).toString(), QString());
}

void GridModelTest::sortsByRawValueNotByText()
{
    RecordSet set;
    griddemo::fill(set);
    RecordSetModel model(griddemo::columns());
    model.setRecordSet(&set);
    GridFilterModel proxy(&model);
    const int price = column(model, "FIYAT");
    proxy.sort(price, Qt::AscendingOrder);
    // As texts "1.000.000,00" < "10,00" < "9,50"; as numbers the order is the reverse.
    QStringList shown;
    for (int row = 0; row < proxy.rowCount(); ++row)
        shown << proxy.index(row, price).data().toString();
    QCOMPARE(shown,
        (QStringList {
            u"0,10"_s, u"9,50"_s, u"10,00"_s, u"89,90"_s, u"456,75"_s, u"1.234,50"_s, u"1.000.000,00"_s }));
    // Sorting off restores the order the rows arrived in.
    proxy.sort(-1);
    QCOMPARE(proxy.index(0, price).data().toString(), u"1.234,50"_s);
}

void GridModelTest::filtersCombineAndListDistinctValues()
{
    RecordSet set;
    griddemo::fill(set);
    RecordSetModel model(griddemo::columns());
    model.setRecordSet(&set);
    GridFilterModel proxy(&model);
    QSignalSpy changed(&proxy, &GridFilterModel::filtersChanged);
    const int brand = column(model, "MARKA");
    const int status = column(model, "DURUM");
    const int isNew = column(model, "Y");

    // Blanks first, then texts in Turkish order (Güneş < İnci < Öztürk).
    QCOMPARE(proxy.distinctKeys(brand), (QStringList { QString(), u"Güneş"_s, u"İnci"_s, u"Öztürk"_s }));
    // Icon columns list descriptions, ordered by the value behind them.
    QCOMPARE(proxy.distinctKeys(status),
        (QStringList { u"Yok"_s, u"Var"_s, u"Telefon Açınız"_s, u"Yolda"_s, u"Özel Sipariş"_s,
            u"Tedarik Sürecinde"_s }));

    proxy.setColumnFilter(isNew, { u"Evet"_s });
    QCOMPARE(proxy.rowCount(), 4);
    // Another column's list only offers what the first filter left.
    QCOMPARE(proxy.distinctKeys(brand), (QStringList { u"Güneş"_s, u"İnci"_s, u"Öztürk"_s }));
    // A column's own filter does not narrow its own list.
    QCOMPARE(proxy.distinctKeys(isNew), (QStringList { u"Hayır"_s, u"Evet"_s }));

    proxy.setColumnFilter(brand, { u"İnci"_s });
    QCOMPARE(proxy.rowCount(), 2);
    proxy.setColumnFilter(brand, { QString() }); // only blanks: none of them is new
    QCOMPARE(proxy.rowCount(), 0);
    proxy.setColumnFilter(isNew, {});
    QCOMPARE(proxy.rowCount(), 1);
    QCOMPARE(proxy.index(0, column(model, "SIRANO")).data().toString(), u"6"_s);

    proxy.clearFilters();
    QCOMPARE(proxy.rowCount(), 7);
    QVERIFY(!proxy.hasAnyFilter());
    QCOMPARE(changed.count(), 5);
    proxy.clearFilters(); // nothing to clear: no signal
    QCOMPARE(changed.count(), 5);
}

void GridModelTest::rowChangedRefreshesOneRow()
{
    RecordSet set;
    griddemo::fill(set);
    RecordSetModel model(griddemo::columns());
    model.setRecordSet(&set);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    set.setInt32(2, set.fieldIndex(u"ILERI"), 64);
    model.rowChanged(2);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 2);
    QCOMPARE(changed.at(0).at(1).toModelIndex().row(), 2);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(model.index(2, column(model, "ILERI")).data(GridRole::Raw).toInt(), 64);
    model.rowChanged(99); // out of range: ignored
    QCOMPARE(changed.count(), 1);
}

QTEST_MAIN(GridModelTest)
#include "grid_model_test.moc"
