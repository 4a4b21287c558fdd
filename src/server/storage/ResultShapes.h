#pragma once

#include "core/data/RecordSet.h"

#include <QStringView>

#include <span>

namespace morvex::server {

// The columns (names and types) of every table result the server sends. Screens read these
// names, so each result is built from its shape and nothing else.
enum class ResultShape {
    Stock,
    CampaignStock,
    GenuineParts,
    Basket,
    DeliveryKinds,
    CargoKinds,
    CargoCompanies,
    Orders,
    OrderLines,
    Statement,
    StatementHeader,
    InvoiceLines,
    InvoiceTotals,
    Collection,
    Accounts,
    Counters,
    Documents,
    Departments,
    Screens,
    OrderReport,
    BestSellers,
};

struct ColumnSpec
{
    QStringView name;
    FieldType type;
};

struct MethodShape
{
    QStringView method;
    ResultShape shape;
};

std::span<const ColumnSpec> columnsOf(ResultShape shape);
// Every table-returning method with the shape of its result.
std::span<const MethodShape> methodShapes();
// An empty record set with the shape's fields.
RecordSet emptyResult(ResultShape shape);
// Position of a column in a shape; raises std::logic_error when the shape lacks it.
int columnIndex(ResultShape shape, QStringView name);

} // namespace morvex::server
