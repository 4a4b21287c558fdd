// Renders a grid with every column kind over the demo rows to a PNG file, offscreen:
//   grid-gallery out.png [width height]
#include "GridDemo.h"

#include "gui/grid/DataGrid.h"
#include "gui/grid/GridIcons.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QTextStream>
#include <QVBoxLayout>

using namespace morvex;
using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        QTextStream(stderr) << "usage: grid-gallery out.png [width height]\n";
        return 2;
    }
    const int width = args.size() > 3 ? args.at(2).toInt() : 1500;
    const int height = args.size() > 3 ? args.at(3).toInt() : 560;

    RecordSet set;
    griddemo::fill(set);
    const std::vector<GridColumn> columns = griddemo::columns();

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    GridOptions options;
    options.sizing = sizing::Rule::Manual;
    auto *grid = new DataGrid(columns, options, &window);
    grid->setFooterSummaries({
        { u"BARKOD"_s, SummaryKind::Count },
        { u"FIYAT"_s, SummaryKind::Sum },
        { u"MIKTAR"_s, SummaryKind::Custom,
            [](const FooterValues &values) -> QString {
                return u"Ø "_s + QString::number(values.sum(u"MIKTAR") / std::max(values.count(), 1), 'f', 1);
            } },
    });
    layout->addWidget(grid);

    // The legend a screen builds from the same icons.
    auto *legend = new QHBoxLayout;
    legend->addWidget(new QLabel(u"Durum Açıklaması:"_s));
    const QStringList legendTexts { u"Yok"_s, u"Stok mevcut"_s, u"Telefon Açınız"_s, u"Yolda"_s,
        u"Özel Sipariş"_s, u"Tedarik Sürecinde"_s };
    for (int value : { 1, 2, 3, 5, 4, 0 }) {
        auto *icon = new QLabel;
        icon->setPixmap(gridicons::stockStatusPixmap(value, 20));
        legend->addWidget(icon);
        legend->addWidget(new QLabel(legendTexts.at(value)));
    }
    legend->addStretch();
    layout->addLayout(legend);

    window.resize(width, height);
    window.show();
    grid->attach(&set);
    grid->fitColumnsToContent();
    grid->setColumnWidth(grid->columnOf(u"ILERI"), 160);
    grid->setColumnWidth(grid->columnOf(u"RESIM"), 70);
    grid->setColumnWidth(grid->columnOf(u"NOTLAR"), 150);
    grid->focusRow(2);
    app.processEvents();

    if (!window.grab().save(args.at(1), "PNG")) {
        QTextStream(stderr) << "cannot write " << args.at(1) << "\n";
        return 1;
    }

    // The same grid in its other states: reversed tints, a small font, no focus rectangle,
    // sorted by price, filtered on "Yeni", and an incremental search typed into "Açıklama".
    GridOptions other;
    other.reverseTints = true;
    other.font = QFont(u"Arial"_s, 8);
    other.focusRectangle = false;
    auto *second = new DataGrid(columns, other, &window);
    second->setFooterSummaries({ { u"BARKOD"_s, SummaryKind::Count }, { u"MIKTAR"_s, SummaryKind::Sum } });
    layout->replaceWidget(grid, second);
    grid->hide();
    second->attach(&set);
    second->fitColumnsToContent();
    second->view()->sortByColumn(second->columnOf(u"FIYAT"), Qt::DescendingOrder);
    second->setColumnFilter(second->columnOf(u"Y"), { u"Evet"_s });
    second->view()->setFocus();
    second->view()->setCurrentIndex(second->view()->model()->index(0, second->columnOf(u"ADI")));
    for (QChar c : u"iç"_s) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(second->view(), &press);
    }
    app.processEvents();
    QString statesPath = args.at(1);
    statesPath.replace(u".png"_s, u"-states.png"_s);
    if (!window.grab().save(statesPath, "PNG")) {
        QTextStream(stderr) << "cannot write " << statesPath << "\n";
        return 1;
    }
    return 0;
}
