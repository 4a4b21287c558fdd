#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace morvex {

namespace detail {
    struct ColumnStore;
}

// Column types of an in-memory record set. Values are stored per column in typed arrays,
// not as one QVariant per cell, so that large result tables stay close to their raw size.
enum class FieldType : std::uint8_t { Text, Int32, Int64, Double, DateTime, Boolean, Bytes };

struct FieldDef
{
    QString name;
    FieldType type = FieldType::Text;
    QString displayPattern; // only for Double columns; empty = plain text form
};

class RecordSetError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// An in-memory table filled whole from a remote method's table result and read by grids.
// Not thread-safe: one thread at a time (a worker fills it, the UI thread reads it afterwards).
class RecordSet
{
public:
    RecordSet();
    ~RecordSet();
    RecordSet(RecordSet &&) noexcept;
    RecordSet &operator=(RecordSet &&) noexcept;
    RecordSet(const RecordSet &) = delete;
    RecordSet &operator=(const RecordSet &) = delete;

    // Structure. Adding a field to a set that holds rows gives the new column nulls.
    int addField(const QString &name, FieldType type);
    int fieldCount() const;
    const FieldDef &field(int column) const;
    int fieldIndex(QStringView name) const; // -1 when absent; names match case-insensitively
    void setDisplayPattern(int column, const QString &pattern);

    // The copy rule of a table result: columns are checked by position against the fields
    // this set already defines (names must match, else RecordSetError with
    // "Additional columns must be added after the prescribed columns."), missing fields are
    // added, and the rows of `result` replace every previous row. `result` is left empty.
    void fillFrom(RecordSet &&result);

    // Rows.
    int rowCount() const;
    bool isEmpty() const { return rowCount() == 0; }
    void clearRows();
    void reserveRows(int rows);
    int appendRow(); // a row of nulls; returns its index
    void removeRow(int row);

    // Typed cell access. Reading a null gives the type's zero value (empty text, 0, false).
    bool isNull(int row, int column) const;
    void setNull(int row, int column);
    QString text(int row, int column) const;
    qint32 int32(int row, int column) const;
    qint64 int64(int row, int column) const;
    double real(int row, int column) const;
    QDateTime dateTime(int row, int column) const; // local, naive
    bool boolean(int row, int column) const;
    QByteArray bytes(int row, int column) const;

    void setText(int row, int column, QStringView value);
    // Also takes string-builder expressions (a + b), which do not convert to QStringView.
    void setText(int row, int column, const QString &value) { setText(row, column, QStringView(value)); }
    void setInt32(int row, int column, qint32 value);
    void setInt64(int row, int column, qint64 value);
    void setReal(int row, int column, double value);
    void setDateTime(int row, int column, const QDateTime &value);
    void setBoolean(int row, int column, bool value);
    void setBytes(int row, int column, const QByteArray &value);
    // A Text cell from Latin-1 bytes (what a codec reads off the wire), without a QString in
    // between. On a column of another type it behaves as setText.
    void setTextLatin1(int row, int column, std::string_view latin1);
    // A DateTime cell from naive wall-clock milliseconds since 1970-01-01 00:00, without a
    // QDateTime in between. On a column of another type it behaves as setDateTime.
    void setDateTimeMs(int row, int column, qint64 msSince1970);

    // Generic access for models and tools; converts between compatible types. A null cell
    // reads as an invalid QVariant; an invalid or null QVariant writes a null. A value that
    // would change on the way in (2.5 into an integer, "AB" into a number) raises
    // RecordSetError and leaves the cell as it was.
    QVariant value(int row, int column) const;
    void setValue(int row, int column, const QVariant &value);
    // The cell as a user sees it: Double columns through their display pattern.
    QString displayText(int row, int column) const;
    QString displayText(int row, int column, const QLocale &locale) const;

    // Cursor, as screens use it: a current row that locate/first/next move. -1 = none.
    int currentRow() const;
    void setCurrentRow(int row);
    bool first();
    bool next(); // false when it moves past the last row (currentRow() is then rowCount())
    bool atEnd() const;
    // Moves the cursor to the first row whose field equals value; false (cursor unchanged) if none.
    bool locate(QStringView fieldName, const QVariant &value);

    // Edit-and-post on the current row, for screens that change a row in place: append()
    // adds a row and makes it current; edit() starts changing the current row; set* calls
    // go to the row directly; post() ends the edit.
    void append();
    void edit();
    void post();
    bool isEditing() const;

    // Bytes held by the column stores (for measuring memory against the raw values).
    std::size_t storageBytes() const;
    // Gives back the spare capacity the stores kept while growing (fillFrom does it for the
    // set it takes over when the spare part is large).
    void squeeze();

private:
    friend class ColumnReader;
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Reads one column row after row in its stored form, for codecs that move whole tables: no
// QString, QVariant or QDateTime per cell, and no search for a text's place. Valid while the
// set is not changed.
class ColumnReader
{
public:
    // Positioned at `row` (0 <= row <= rowCount()); raises RecordSetError for a bad column or row.
    ColumnReader(const RecordSet &set, int column, int row = 0);

    FieldType type() const { return m_type; }
    int row() const { return m_row; }
    bool atEnd() const { return m_row >= m_rows; }
    void next()
    {
        if (m_row >= m_rows)
            return;
        ++m_row;
        if (m_arena && m_row < m_rows) {
            m_offset = std::size_t(m_bytes.data() - m_arena) + m_bytes.size();
            loadCell();
        }
    }

    // The current cell; each reader fits only its column's type (a null reads as zero).
    bool isNull() const
    {
        if (m_row >= m_rows)
            pastTheEnd();
        return bit(m_nulls, m_row);
    }
    qint32 int32() const { return m_int32s ? m_int32s[m_row] : 0; }
    qint64 int64() const { return m_int64s && m_type == FieldType::Int64 ? m_int64s[m_row] : int32(); }
    double real() const { return m_doubles ? m_doubles[m_row] : 0.0; }
    bool boolean() const { return m_booleans && bit(m_booleans, m_row); }
    qint64 dateTimeMs() const; // naive wall-clock milliseconds since 1970-01-01 00:00
    // Text and Bytes: the stored bytes. A text is UTF-8, except when utf16() (a text with an
    // unpaired surrogate): then the bytes are its UTF-16 code units in host order.
    std::string_view bytes() const { return m_bytes; }
    bool utf16() const { return m_utf16; }

private:
    static bool bit(const std::uint64_t *words, int i) { return (words[i / 64] >> (i % 64)) & 1u; }
    [[noreturn]] void pastTheEnd() const;
    // Reads the varint header (byte length << 1 | flag) of the cell at m_offset.
    void loadCell()
    {
        const char *p = m_arena + m_offset;
        std::uint64_t header = 0;
        for (int shift = 0;; shift += 7) {
            const auto byte = std::uint8_t(*p++);
            header |= std::uint64_t(byte & 0x7f) << shift;
            if (!(byte & 0x80))
                break;
        }
        m_bytes = std::string_view(p, std::size_t(header >> 1));
        m_utf16 = (header & 1) != 0;
    }

    FieldType m_type;
    int m_row;
    int m_rows;
    const std::uint64_t *m_nulls = nullptr;
    const qint32 *m_int32s = nullptr;
    const qint64 *m_int64s = nullptr;
    const double *m_doubles = nullptr;
    const std::uint64_t *m_booleans = nullptr;
    const char *m_arena = nullptr; // Text and Bytes cells, while there are rows
    std::size_t m_offset = 0; // arena offset of the current cell
    std::string_view m_bytes;
    bool m_utf16 = false;
};

// True when the set holds at least one row.
bool hasRows(const RecordSet &set);
// True when some row's field SEC equals 1; the cursor is then left on the first such row.
bool anySelected(RecordSet &set);
// Sets the display pattern "#,###,##0.00" on every Double column.
void applyFloatDisplayPattern(RecordSet &set);

} // namespace morvex
