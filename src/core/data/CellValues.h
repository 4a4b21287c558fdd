#pragma once

#include "core/data/RecordSet.h"
#include "core/data/VariableStore.h"

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QVariant>

#include <optional>
#include <string>

// How cell values are encoded in the column stores and converted between types.
namespace morvex::detail {

QString typeName(FieldType type);

// Texts are kept as UTF-8 (ASCII codes and most Turkish names take one byte per letter, the
// Turkish letters two). A text with an unpaired surrogate has no UTF-8 form; it is kept as
// raw UTF-16 with the cell's flag set, so that every text reads back exactly as written.
// Returns that flag; `out` receives the bytes.
bool encodeText(QStringView text, std::string &out);
QString decodeText(VariableStore::Cell cell);

// Date-times are naive wall-clock values: days since the Julian epoch and the time of day,
// packed into milliseconds.
qint64 packDateTime(const QDateTime &value);
QDateTime unpackDateTime(qint64 packed);
// The day-count form of a date-time on the wire: whole days since 30 December 1899, the
// time of day as the fraction.
QDateTime dateTimeFromDayCount(double days);

// Strict conversions: a value that would change on the way in gives nullopt, never a
// rounded value.
std::optional<qint64> toInt64(const QVariant &value);
std::optional<double> toDouble(const QVariant &value);
std::optional<QDateTime> toDateTime(const QVariant &value);
std::optional<bool> toBoolean(const QVariant &value);

} // namespace morvex::detail
