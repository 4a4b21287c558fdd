#include "gui/grid/GridExport.h"

#include "gui/grid/GridTexts.h"
#include "gui/grid/RecordSetModel.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cmath>
#include <filesystem>

namespace morvex {

using namespace Qt::StringLiterals;

namespace {

    constexpr double kLargestExactInteger = 9007199254740992.0; // 2^53

    class WorkbookWriter
    {
    public:
        WorkbookWriter(const RecordSetModel &model, lxw_workbook *workbook, lxw_worksheet *sheet)
            : m_model(model)
            , m_set(*model.recordSet())
            , m_workbook(workbook)
            , m_sheet(sheet)
        {
        }

        lxw_error writeCell(lxw_row_t row, lxw_col_t col, int sourceRow, int column)
        {
            const GridColumn &spec = m_model.column(column);
            const int field = m_model.fieldOf(column);
            if (field < 0 || m_set.isNull(sourceRow, field))
                return LXW_NO_ERROR;
            switch (spec.kind) {
            case ColumnKind::StockStatus:
            case ColumnKind::YesNo:
            case ColumnKind::Campaign:
            case ColumnKind::FileType: {
                // A spreadsheet cannot show the icon; its description says the same.
                const QString description = m_model.filterKey(sourceRow, column);
                bool isNumber = false;
                const double number = description.toDouble(&isNumber);
                if (isNumber)
                    return worksheet_write_number(m_sheet, row, col, number, nullptr);
                return writeText(row, col, description, nullptr);
            }
            default:
                return writeValue(row, col, sourceRow, field, spec);
            }
        }

        lxw_error writeText(lxw_row_t row, lxw_col_t col, QString text, lxw_format *format)
        {
            if (text.isEmpty())
                return LXW_NO_ERROR;
            text.replace(u"\r\n"_s, u"\n"_s);
            const QByteArray utf8 = text.toUtf8();
            return worksheet_write_string(m_sheet, row, col, utf8.constData(), format);
        }

        lxw_format *headerFormat()
        {
            if (!m_header) {
                m_header = workbook_add_format(m_workbook);
                format_set_bold(m_header);
            }
            return m_header;
        }

    private:
        lxw_error writeValue(lxw_row_t row, lxw_col_t col, int sourceRow, int field, const GridColumn &spec)
        {
            const FieldDef &def = m_set.field(field);
            switch (def.type) {
            case FieldType::Text:
                return writeText(row, col, m_set.text(sourceRow, field),
                    spec.kind == ColumnKind::MultiLine ? wrapFormat() : nullptr);
            case FieldType::Int32:
                return worksheet_write_number(m_sheet, row, col, m_set.int32(sourceRow, field), nullptr);
            case FieldType::Int64: {
                const qint64 value = m_set.int64(sourceRow, field);
                // Beyond 2^53 a spreadsheet number would change the value; keep the digits as text.
                if (std::fabs(static_cast<double>(value)) >= kLargestExactInteger)
                    return writeText(row, col, QString::number(value), nullptr);
                return worksheet_write_number(m_sheet, row, col, static_cast<double>(value), nullptr);
            }
            case FieldType::Double: {
                const double value = m_set.real(sourceRow, field);
                if (!std::isfinite(value))
                    return writeText(row, col, m_set.displayText(sourceRow, field), nullptr);
                return worksheet_write_number(m_sheet, row, col, value, numberFormat(def.displayPattern));
            }
            case FieldType::DateTime: {
                const QDateTime value = m_set.dateTime(sourceRow, field);
                if (!value.isValid() || value.date().year() < 1900 || value.date().year() > 9999)
                    return writeText(row, col, m_set.displayText(sourceRow, field), nullptr);
                const QTime time = value.time();
                lxw_datetime stamp { value.date().year(), value.date().month(), value.date().day(),
                    time.hour(), time.minute(), time.second() + time.msec() / 1000.0 };
                return worksheet_write_datetime(
                    m_sheet, row, col, &stamp, time == QTime(0, 0) ? dateFormat() : dateTimeFormat());
            }
            case FieldType::Boolean:
                return worksheet_write_boolean(
                    m_sheet, row, col, m_set.boolean(sourceRow, field) ? 1 : 0, nullptr);
            case FieldType::Bytes:
                return LXW_NO_ERROR;
            }
            return LXW_NO_ERROR;
        }

        lxw_format *numberFormat(const QString &pattern)
        {
            if (pattern.isEmpty())
                return nullptr;
            if (lxw_format *format = m_numberFormats.value(pattern))
                return format;
            lxw_format *format = workbook_add_format(m_workbook);
            format_set_num_format(format, pattern.toUtf8().constData());
            m_numberFormats.insert(pattern, format);
            return format;
        }

        lxw_format *dateFormat()
        {
            if (!m_date) {
                m_date = workbook_add_format(m_workbook);
                format_set_num_format(m_date, "dd.mm.yyyy");
            }
            return m_date;
        }

        lxw_format *dateTimeFormat()
        {
            if (!m_dateTime) {
                m_dateTime = workbook_add_format(m_workbook);
                format_set_num_format(m_dateTime, "dd.mm.yyyy hh:mm:ss");
            }
            return m_dateTime;
        }

        lxw_format *wrapFormat()
        {
            if (!m_wrap) {
                m_wrap = workbook_add_format(m_workbook);
                format_set_text_wrap(m_wrap);
            }
            return m_wrap;
        }

        const RecordSetModel &m_model;
        const RecordSet &m_set;
        lxw_workbook *m_workbook;
        lxw_worksheet *m_sheet;
        QHash<QString, lxw_format *> m_numberFormats;
        lxw_format *m_header = nullptr;
        lxw_format *m_date = nullptr;
        lxw_format *m_dateTime = nullptr;
        lxw_format *m_wrap = nullptr;
    };

    ExportResult failed(const QString &path, const QString &reason)
    {
        return { ExportResult::Status::Failed, path, gridtexts::exportFailed(path, reason) };
    }

} // namespace

QString withWorkbookExtension(const QString &fileName)
{
    if (QFileInfo(fileName).suffix().isEmpty())
        return fileName + u".xlsx"_s;
    return fileName;
}

ExportResult writeXlsx(const RecordSetModel &model, std::span<const int> columns, std::span<const int> rows,
    std::span<const int> pixelWidths, const QString &path)
{
    if (rows.size() + 1 > LXW_ROW_MAX)
        return failed(path, u"Satır sayısı bir çalışma sayfasının sınırını aşıyor."_s);
    if (columns.size() > LXW_COL_MAX)
        return failed(path, u"Sütun sayısı bir çalışma sayfasının sınırını aşıyor."_s);
    if (!rows.empty() && !model.recordSet())
        return failed(path, u"Tablo bağlı değil."_s);

    const QFileInfo target(path);
    const QDir folder = target.absoluteDir();
    if (!folder.exists())
        return failed(path, u"Klasör bulunamadı: "_s + QDir::toNativeSeparators(folder.absolutePath()));
    if (target.isDir())
        return failed(path, u"Bu adda bir klasör var."_s);

    // The workbook goes to a temporary file beside the target first, so a failure half-way
    // leaves an earlier file of that name untouched.
    QTemporaryFile temporary(folder.filePath(u"."_s + target.fileName() + u".XXXXXX"_s));
    if (!temporary.open())
        return failed(path, temporary.errorString());
    temporary.close();
    const QByteArray temporaryName = QFile::encodeName(temporary.fileName());

    lxw_workbook_options options {};
    options.constant_memory = LXW_TRUE;
    lxw_workbook *workbook = workbook_new_opt(temporaryName.constData(), &options);
    if (!workbook)
        return failed(path, u"Çalışma kitabı oluşturulamadı."_s);
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, gridtexts::excelSheetName().toUtf8().constData());
    if (!sheet) {
        workbook_close(workbook);
        return failed(path, u"Çalışma sayfası oluşturulamadı."_s);
    }

    WorkbookWriter writer(model, workbook, sheet);
    lxw_error error = LXW_NO_ERROR;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const double characters = c < pixelWidths.size() ? std::max(pixelWidths[c], 0) / 7.0 : 12.0;
        worksheet_set_column(
            sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), characters, nullptr);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    for (std::size_t c = 0; c < columns.size() && error == LXW_NO_ERROR; ++c) {
        error = writer.writeText(
            0, static_cast<lxw_col_t>(c), model.column(columns[c]).headerText(), writer.headerFormat());
    }
    for (std::size_t r = 0; r < rows.size() && error == LXW_NO_ERROR; ++r) {
        for (std::size_t c = 0; c < columns.size() && error == LXW_NO_ERROR; ++c)
            error = writer.writeCell(
                static_cast<lxw_row_t>(r + 1), static_cast<lxw_col_t>(c), rows[r], columns[c]);
    }
    if (error != LXW_NO_ERROR) {
        workbook_close(workbook);
        return failed(path, QString::fromUtf8(lxw_strerror(error)));
    }
    error = workbook_close(workbook);
    if (error != LXW_NO_ERROR)
        return failed(path, QString::fromUtf8(lxw_strerror(error)));

    QFile::setPermissions(
        temporary.fileName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    std::error_code renameError;
    std::filesystem::rename(std::filesystem::path(temporaryName.toStdString()),
        std::filesystem::path(QFile::encodeName(target.absoluteFilePath()).toStdString()), renameError);
    if (renameError)
        return failed(path, QString::fromLocal8Bit(renameError.message()));
    temporary.setAutoRemove(false);
    return { ExportResult::Status::Written, path, {} };
}

} // namespace morvex
