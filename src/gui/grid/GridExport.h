#pragma once

#include <QString>

#include <span>

namespace morvex {

class RecordSetModel;

struct ExportResult
{
    enum class Status { Written, Cancelled, Failed };
    Status status = Status::Failed;
    QString path; // the file written (or attempted)
    QString error; // Failed: why, for the user

    bool written() const { return status == Status::Written; }
};

// Writes the given columns (model columns, in this order) and source rows as an OOXML workbook:
// a header row of captions, then one row per record; numbers as numbers with the field's
// display pattern as their format, dates as dates, texts as texts, icon columns as their
// description. The file appears complete or not at all: the workbook is written next to it
// under a temporary name and renamed over the target at the end.
ExportResult writeXlsx(const RecordSetModel &model, std::span<const int> columns, std::span<const int> rows,
    std::span<const int> pixelWidths, const QString &path);

// The chosen name with ".xlsx" appended when it has no extension.
QString withWorkbookExtension(const QString &fileName);

} // namespace morvex
