// The column header in narrow sections: the filter button on hover and while a filter is on,
// captions on two lines, and the full caption as a tool tip.
#include "GridDemo.h"

#include "gui/grid/DataGrid.h"
#include "gui/grid/GridHeader.h"
#include "gui/grid/RecordSetModel.h"

#include <QApplication>
#include <QListWidget>
#include <QTableView>
#include <QTest>
#include <QToolTip>

using namespace morvex;
using namespace Qt::StringLiterals;

namespace {

struct Fixture
{
    Fixture()
        : grid(griddemo::columns())
    {
        griddemo::fill(set);
        grid.resize(1800, 300);
        grid.show();
        grid.attach(&set);
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        header = grid.gridHeader();
    }
    int col(const char *field) const { return grid.columnOf(QString::fromLatin1(field)); }
    QPoint inSection(int column) const
    {
        return { header->sectionViewportPosition(column) + 6, header->height() / 2 };
    }
    void leave() const
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(header->viewport(), &leave);
    }
    // The colour inside the button's frame, as the header paints it now.
    QColor buttonFill(int column) const
    {
        const QRect button = header->filterButtonRect(column);
        return header->viewport()->grab().toImage().pixelColor(button.left() + 3, button.top() + 3);
    }

    RecordSet set;
    DataGrid grid;
    GridHeader *header = nullptr;
};

const QColor kIdleFill(250, 250, 252);
const QColor kActiveFill(210, 225, 250);

} // namespace

class GridHeaderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filterButtonShowsOnHoverAndStaysForAFilter();
    void toolTipsGiveTheFullCaption();
    void captionLines_data();
    void captionLines();
};

void GridHeaderTest::filterButtonShowsOnHoverAndStaysForAFilter()
{
    Fixture f;
    const int fiyat = f.col("FIYAT");
    const int barkod = f.col("BARKOD");
    const QRect button = f.header->filterButtonRect(fiyat);
    QVERIFY(button.isValid());

    // Not drawn while the mouse is elsewhere: the caption has the section.
    QVERIFY(!f.header->isFilterButtonShown(fiyat));
    QVERIFY(f.buttonFill(fiyat) != kIdleFill);

    // Over the section, the button appears, only there, and opens the drop-down.
    QTest::mouseMove(f.header->viewport(), f.inSection(fiyat));
    QCOMPARE(f.header->hoveredSection(), fiyat);
    QVERIFY(f.header->isFilterButtonShown(fiyat));
    QVERIFY(!f.header->isFilterButtonShown(barkod));
    QCOMPARE(f.buttonFill(fiyat), kIdleFill);
    QTest::mouseClick(f.header->viewport(), Qt::LeftButton, {}, button.center());
    auto *popup = qobject_cast<QListWidget *>(QApplication::activePopupWidget());
    QVERIFY(popup);
    QCOMPARE(f.header->sortIndicatorSection(), -1);

    // The mouse goes down into the list: the section keeps its button until the list closes.
    f.leave();
    QVERIFY(f.header->isFilterButtonShown(fiyat));
    QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, popup->visualItemRect(popup->item(1)).center());
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QCOMPARE(f.grid.columnFilter(fiyat).size(), 1);

    // With a filter on, the button stays, filled, with the mouse away; other sections stay bare.
    QTRY_COMPARE(f.header->openFilter(), -1);
    f.leave();
    QCOMPARE(f.header->hoveredSection(), -1);
    QVERIFY(f.header->isFilterButtonShown(fiyat));
    QCOMPARE(f.buttonFill(fiyat), kActiveFill);
    QVERIFY(!f.header->isFilterButtonShown(barkod));

    f.grid.clearFilters();
    QVERIFY(!f.header->isFilterButtonShown(fiyat));
    QVERIFY(f.buttonFill(fiyat) != kIdleFill);
    QVERIFY(f.buttonFill(fiyat) != kActiveFill);

    // Sections that cannot be filtered never show one, hovered or not.
    const int resim = f.col("RESIM");
    QTest::mouseMove(f.header->viewport(), f.inSection(resim));
    QCOMPARE(f.header->hoveredSection(), resim);
    QVERIFY(!f.header->isFilterButtonShown(resim));
}

void GridHeaderTest::toolTipsGiveTheFullCaption()
{
    Fixture f;
    const RecordSetModel *model = f.grid.recordSetModel();
    const std::vector<GridColumn> columns = griddemo::columns();
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const QVariant tip = model->headerData(c, Qt::Horizontal, Qt::ToolTipRole);
        QCOMPARE(tip.toString(), columns[std::size_t(c)].headerText());
    }
    QCOMPARE(model->headerData(f.col("ILERI"), Qt::Horizontal, Qt::ToolTipRole).toString(), u"ILERI"_s);
    GridColumn blank;
    blank.field = u"PKOD"_s;
    blank.blankHeader = true;
    RecordSetModel blankModel({ blank });
    QVERIFY(!blankModel.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());

    // A narrow section elides its caption; hovering it shows the whole caption.
    const int kampanya = f.col("K");
    f.grid.setColumnWidth(kampanya, 30);
    const QPoint at = f.inSection(kampanya);
    QHelpEvent help(QEvent::ToolTip, at, f.header->viewport()->mapToGlobal(at));
    QApplication::sendEvent(f.header->viewport(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), u"Kampanyalı"_s);
    QToolTip::hideText();
}

void GridHeaderTest::captionLines_data()
{
    // Widths are given by a text whose advance they equal, plus a few pixels.
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("widthOf");
    QTest::addColumn<int>("extra");
    QTest::addColumn<int>("maxLines");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("fits on one line") << u"Yeni"_s << u"Yeni"_s << 0 << 2 << QStringList { u"Yeni"_s };
    QTest::newRow("words on two lines")
        << u"KDV Dahil Fiyat"_s << u"KDV Dahil"_s << 2 << 2 << QStringList { u"KDV Dahil"_s, u"Fiyat"_s };
    QTest::newRow("blanks collapse") << u"  İndirim   Oran "_s << u"İndirim"_s << 1 << 2
                                     << QStringList { u"İndirim"_s, u"Oran"_s };
    QTest::newRow("a long word splits near the middle")
        << u"Durum"_s << u"Duru"_s << 0 << 2 << QStringList { u"Dur"_s, u"um"_s };
    QTest::newRow("a long word fills the line, the rest elided")
        << u"ALINANSIPARIS"_s << u"ALINA"_s << 0 << 2 << QStringList { u"ALINA"_s, u"NSI…"_s };
    QTest::newRow("a word too long for its line is elided")
        << u"İndirim Oran"_s << u"İndi…"_s << 1 << 2 << QStringList { u"İndi…"_s, u"Oran"_s };
    QTest::newRow("three lines' worth, the last elided")
        << u"Son Sipariş Tarihi ve Saati"_s << u"Son Sipariş"_s << 1 << 2
        << QStringList { u"Son Sipariş"_s, u"Tarihi ve …"_s };
    QTest::newRow("nothing but the ellipsis left for the second line")
        << u"Kampanyalı"_s << u"K…"_s << 1 << 2 << QStringList { u"K…"_s };
    QTest::newRow("too narrow to end the first line in the ellipsis")
        << u"Kampanyalı"_s << u"Ka"_s << 1 << 2 << QStringList { u"Ka"_s, u"…"_s };
    QTest::newRow("a long word in a narrow section")
        << u"Kampanyalı"_s << u"Ka…"_s << 0 << 2 << QStringList { u"Kam"_s, u"pa…"_s };
    QTest::newRow("a one-letter last word")
        << u"Vitamin A"_s << u"Vitamin"_s << 0 << 2 << QStringList { u"Vitamin"_s, u"A"_s };
    QTest::newRow("one line only") << u"KDV Dahil Fiyat"_s << u"KDV Dahil"_s << 2 << 1
                                   << QStringList { u"KDV Da…"_s };
    QTest::newRow("empty caption") << QString() << u"Yeni"_s << 0 << 2 << QStringList {};
    QTest::newRow("no room") << u"Yeni"_s << QString() << 0 << 2 << QStringList {};
}

void GridHeaderTest::captionLines()
{
    QFETCH(QString, caption);
    QFETCH(QString, widthOf);
    QFETCH(int, extra);
    QFETCH(int, maxLines);
    QFETCH(QStringList, expected);
    QFont font(u"DejaVu Sans"_s);
    font.setPixelSize(12);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(widthOf) + extra;
    const QStringList lines = GridHeader::captionLines(caption, font, width, maxLines);
    QCOMPARE(lines, expected);
    for (const QString &line : lines)
        QVERIFY2(metrics.horizontalAdvance(line) <= width, qPrintable(line));
}

QTEST_MAIN(GridHeaderTest)
#include "grid_header_test.moc"
