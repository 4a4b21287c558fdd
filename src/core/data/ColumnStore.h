#pragma once

#include "core/data/BitVector.h"
#include "core/data/NumberFormat.h"
#include "core/data/RecordSet.h"
#include "core/data/VariableStore.h"

#include <optional>
#include <vector>

namespace morvex::detail {

// One column of a record set: its definition, a null mark per row and the values in the
// store of its type. A null cell holds the type's zero value in its store.
struct ColumnStore
{
    FieldDef def;
    std::optional<NumberFormat> format;
    BitVector nulls;
    std::vector<qint32> int32s;
    std::vector<qint64> int64s; // Int64 and packed DateTime
    std::vector<double> doubles;
    BitVector booleans;
    VariableStore variable; // Text and Bytes

    explicit ColumnStore(FieldDef d);

    void appendNulls(int count);
    void appendNull();
    void setNull(int row);
    void erase(int row);
    void clear();
    void reserve(int rows);
    std::size_t capacityBytes() const;
    std::size_t spareBytes() const;
    void squeeze();
};

} // namespace morvex::detail
