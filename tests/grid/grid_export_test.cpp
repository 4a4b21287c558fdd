// "Excel Kaydet": the workbook is read back with LibreOffice and compared cell by cell.
#include "GridDemo.h"

#include "gui/grid/DataGrid.h"
#include "gui/grid/ExportDialogs.h"
#include "gui/grid/GridHeader.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace morvex;
using namespace Qt::StringLiterals;

namespace {

// Answers the save dialog with a prepared name and records what the grid asked and reported.
class ScriptedDialogs : public ExportDialogs
{
public:
    QString answer;
    QString askedTitle;
    QString askedFilter;
    QStringList errors;

    QString askSaveFileName(QWidget *, const QString &title, const QString &filter) override
    {
        askedTitle = title;
        askedFilter = filter;
        return answer;
    }
    void showError(QWidget *, const QString &, const QString &message) override { errors << message; }
};

struct Cell
{
    QString text;
    bool quoted = false;
    bool operator==(const Cell &) const = default;
};

// RFC 4180 reading, keeping whether each field was quoted: LibreOffice quotes text cells and
// leaves numbers and dates bare (unless the shown text holds a comma).
QList<QList<Cell>> parseCsv(const QString &csv)
{
    QList<QList<Cell>> rows;
    QList<Cell> row;
    Cell cell;
    bool inQuotes = false;
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const QChar c = csv.at(i);
        if (inQuotes) {
            if (c == u'"' && i + 1 < csv.size() && csv.at(i + 1) == u'"') {
                cell.text += u'"';
                ++i;
            } else if (c == u'"') {
                inQuotes = false;
            } else {
                cell.text += c;
            }
        } else if (c == u'"') {
            inQuotes = true;
            cell.quoted = true;
        } else if (c == u',') {
            row << cell;
            cell = {};
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < csv.size() && csv.at(i + 1) == u'\n')
                ++i;
            row << cell;
            rows << row;
            row.clear();
            cell = {};
        } else {
            cell.text += c;
        }
    }
    if (!cell.text.isEmpty() || cell.quoted || !row.isEmpty()) {
        row << cell;
        rows << row;
    }
    return rows;
}

// Converts the workbook to CSV with LibreOffice (cells as shown, UTF-8, C locale).
QList<QList<Cell>> readBack(const QString &workbook)
{
    const QString soffice = QStandardPaths::findExecutable(u"soffice"_s);
    if (soffice.isEmpty()) {
        QTest::qFail(
            "soffice not found (scripts/install-deps.sh installs libreoffice-calc)", __FILE__, __LINE__);
        return {};
    }
    QTemporaryDir scratch;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_s, scratch.path());
    environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
    environment.insert(u"LANG"_s, u"C.UTF-8"_s);
    process.setProcessEnvironment(environment);
    process.start(soffice,
        { u"-env:UserInstallation=file://"_s + scratch.path() + u"/profile"_s, u"--headless"_s,
            u"--convert-to"_s, u"csv:Text - txt - csv (StarCalc):44,34,76,1"_s, u"--outdir"_s, scratch.path(),
            workbook });
    if (!process.waitForFinished(180000) || process.exitCode() != 0) {
        QTest::qFail(qPrintable(u"soffice failed: "_s + QString::fromUtf8(process.readAllStandardError())),
            __FILE__, __LINE__);
        return {};
    }
    QFile csv(scratch.filePath(QFileInfo(workbook).completeBaseName() + u".csv"_s));
    if (!csv.open(QIODevice::ReadOnly)) {
        QTest::qFail("LibreOffice wrote no CSV file", __FILE__, __LINE__);
        return {};
    }
    return parseCsv(QString::fromUtf8(csv.readAll()));
}

Cell text(const QString &value)
{
    return { value, true };
}
Cell number(const QString &shown)
{
    // Bare, or quoted only because the shown text holds the separator.
    return { shown, shown.contains(u',') };
}
Cell blank()
{
    return {};
}

} // namespace

class GridExportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }
    void workbookHoldsShownColumnsAndRowsInGridOrder();
    void saveAsksForANameAndAddsTheExtension();
    void failuresAreReportedAndLeaveNoFile();
};

void GridExportTest::workbookHoldsShownColumnsAndRowsInGridOrder()
{
    RecordSet set;
    griddemo::fill(set);
    DataGrid grid(griddemo::columns());
    grid.attach(&set);
    auto col = [&](const char *field) { return grid.columnOf(QString::fromLatin1(field)); };
    grid.setColumnShown(col("TARIH"), true);
    grid.setColumnShown(col("MIKTAR"), false);
    GridHeader *header = grid.gridHeader();
    header->moveSection(header->visualIndex(col("FIYAT")), 0);
    grid.view()->sortByColumn(col("FIYAT"), Qt::DescendingOrder);
    grid.setColumnFilter(col("MARKA"), { u"Öztürk"_s, u"İnci"_s });

    QTemporaryDir folder;
    const QString path = folder.filePath(u"sepet.xlsx"_s);
    QVERIFY(grid.exportTo(path).written());
    const QList<QList<Cell>> rows = readBack(path);

    // Buttons and pictures have nothing to export; icons export their descriptions.
    const QList<QList<Cell>> expected {
        { text(u"Fiyat"_s), text(u"Barkod"_s), text(u"Açıklama"_s), text(u"Durum"_s), text(u"Yeni"_s),
            text(u"Kampanyalı"_s), text(u"Seç"_s), text(u"Tür"_s), text(u"ILERI"_s), text(u"Not"_s),
            text(u"Tarih"_s) },
        { number(u"1,000,000.00"_s), text(u"8690004"_s), text(u"Işık Anahtarı"_s), text(u"Yolda"_s),
            text(u"Hayır"_s), number(u"0"_s), number(u"0"_s), number(u"3"_s), number(u"70"_s),
            text(u"Yolda, yarın"_s), number(u"04.03.2024 14:30:00"_s) },
        { number(u"1,234.50"_s), text(u"8690001"_s), text(u"Şanzıman Yağı 75W-90"_s), text(u"Var"_s),
            text(u"Evet"_s), number(u"0"_s), number(u"1"_s), number(u"4"_s), number(u"100"_s),
            text(u"İlk satır\nİkinci satır"_s), number(u"01.03.2024"_s) },
        { number(u"89.90"_s), text(u"8690003"_s), text(u"Çamurluk Sağ"_s), text(u"Telefon Açınız"_s),
            text(u"Evet"_s), text(u"Evet"_s), number(u"1"_s), number(u"2"_s), number(u"0"_s), blank(),
            number(u"03.03.2024"_s) },
        { number(u"10.00"_s), text(u"8690007"_s), text(u"İç Dikiz Aynası"_s), text(u"Var"_s), text(u"Evet"_s),
            number(u"0"_s), number(u"1"_s), number(u"0"_s), number(u"55"_s), text(u"—"_s),
            number(u"07.03.2024"_s) },
    };
    QCOMPARE(rows.size(), expected.size());
    for (qsizetype r = 0; r < expected.size(); ++r) {
        QCOMPARE(rows[r].size(), expected[r].size());
        for (qsizetype c = 0; c < expected[r].size(); ++c) {
            const QByteArray where = "row " + QByteArray::number(r) + ", column " + QByteArray::number(c);
            QVERIFY2(rows[r][c].text == expected[r][c].text,
                qPrintable(QString::fromLatin1(where) + u": "_s + rows[r][c].text + u" != "_s
                    + expected[r][c].text));
            QVERIFY2(rows[r][c].quoted == expected[r][c].quoted, where.constData());
        }
    }
}

void GridExportTest::saveAsksForANameAndAddsTheExtension()
{
    RecordSet set;
    griddemo::fill(set);
    DataGrid grid(griddemo::columns());
    grid.attach(&set);
    QTemporaryDir folder;
    ScriptedDialogs dialogs;

    // Cancelling writes nothing and reports nothing.
    ExportResult result = grid.saveAsExcel(dialogs);
    QCOMPARE(result.status, ExportResult::Status::Cancelled);
    QCOMPARE(dialogs.askedTitle, u"Excel Kaydet"_s);
    QCOMPARE(dialogs.askedFilter, u"Excel (*.xls*)"_s);
    QVERIFY(dialogs.errors.isEmpty());
    QVERIFY(QDir(folder.path()).isEmpty());

    dialogs.answer = folder.filePath(u"Sipariş Listesi"_s);
    result = grid.saveAsExcel(dialogs);
    QVERIFY(result.written());
    QCOMPARE(result.path, folder.filePath(u"Sipariş Listesi.xlsx"_s));
    QFile written(result.path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.read(2), QByteArray("PK")); // an OOXML package
    written.close();

    // A name with an extension is kept; saving again replaces the earlier file.
    dialogs.answer = folder.filePath(u"rapor.xls"_s);
    QVERIFY(grid.saveAsExcel(dialogs).written());
    grid.setColumnFilter(grid.columnOf(u"Y"), { u"Hayır"_s });
    QVERIFY(grid.saveAsExcel(dialogs).written());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
        (QStringList { u"Sipariş Listesi.xlsx"_s, u"rapor.xls"_s }));
    const QList<QList<Cell>> rows = readBack(folder.filePath(u"rapor.xls"_s));
    QCOMPARE(rows.size(), 4); // the header and the three rows the filter leaves
    QVERIFY(dialogs.errors.isEmpty());
}

void GridExportTest::failuresAreReportedAndLeaveNoFile()
{
    RecordSet set;
    griddemo::fill(set);
    DataGrid grid(griddemo::columns());
    grid.attach(&set);
    QTemporaryDir folder;
    ScriptedDialogs dialogs;

    dialogs.answer = folder.filePath(u"yok/liste.xlsx"_s);
    ExportResult result = grid.saveAsExcel(dialogs);
    QCOMPARE(result.status, ExportResult::Status::Failed);
    QCOMPARE(dialogs.errors.size(), 1);
    QVERIFY2(dialogs.errors.front().contains(u"Klasör bulunamadı"_s), qPrintable(dialogs.errors.front()));

    QVERIFY(QDir(folder.path()).mkdir(u"klasor.xlsx"_s));
    dialogs.answer = folder.filePath(u"klasor.xlsx"_s);
    result = grid.saveAsExcel(dialogs);
    QCOMPARE(result.status, ExportResult::Status::Failed);
    QCOMPARE(dialogs.errors.size(), 2);
    QVERIFY(QFileInfo(folder.filePath(u"klasor.xlsx"_s)).isDir());
    // No temporary file is left behind.
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList { u"klasor.xlsx"_s });

    // A detached grid (a load is running) exports the header row only.
    grid.detach();
    QVERIFY(grid.exportTo(folder.filePath(u"bos.xlsx"_s)).written());
    const QList<QList<Cell>> rows = readBack(folder.filePath(u"bos.xlsx"_s));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.front().front(), text(u"Barkod"_s));
}

QTEST_MAIN(GridExportTest)
#include "grid_export_test.moc"
