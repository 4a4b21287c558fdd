#include "core/data/ColumnStore.h"

namespace morvex::detail {

ColumnStore::ColumnStore(FieldDef d)
    : def(std::move(d))
{
}

void ColumnStore::appendNulls(int count)
{
    const auto n = std::size_t(count);
    nulls.resize(nulls.size() + n, true);
    switch (def.type) {
    case FieldType::Int32:
        int32s.resize(int32s.size() + n);
        break;
    case FieldType::Int64:
    case FieldType::DateTime:
        int64s.resize(int64s.size() + n);
        break;
    case FieldType::Double:
        doubles.resize(doubles.size() + n);
        break;
    case FieldType::Boolean:
        booleans.resize(booleans.size() + n, false);
        break;
    case FieldType::Text:
    case FieldType::Bytes:
        variable.appendEmpty(count);
        break;
    }
}

void ColumnStore::setNull(int row)
{
    const auto r = std::size_t(row);
    nulls.set(r, true);
    switch (def.type) {
    case FieldType::Int32:
        int32s[r] = 0;
        break;
    case FieldType::Int64:
    case FieldType::DateTime:
        int64s[r] = 0;
        break;
    case FieldType::Double:
        doubles[r] = 0.0;
        break;
    case FieldType::Boolean:
        booleans.set(r, false);
        break;
    case FieldType::Text:
    case FieldType::Bytes:
        variable.set(row, {}, false);
        break;
    }
}

void ColumnStore::erase(int row)
{
    nulls.erase(std::size_t(row));
    switch (def.type) {
    case FieldType::Int32:
        int32s.erase(int32s.begin() + row);
        break;
    case FieldType::Int64:
    case FieldType::DateTime:
        int64s.erase(int64s.begin() + row);
        break;
    case FieldType::Double:
        doubles.erase(doubles.begin() + row);
        break;
    case FieldType::Boolean:
        booleans.erase(std::size_t(row));
        break;
    case FieldType::Text:
    case FieldType::Bytes:
        variable.erase(row);
        break;
    }
}

void ColumnStore::clear()
{
    nulls = {};
    int32s = {};
    int64s = {};
    doubles = {};
    booleans = {};
    variable = {};
}

void ColumnStore::reserve(int rows)
{
    const auto n = std::size_t(rows);
    nulls.reserve(n);
    switch (def.type) {
    case FieldType::Int32:
        int32s.reserve(n);
        break;
    case FieldType::Int64:
    case FieldType::DateTime:
        int64s.reserve(n);
        break;
    case FieldType::Double:
        doubles.reserve(n);
        break;
    case FieldType::Boolean:
        booleans.reserve(n);
        break;
    // A guess of eight bytes a cell; the arena grows past it as needed.
    case FieldType::Text:
    case FieldType::Bytes:
        variable.reserve(rows, n * 8);
        break;
    }
}

std::size_t ColumnStore::capacityBytes() const
{
    return nulls.capacityBytes() + int32s.capacity() * sizeof(qint32) + int64s.capacity() * sizeof(qint64)
        + doubles.capacity() * sizeof(double) + booleans.capacityBytes() + variable.capacityBytes();
}

std::size_t ColumnStore::spareBytes() const
{
    return nulls.spareBytes() + (int32s.capacity() - int32s.size()) * sizeof(qint32)
        + (int64s.capacity() - int64s.size()) * sizeof(qint64)
        + (doubles.capacity() - doubles.size()) * sizeof(double) + booleans.spareBytes()
        + variable.spareBytes();
}

void ColumnStore::squeeze()
{
    nulls.squeeze();
    int32s.shrink_to_fit();
    int64s.shrink_to_fit();
    doubles.shrink_to_fit();
    booleans.squeeze();
    variable.squeeze();
}

} // namespace morvex::detail
