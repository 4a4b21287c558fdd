// What attaching a record set costs the grid: the model reset (with the filter proxy and the
// first row focused) and the first paint of the view, offscreen, for a 1,000-row and a
// 100,000-row stock list side by side. The grid is the stock list's: 32 declared columns, 15 of
// them shown, a row count in the footer.
//
//   bench_grid [repetitions]     (QT_QPA_PLATFORM=offscreen is set by the program)

#include "core/data/NumberFormat.h"
#include "core/data/RecordSet.h"
#include "gui/grid/DataGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace morvex;
using namespace Qt::StringLiterals;

namespace {

// The stock list's columns, in display order.
const GridColumn kStockColumns[] = {
    { u"Barkod"_s, u"BARKOD"_s, 2, col::Shown, col::Offered },
    { u"Kod"_s, u"FINISHKOD"_s, 2, col::Shown, col::Offered },
    { u"Oem1"_s, u"OEM1"_s, 2, col::Hidden, col::NotOffered },
    { u"Oem2"_s, u"OEM2"_s, 2, col::Hidden, col::NotOffered },
    { u"Oem3"_s, u"OEM3"_s, 2, col::Hidden, col::NotOffered },
    { u"Açıklama"_s, u"ADI"_s, 3, col::Shown, col::Offered },
    { u"Oem4"_s, u"OEM4"_s, 2, col::Hidden, col::NotOffered },
    { QString(), u"STOK_STOKNO"_s, 1, col::Hidden, col::NotOffered },
    { u"Üretici Kod"_s, u"URETICIKODU"_s, 2, col::Hidden, col::Offered },
    { QString(), u"BARKOD_BARKODNO"_s, 1, col::Hidden, col::NotOffered },
    { u"Diğer Adı"_s, u"DIGERADI"_s, 3, col::Hidden, col::Offered },
    { QString(), u"DPKOD"_s, 2, col::Hidden, col::NotOffered },
    { u"Oem No"_s, u"OEMNO"_s, 2, col::Hidden, col::Offered },
    { u"Birim"_s, u"BIRIM"_s, 1, col::Hidden, col::Offered },
    { u"Marka"_s, u"MARKA"_s, 2, col::Shown, col::Offered },
    { u"Model"_s, u"MODEL"_s, 2, col::Shown, col::Offered },
    { u"Ana Grup"_s, u"ANAGRUP"_s, 2, col::Shown, col::Offered },
    { u"Özel Kod"_s, u"OZELKOD"_s, 2, col::Shown, col::Offered },
    { QString(), u"KALAN"_s, 1, col::Hidden, col::NotOffered },
    { .field = u"PKOD"_s,
        .weight = 1,
        .shown = col::Hidden,
        .offered = col::NotOffered,
        .blankHeader = true },
    { QString(), u"KDV"_s, 1, col::Hidden, col::Offered },
    { QString(), u"ALINANSIPARIS"_s, 1, col::Hidden, col::NotOffered },
    { QString(), u"VERILENSIPARIS"_s, 1, col::Hidden, col::NotOffered },
    { u"Fiyatı"_s, u"LISTEFIYATI"_s, 2, col::Shown, col::Offered, ColumnKind::Number, Qt::AlignRight },
    { QString(), u"MALIYET"_s, 1, col::Hidden, col::NotOffered, ColumnKind::Text, Qt::AlignRight },
    { u"Liste Fiyatı"_s, u"FIYAT"_s, 2, col::Shown, col::Offered },
    { u"Yeni"_s, u"Y"_s, 1, col::Shown, col::Offered, ColumnKind::YesNo },
    { u"Kampanyalı"_s, u"K"_s, 1, col::Shown, col::Offered, ColumnKind::Campaign },
    { u"İndirim Oran"_s, u"INDIRIM"_s, 1, col::Shown, col::Offered },
    { u"Net Fiyatı"_s, u"NETFIYAT"_s, 2, col::Shown, col::Offered },
    { u"KDV Dahil Fiyat"_s, u"KDVDAHIL"_s, 2, col::Shown, col::Offered },
    { u"Durum"_s, u"DURUM"_s, 1, col::Shown, col::Offered, ColumnKind::StockStatus },
};

void fillStock(RecordSet &set, int rows)
{
    const QStringList brands { u"BOSCH"_s, u"VALEO"_s, u"SACHS"_s, u"FEBİ"_s, u"MANN"_s, u"ÖZTÜRK"_s };
    const QStringList models { u"DOBLO"_s, u"LİNEA"_s, u"FIESTA"_s, u"CLIO"_s, u"ŞAHİN"_s };
    for (const GridColumn &column : kStockColumns) {
        const QString &f = column.field;
        FieldType type = FieldType::Text;
        if (f == u"STOK_STOKNO" || f == u"BARKOD_BARKODNO" || f == u"KDV" || f == u"Y" || f == u"K"
            || f == u"DURUM")
            type = FieldType::Int32;
        else if (f == u"KALAN" || f == u"ALINANSIPARIS" || f == u"VERILENSIPARIS" || f == u"LISTEFIYATI"
            || f == u"FIYAT" || f == u"INDIRIM" || f == u"NETFIYAT" || f == u"KDVDAHIL")
            type = FieldType::Double;
        set.addField(f, type);
    }
    set.reserveRows(rows);
    for (int i = 0; i < rows; ++i) {
        const int row = set.appendRow();
        for (int c = 0; c < set.fieldCount(); ++c) {
            const FieldDef &field = set.field(c);
            switch (field.type) {
            case FieldType::Int32:
                set.setInt32(row, c, field.name == u"DURUM" ? i % 6 : field.name.size() == 1 ? i % 2 : i);
                break;
            case FieldType::Double:
                set.setReal(row, c, 10.0 + (i % 9973) * 1.37);
                break;
            default:
                if (field.name == u"ADI")
                    set.setText(row, c, u"Fren Balatası Ön Takım "_s + QString::number(i));
                else if (field.name == u"MARKA")
                    set.setText(row, c, brands.at(i % brands.size()));
                else if (field.name == u"MODEL")
                    set.setText(row, c, models.at(i % models.size()));
                else
                    set.setText(row, c, field.name.left(3) + QString::number(100000 + i));
            }
        }
    }
    applyFloatDisplayPattern(set);
}

class PaintFlag : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

struct Sample
{
    double attachMs;
    double paintMs;
    double repaintMs; // a later full repaint of the viewport, for comparison
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::vector<Sample> measure(DataGrid &grid, const RecordSet &set, int repetitions)
{
    PaintFlag flag;
    grid.view()->viewport()->installEventFilter(&flag);
    std::vector<Sample> samples;
    for (int i = 0; i < repetitions; ++i) {
        grid.detach();
        QCoreApplication::processEvents();
        flag.painted = false;
        QElapsedTimer timer;
        timer.start();
        grid.attach(&set);
        const qint64 attached = timer.nsecsElapsed();
        while (!flag.painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const qint64 painted = timer.nsecsElapsed();
        QCoreApplication::processEvents();
        timer.restart();
        grid.view()->viewport()->repaint();
        samples.push_back({ attached / 1e6, (painted - attached) / 1e6, timer.nsecsElapsed() / 1e6 });
    }
    grid.view()->viewport()->removeEventFilter(&flag);
    return samples;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 21;

    RecordSet small;
    RecordSet large;
    fillStock(small, 1000);
    fillStock(large, 100000);

    GridOptions options;
    options.sizing = sizing::Rule::WeightsLessScrollBar;
    DataGrid grid(kStockColumns, options);
    grid.setFooterSummaries({ { u"FINISHKOD"_s, SummaryKind::Count }, { u"BARKOD"_s, SummaryKind::Count } });
    grid.resize(1280, 800);
    grid.show();
    grid.attach(&small);
    grid.sizeColumns();
    QCoreApplication::processEvents();

    // Interleaved so that both sizes see the same machine state.
    std::vector<double> attachSmall, paintSmall, attachLarge, paintLarge, repaintSmall, repaintLarge;
    for (int i = 0; i < repetitions; ++i) {
        for (const Sample &s : measure(grid, small, 1)) {
            attachSmall.push_back(s.attachMs);
            paintSmall.push_back(s.paintMs);
            repaintSmall.push_back(s.repaintMs);
        }
        for (const Sample &s : measure(grid, large, 1)) {
            attachLarge.push_back(s.attachMs);
            paintLarge.push_back(s.paintMs);
            repaintLarge.push_back(s.repaintMs);
        }
    }
    const double smallTotal = median(attachSmall) + median(paintSmall);
    const double largeTotal = median(attachLarge) + median(paintLarge);
    std::printf(
        "grid attach, median of %d runs (ms)  reset+focus  first paint    total  | viewport repaint\n",
        repetitions);
    std::printf("  1,000 rows                       %10.3f  %11.3f  %7.3f  | %8.3f\n", median(attachSmall),
        median(paintSmall), smallTotal, median(repaintSmall));
    std::printf("  100,000 rows                     %10.3f  %11.3f  %7.3f  | %8.3f\n", median(attachLarge),
        median(paintLarge), largeTotal, median(repaintLarge));
    std::printf("  ratio 100,000 / 1,000            %10.2f  %11.2f  %7.2f  | %8.2f\n",
        median(attachLarge) / median(attachSmall), median(paintLarge) / median(paintSmall),
        largeTotal / smallTotal, median(repaintLarge) / median(repaintSmall));
    return 0;
}
