#pragma once

#include "core/data/RecordSet.h"
#include "core/wire/WireChoices.h"
#include "core/wire/WireTypes.h"

#include <QByteArray>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace morvex::wire {

struct Node;
class MessageWriter;

// The metadata object of a table value: {"table":[{"fields":[...]},{"columns":[n,...]}]}.
struct TableMeta
{
    int commandHandle = 0;
    bool updateable = false;
    int rowHandle = 0;
    int bcdFormat = kBcdFormat;
    bool dbxFlags = true;
    std::vector<ColumnSpec> columns;
};

// Reads the value of a "table" member.
TableMeta parseTableMeta(const Node &table);
// Writes {"table":[...]}.
void writeTableMeta(MessageWriter &writer, const TableMeta &meta);

// How the client holds a column of each data type, or std::nullopt when it has no holding for it.
std::optional<FieldType> fieldTypeFor(const ColumnSpec &column);
// The column a server announces for a record-set field.
ColumnSpec columnFor(const FieldDef &field);

// Decodes table batches row by row straight into a record set's typed columns.
class TableDecoder
{
public:
    // Fetches the rest of an oversized cell (more_blob): absolute row, column; returns its bytes.
    using FetchRest = std::function<QByteArray(int row, int column)>;

    // Defines the record set's fields from the columns (the set must have none). Raises
    // ProtocolError for a column type the client cannot hold.
    TableDecoder(const std::vector<ColumnSpec> &columns, RecordSet &target);

    // Appends every row of one batch. A batch must hold whole rows of exactly the announced
    // columns; otherwise ProtocolError. On failure the rows of this batch are removed again.
    void decodeBatch(const char *data, qsizetype size, const FetchRest &fetchRest);
    int rowCount() const { return m_target.rowCount(); }

    // Walks a batch's field headers only: the number of rows it holds and whether any cell
    // continues beyond it (needs more_blob). Raises ProtocolError where decodeBatch would.
    int scanBatch(const char *data, qsizetype size, bool &continued) const;

private:
    enum class Cell : std::uint8_t { WideText, AnsiText, Int32, Int64, Double, Single, Decimal, Boolean, Date, Time, Timestamp, Bytes };
    void decodeCell(const struct RawField &field, int row, int column, const FetchRest &fetchRest);
    void setWideText(int row, int column, const char *data, qsizetype size);

    RecordSet &m_target;
    std::vector<Cell> m_cells;
    std::u16string m_units; // scratch for texts past the 0xFF switch
};

// Encodes the rows of a record set into batches of about `threshold` bytes.
class TableEncoder
{
public:
    // inlineCapacity(offset) gives the inline bytes allowed for a field starting at `offset`.
    TableEncoder(const RecordSet &source, int threshold, std::function<int(qsizetype)> inlineCapacity);

    const std::vector<ColumnSpec> &columns() const { return m_columns; }
    bool atEnd() const { return m_nextRow >= m_source.rowCount(); }
    int nextRow() const { return m_nextRow; }

    // The rest of a cell that did not fit its batch, for more_blob.
    struct PendingCell
    {
        int row;
        int column;
        QByteArray rest;
    };
    // The next batch's rows; the cells cut short are appended to `pending`.
    QByteArray nextBatch(std::vector<PendingCell> &pending);

private:
    const RecordSet &m_source;
    int m_threshold;
    std::function<int(qsizetype)> m_inlineCapacity;
    std::vector<ColumnSpec> m_columns;
    int m_nextRow = 0;
};

} // namespace morvex::wire
