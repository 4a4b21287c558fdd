// The grid widget: sizing on resize, chooser, footer, filters, incremental search, focus,
// buttons, and detaching for a refill.
#include "GridDemo.h"

#include "gui/grid/ColumnChooser.h"
#include "gui/grid/DataGrid.h"
#include "gui/grid/GridDelegate.h"
#include "gui/grid/GridFilterModel.h"
#include "gui/grid/GridHeader.h"
#include "gui/grid/RecordSetModel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace morvex;
using namespace Qt::StringLiterals;

namespace {

class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

struct Fixture
{
    explicit Fixture(GridOptions options = {})
        : grid(griddemo::columns(), options)
    {
        griddemo::fill(set);
        grid.resize(1000, 420);
        grid.show();
        grid.attach(&set);
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
    }
    int col(const char *field) const { return grid.columnOf(QString::fromLatin1(field)); }
    QModelIndex shown(int row, const char *field) const
    {
        return grid.view()->model()->index(row, col(field));
    }
    void type(const QString &text)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, grid.view(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void key(Qt::Key key) { QTest::keyClick(grid.view(), key); }

    RecordSet set;
    DataGrid grid;
};

int scrollBarHeight(const QWidget &widget)
{
    return widget.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &widget);
}

} // namespace

class GridWidgetTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }
    void tintsHeightsAndFontFollowTheOptions_data();
    void tintsHeightsAndFontFollowTheOptions();
    void weightsApplyOnResizeOnlyWhileAttached();
    void wideScreenRuleFitsContentOnSmallScreens();
    void stretchFillsTheViewport();
    void chooserListsOnlyOfferedColumns();
    void footerCountsSumsAndCustomValues();
    void footerOfAStatement();
    void headerFilterDropDown();
    void incrementalSearchInTheFocusedColumn();
    void focusedRowIsNotTheRecordSetCursor();
    void buttonsAndDoubleClicksReportSourceRows();
    void refillWhileDetachedRepaintsOnce();
};

void GridWidgetTest::tintsHeightsAndFontFollowTheOptions_data()
{
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<int>("headerHeight");
    QTest::addColumn<QColor>("second");
    QTest::addColumn<QColor>("third");
    QTest::newRow("stock grid") << false << 40 << 40 << QColor(237, 245, 255) << QColor(224, 232, 241);
    QTest::newRow("campaign grid") << true << 40 << 40 << QColor(224, 232, 241) << QColor(237, 245, 255);
    QTest::newRow("small rows") << false << 22 << 30 << QColor(237, 245, 255) << QColor(224, 232, 241);
}

void GridWidgetTest::tintsHeightsAndFontFollowTheOptions()
{
    QFETCH(bool, reverse);
    QFETCH(int, rowHeight);
    QFETCH(int, headerHeight);
    QFETCH(QColor, second);
    QFETCH(QColor, third);
    GridOptions options;
    options.reverseTints = reverse;
    options.rowHeight = rowHeight;
    options.headerHeight = headerHeight;
    options.font = QFont(u"DejaVu Sans"_s, 8);
    Fixture f(options);
    QTableView *view = f.grid.view();
    QCOMPARE(view->rowHeight(1), rowHeight);
    QCOMPARE(view->horizontalHeader()->height(), headerHeight);
    QCOMPARE(view->font().pointSize(), 8);
    QCOMPARE(f.grid.gridHeader()->font().pointSize(), 8);
    // Rows 1 and 2 (row 0 is focused and highlighted), sampled at the right end of a text cell.
    const QImage image = view->viewport()->grab().toImage();
    auto sample = [&](int row) {
        const QRect cell = view->visualRect(f.shown(row, "BARKOD"));
        return image.pixelColor(cell.right() - 3, cell.center().y());
    };
    QCOMPARE(sample(1), second);
    QCOMPARE(sample(2), third);
}

void GridWidgetTest::weightsApplyOnResizeOnlyWhileAttached()
{
    GridOptions options;
    options.sizing = sizing::Rule::WeightsLessScrollBar;
    Fixture f(options);
    auto expectWidths = [&](int gridWidth) {
        const std::vector<int> visible = f.grid.visibleColumns();
        int sum = 0;
        for (int column : visible)
            sum += f.grid.gridColumn(column).weight;
        const int unit = (gridWidth - scrollBarHeight(f.grid) - 10) / sum;
        for (int column : visible)
            QCOMPARE(f.grid.columnWidth(column), f.grid.gridColumn(column).weight * unit);
    };
    f.grid.resize(1000, 420);
    f.grid.sizeColumns();
    expectWidths(1000);
    const int hiddenWidth = f.grid.columnWidth(f.col("MARKA"));

    f.grid.detach();
    f.grid.resize(1400, 420);
    f.grid.attach(&f.set); // a load does not size
    expectWidths(1000);
    f.grid.sizeColumns(); // the screen does once the load is over
    expectWidths(1400);
    f.grid.resize(1200, 420);
    expectWidths(1200);
    QCOMPARE(f.grid.columnWidth(f.col("MARKA")), hiddenWidth);
    f.grid.setEnabled(false); // a disabled grid is loading too
    f.grid.resize(1100, 420);
    expectWidths(1200);
    f.grid.setEnabled(true);
    f.grid.resize(1150, 420);
    expectWidths(1150);

    // Showing a column shares the width anew.
    f.grid.setColumnShown(f.col("MARKA"), true);
    expectWidths(1150);
}

void GridWidgetTest::wideScreenRuleFitsContentOnSmallScreens()
{
    GridOptions options;
    options.sizing = sizing::Rule::WeightsOnWideScreen;
    Fixture f(options);
    f.grid.setScreenWidth(1153);
    f.grid.resize(1290, 420);
    f.grid.sizeColumns();
    const int unit = (1290 - 30) / 20; // the visible demo weights add up to 20
    QCOMPARE(f.grid.columnWidth(f.col("ADI")), 3 * unit);
    QCOMPARE(f.grid.columnWidth(f.col("MIKTAR")), 1 * unit);

    f.grid.setScreenWidth(1152);
    f.grid.sizeColumns();
    const QFontMetrics metrics(f.grid.view()->font());
    const int description = f.grid.columnWidth(f.col("ADI"));
    QVERIFY(description >= metrics.horizontalAdvance(u"Şanzıman Yağı 75W-90"_s));
    QVERIFY(description < metrics.horizontalAdvance(u"Şanzıman Yağı 75W-90"_s) + 30);
    // The quantity column is as wide as its header with the filter button, not a weight share.
    QVERIFY(f.grid.columnWidth(f.col("MIKTAR")) != unit);
}

void GridWidgetTest::stretchFillsTheViewport()
{
    GridOptions options;
    options.sizing = sizing::Rule::Stretch;
    Fixture f(options);
    for (int width : { 900, 1300, 700 }) {
        f.grid.resize(width, 420);
        QCoreApplication::processEvents();
        int total = 0;
        for (int column : f.grid.visibleColumns())
            total += f.grid.columnWidth(column);
        QCOMPARE(total, f.grid.view()->viewport()->width());
        QCOMPARE(f.grid.view()->horizontalScrollBar()->maximum(), 0);
    }
}

void GridWidgetTest::chooserListsOnlyOfferedColumns()
{
    Fixture f;
    ColumnChooser *chooser = f.grid.showColumnChooser();
    auto listed = [&] {
        QStringList captions;
        for (int i = 0; i < chooser->list()->count(); ++i)
            captions << chooser->list()->item(i)->text();
        return captions;
    };
    auto item = [&](const QString &caption) {
        return chooser->list()->findItems(caption, Qt::MatchExactly).value(0);
    };
    // "Sıra", "Seç" and "İndir" are not offered; the progress column is listed by its field.
    QCOMPARE(listed(),
        (QStringList { u"Barkod"_s, u"Açıklama"_s, u"Marka"_s, u"Fiyat"_s, u"Miktar"_s, u"Durum"_s, u"Yeni"_s,
            u"Kampanyalı"_s, u"Tür"_s, u"ILERI"_s, u"Resim"_s, u"Not"_s, u"Tarih"_s }));
    QCOMPARE(item(u"Marka"_s)->checkState(), Qt::Unchecked);
    QCOMPARE(item(u"Açıklama"_s)->checkState(), Qt::Checked);

    item(u"Marka"_s)->setCheckState(Qt::Checked);
    QVERIFY(f.grid.isColumnShown(f.col("MARKA")));
    item(u"Açıklama"_s)->setCheckState(Qt::Unchecked);
    QVERIFY(!f.grid.isColumnShown(f.col("ADI")));

    // The role rules: withdraw "Durum" (hidden and gone from the list), grant "Seç".
    f.grid.setColumnAvailable(f.col("DURUM"), false);
    f.grid.setColumnAvailable(f.col("SEC"), true);
    QVERIFY(!f.grid.isColumnShown(f.col("DURUM")));
    QVERIFY(f.grid.isColumnShown(f.col("SEC")));
    QVERIFY(!listed().contains(u"Durum"_s));
    QVERIFY(listed().contains(u"Seç"_s));
    // Shown from code without being offered: visible, still not in the list.
    f.grid.setColumnShown(f.col("SIRANO"), true);
    QVERIFY(f.grid.isColumnShown(f.col("SIRANO")));
    QVERIFY(!listed().contains(u"Sıra"_s));
}

void GridWidgetTest::footerCountsSumsAndCustomValues()
{
    Fixture f;
    f.grid.setFooterSummaries({
        { u"BARKOD"_s, SummaryKind::Count },
        { u"FIYAT"_s, SummaryKind::Sum },
        { u"ILERI"_s, SummaryKind::Sum },
        { u"MIKTAR"_s, SummaryKind::Custom,
            [](const FooterValues &values) -> QString {
                return QString::number(values.sum(u"MIKTAR") / values.count(), 'f', 2);
            } },
    });
    QCOMPARE(f.grid.footerText(f.col("BARKOD")), u"7"_s);
    QCOMPARE(f.grid.footerText(f.col("FIYAT")), u"1.001.800,75"_s); // through the field's pattern
    QCOMPARE(f.grid.footerText(f.col("ILERI")), u"379"_s);
    QCOMPARE(f.grid.footerText(f.col("MIKTAR")), u"39.36"_s); // 275.5 / 7
    QCOMPARE(f.grid.footerText(f.col("ADI")), QString());

    // The footer follows the rows the grid shows.
    f.grid.setColumnFilter(f.col("Y"), { u"Evet"_s });
    QCOMPARE(f.grid.footerText(f.col("BARKOD")), u"4"_s);
    QCOMPARE(f.grid.footerText(f.col("FIYAT")), u"1.334,50"_s);
    f.grid.clearFilters();
    QCOMPARE(f.grid.footerText(f.col("BARKOD")), u"7"_s);

    // A refill while detached shows the new totals after attaching.
    f.grid.detach();
    f.set.removeRow(0);
    f.grid.attach(&f.set);
    QCOMPARE(f.grid.footerText(f.col("BARKOD")), u"6"_s);
    QCOMPARE(f.grid.footerText(f.col("FIYAT")), u"1.000.566,25"_s);
    // A value changed in place (a progress update) is summed again.
    f.set.setInt32(0, f.set.fieldIndex(u"ILERI"), 100);
    f.grid.rowChanged(0);
    QCOMPARE(f.grid.footerText(f.col("ILERI")), u"334"_s);
}

void GridWidgetTest::footerOfAStatement()
{
    // Debit and credit sums, the balance under "Bakiye" and its side under "D".
    const std::vector<GridColumn> columns {
        { u"Borç"_s, u"BORC"_s },
        { u"Alacak"_s, u"ALACAK"_s },
        { u"Bakiye"_s, u"BAKIYE"_s },
        { QString(), u"D"_s, 1, col::Shown, col::Offered, ColumnKind::Text, Qt::AlignHCenter },
    };
    auto balance = [](const FooterValues &values) { return values.sum(u"BORC") - values.sum(u"ALACAK"); };
    RecordSet set;
    for (const char *name : { "BORC", "ALACAK", "BAKIYE" })
        set.addField(QString::fromLatin1(name), FieldType::Double);
    set.addField(u"D"_s, FieldType::Text);
    applyFloatDisplayPattern(set);
    DataGrid grid(columns);
    grid.setFooterSummaries({
        { u"BORC"_s, SummaryKind::Sum },
        { u"ALACAK"_s, SummaryKind::Sum },
        { u"BAKIYE"_s, SummaryKind::Custom,
            [&](const FooterValues &v) { return plainNumberText(balance(v)); } },
        { u"D"_s, SummaryKind::Custom,
            [&](const FooterValues &v) {
                const double b = balance(v);
                return b > 0 ? u"B"_s : b < 0 ? u"A"_s : u" "_s;
            } },
    });
    grid.attach(&set);
    QCOMPARE(grid.footerText(0), u"0,00"_s);
    QCOMPARE(grid.footerText(2), u"0"_s);
    QCOMPARE(grid.footerText(3), u" "_s);

    grid.detach();
    for (auto [debit, credit] : { std::pair { 100.0, 0.0 }, { 0.0, 30.0 }, { 0.0, 70.0 }, { 0.0, 10.0 } }) {
        const int row = set.appendRow();
        set.setReal(row, 0, debit);
        set.setReal(row, 1, credit);
    }
    applyFloatDisplayPattern(set);
    grid.attach(&set);
    QCOMPARE(grid.footerText(0), u"100,00"_s);
    QCOMPARE(grid.footerText(1), u"110,00"_s);
    QCOMPARE(grid.footerText(2), u"-10"_s);
    QCOMPARE(grid.footerText(3), u"A"_s);
}

void GridWidgetTest::headerFilterDropDown()
{
    GridOptions options;
    options.userSorting = true;
    Fixture f(options);
    f.grid.setColumnShown(f.col("MARKA"), true);
    QCoreApplication::processEvents();

    // A click on the filter button opens the drop-down and does not sort.
    GridHeader *header = f.grid.gridHeader();
    const QRect button = header->filterButtonRect(f.col("MARKA"));
    QVERIFY(button.isValid());
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, button.center());
    auto *popup = qobject_cast<QListWidget *>(QApplication::activePopupWidget());
    QVERIFY(popup);
    QCOMPARE(header->sortIndicatorSection(), -1);
    QStringList entries;
    for (int i = 0; i < popup->count(); ++i)
        entries << popup->item(i)->text();
    QCOMPARE(entries, (QStringList { u"(Tümü)"_s, u"(Boş)"_s, u"Güneş"_s, u"İnci"_s, u"Öztürk"_s }));

    QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, popup->visualItemRect(popup->item(3)).center());
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QCOMPARE(f.grid.shownRowCount(), 2);
    QCOMPARE(f.grid.columnFilter(f.col("MARKA")), QStringList { u"İnci"_s });

    // A second filter narrows further; one call clears them all.
    f.grid.setColumnFilter(f.col("DURUM"), { u"Var"_s });
    QCOMPARE(f.grid.shownRowCount(), 1);
    f.grid.clearFilters();
    QCOMPARE(f.grid.shownRowCount(), 7);
    QVERIFY(f.grid.columnFilter(f.col("MARKA")).isEmpty());

    // "(Tümü)" removes the column's filter.
    f.grid.setColumnFilter(f.col("MARKA"), { u"Güneş"_s });
    auto *again = qobject_cast<QListWidget *>(f.grid.showFilterPopup(f.col("MARKA")));
    QVERIFY(again);
    QCOMPARE(again->currentItem()->text(), u"Güneş"_s);
    QTest::mouseClick(again->viewport(), Qt::LeftButton, {}, again->visualItemRect(again->item(0)).center());
    QCOMPARE(f.grid.shownRowCount(), 7);

    // Button and picture columns have no drop-down.
    QVERIFY(!header->filterButtonRect(f.col("RESIM")).isValid());
    QVERIFY(!f.grid.showFilterPopup(f.col("RESIM")));
}

void GridWidgetTest::incrementalSearchInTheFocusedColumn()
{
    Fixture f;
    f.grid.view()->setFocus();
    f.grid.view()->setCurrentIndex(f.shown(0, "ADI"));

    f.type(u"ü"_s);
    QCOMPARE(f.grid.focusedRow(), 5); // "Üst Bağlantı Kolu"
    f.type(u"st b"_s);
    QCOMPARE(f.grid.focusedRow(), 5);
    QCOMPARE(f.grid.searchText(), u"üst b"_s);
    f.type(u"x"_s); // matches nothing: the focus stays and the text does not grow
    QCOMPARE(f.grid.focusedRow(), 5);
    QCOMPARE(f.grid.searchText(), u"üst b"_s);
    f.key(Qt::Key_Backspace);
    QCOMPARE(f.grid.searchText(), u"üst "_s);
    f.key(Qt::Key_Escape);
    QCOMPARE(f.grid.searchText(), QString());

    // Searching goes on from the focused row; dotted and dotless i find each other.
    f.type(u"i"_s);
    QCOMPARE(f.grid.focusedRow(), 6); // "İç Dikiz Aynası"
    f.key(Qt::Key_Home); // moving the focus ends the search
    QCOMPARE(f.grid.searchText(), QString());
    f.grid.view()->setCurrentIndex(f.shown(0, "ADI"));
    f.type(u"ış"_s);
    QCOMPARE(f.grid.focusedRow(), 3); // "Işık Anahtarı"
    f.key(Qt::Key_Escape);
    f.type(u"ĞC"_s);
    QCOMPARE(f.grid.focusedRow(), 4); // "Ğ Contası" does not match "ğc"
    QCOMPARE(f.grid.searchText(), u"Ğ"_s);
    f.key(Qt::Key_Escape);

    // Another column: barcodes, then the status icons by their description.
    f.grid.view()->setCurrentIndex(f.shown(0, "BARKOD"));
    f.type(u"8690004"_s);
    QCOMPARE(f.grid.focusedRow(), 3);
    f.key(Qt::Key_Escape);
    f.grid.view()->setCurrentIndex(f.shown(0, "DURUM"));
    f.type(u"tel"_s);
    QCOMPARE(f.grid.focusedRow(), 2); // "Telefon Açınız"
    QCOMPARE(f.grid.view()->currentIndex().column(), f.col("DURUM"));
    QCOMPARE(f.set.currentRow(), -1); // the record set's cursor never moves
}

void GridWidgetTest::focusedRowIsNotTheRecordSetCursor()
{
    Fixture f;
    QSignalSpy focused(&f.grid, &DataGrid::focusedRowChanged);
    f.set.setCurrentRow(5);
    QCOMPARE(f.grid.focusedRow(), 0); // attaching focuses the first row

    QVERIFY(f.grid.focusRow(2));
    QCOMPARE(f.grid.focusedValue(u"SIRANO"), QVariant(3));
    QCOMPARE(f.grid.focusedValue(u"sirano"), QVariant(3));
    QCOMPARE(focused.takeLast().at(0).toInt(), 2);
    QCOMPARE(f.set.currentRow(), 5);

    // Sorted by price the rows change places; the focus stays on the same record.
    f.grid.view()->sortByColumn(f.col("FIYAT"), Qt::AscendingOrder);
    QCOMPARE(f.grid.focusedRow(), 2);
    f.grid.view()->setFocus();
    f.key(Qt::Key_Down); // 89,90 -> 456,75 in price order
    QCOMPARE(f.grid.focusedRow(), 1);
    QCOMPARE(f.grid.focusedValue(u"FIYAT").toDouble(), 456.75);
    QCOMPARE(f.set.currentRow(), 5);

    // A filtered-out row cannot be focused; detaching leaves no focused row.
    f.grid.setColumnFilter(f.col("Y"), { u"Evet"_s });
    QVERIFY(!f.grid.focusRow(1));
    f.grid.detach();
    QCOMPARE(f.grid.focusedRow(), -1);
    QVERIFY(!f.grid.focusedValue(u"SIRANO").isValid());
    QCOMPARE(focused.takeLast().at(0).toInt(), -1);
}

void GridWidgetTest::buttonsAndDoubleClicksReportSourceRows()
{
    Fixture f;
    QSignalSpy buttons(&f.grid, &DataGrid::buttonClicked);
    QSignalSpy activated(&f.grid, &DataGrid::rowActivated);
    f.grid.view()->sortByColumn(f.col("FIYAT"), Qt::DescendingOrder); // shown row 1 is source row 0
    QTableView *view = f.grid.view();

    const int button = 11; // "İndir", the only column without a field
    const QRect buttonCell = view->visualRect(view->model()->index(1, button));
    QVERIFY(buttonCell.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, GridDelegate::buttonRect(buttonCell).center());
    QCOMPARE(buttons.count(), 1);
    QCOMPARE(buttons.at(0).at(0).toInt(), button);
    QCOMPARE(buttons.at(0).at(1).toInt(), 0);
    QCOMPARE(f.grid.focusedRow(), 0); // the click also focused the row
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, buttonCell.topLeft() + QPoint(1, 1));
    QCOMPARE(buttons.count(), 1); // beside the button: no click
    QVERIFY(activated.isEmpty());

    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(f.shown(3, "ADI")).center());
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0).at(0).toInt(), 2); // 89,90 is the fourth price from the top
}

void GridWidgetTest::refillWhileDetachedRepaintsOnce()
{
    Fixture f;
    GridFilterModel *proxy = f.grid.filterModel();
    QAbstractItemModelTester tester(proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(proxy, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(proxy, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(proxy, &QAbstractItemModel::dataChanged);
    QSignalSpy layout(proxy, &QAbstractItemModel::layoutChanged);
    PaintCounter counter(f.grid.view()->viewport());
    QTest::qWait(50);

    f.grid.detach();
    QCOMPARE(resets.count(), 1);
    counter.paints = 0;
    // A worker would fill the set now; the grid neither reads nor draws it.
    f.set.clearRows();
    f.set.reserveRows(100000);
    for (int i = 0; i < 100000; ++i) {
        const int row = f.set.appendRow();
        f.set.setInt32(row, 0, i);
        f.set.setText(row, 2, u"Satır "_s + QString::number(i));
        f.set.setReal(row, 4, i * 1.5);
        f.set.setInt32(row, 6, i % 6);
    }
    f.grid.view()->viewport()->update();
    f.grid.resize(1100, 440);
    QTest::qWait(50);
    QCOMPARE(counter.paints, 0);
    QCOMPARE(f.grid.view()->model()->rowCount(), 0);

    f.grid.attach(&f.set);
    QTRY_COMPARE(counter.paints, 1);
    QTest::qWait(100);
    QCOMPARE(counter.paints, 1);
    QCOMPARE(resets.count(), 2);
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(layout.count(), 0);
    QCOMPARE(f.grid.shownRowCount(), 100000);
    QCOMPARE(f.grid.focusedRow(), 0);
}

QTEST_MAIN(GridWidgetTest)
#include "grid_widget_test.moc"
