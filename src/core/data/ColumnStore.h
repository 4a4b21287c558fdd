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
    // Inline: a decoder calls it for every cell of every row.
    void appendNull()
    {
        nulls.pushBack(true);
        switch (def.type) {
        case FieldType::Int32:
            int32s.push_back(0);
            break;
        case FieldType::Int64:
        case FieldType::DateTime:
            int64s.push_back(0);
            break;
        case FieldType::Double:
            doubles.push_back(0.0);
            break;
        case FieldType::Boolean:
            booleans.pushBack(false);
            break;
        case FieldType::Text:
        case FieldType::Bytes:
            variable.appendEmpty();
            break;
        }
    }
    void setNull(int row);
    void erase(int row);
    void clear();
    void reserve(int rows);
    std::size_t capacityBytes() const;
    std::size_t spareBytes() const;
    void squeeze();
};

} // namespace morvex::detail
