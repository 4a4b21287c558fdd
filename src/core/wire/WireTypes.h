#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace morvex {

// DataSnap data type codes, as they travel in parameter and column metadata.
enum class DataType : int {
    Unknown = 0,
    AnsiString = 1,
    Date = 2,
    Blob = 3,
    Boolean = 4,
    Int16 = 5,
    Int32 = 6,
    Double = 7,
    Bcd = 8,
    Bytes = 9,
    Time = 10,
    DateTime = 11,
    UInt16 = 12,
    VarBytes = 15,
    Int64 = 18,
    Table = 23,
    TimeStamp = 24,
    Currency = 25,
    WideString = 26,
    Single = 27,
    Int8 = 28,
    UInt8 = 29,
    BinaryBlob = 33,
    Variant = 35,
    TimeStampOffset = 36,
    JsonValue = 37,
    Callback = 38,
};

// Subtypes; only ObjectForm on JsonValue changes how a value is read (a marshalled object).
enum class SubType : int {
    None = 0,
    Money = 21,
    Memo = 22,
    Binary = 23,
    WideMemo = 32,
    HMemo = 33,
    HBinary = 34,
    ObjectForm = 40,
};

enum class Direction : int { Unknown = 0, In = 1, Out = 2, InOut = 3, Return = 4 };

inline bool sendsValue(Direction d) { return d == Direction::In || d == Direction::InOut; }
inline bool receivesValue(Direction d)
{
    return d == Direction::Out || d == Direction::InOut || d == Direction::Return;
}

// One parameter of a server method: element of the prepare reply's "parameters" list.
struct ParamSpec
{
    QString name;
    DataType type = DataType::Unknown;
    int subType = 0;
    Direction direction = Direction::In;
    int precision = 0;
    int scale = 0;
    int childPosition = 0;
    int size = 0;
    int flags = 0;

    friend bool operator==(const ParamSpec &, const ParamSpec &) = default;
};

inline const QString kReturnParameterName = QStringLiteral("ReturnParameter");

// A server method: "Class.Method" and its parameters in order, the result (if any) last as
// "ReturnParameter" with Direction::Return.
struct MethodSignature
{
    QString name; // "TServerMethods1.EchoString"
    std::vector<ParamSpec> params;

    bool hasReturn() const { return !params.empty() && params.back().direction == Direction::Return; }
    friend bool operator==(const MethodSignature &, const MethodSignature &) = default;
};

// A column of a table value, as announced in the table's "columns" list.
struct ColumnSpec
{
    QString name;
    DataType type = DataType::Unknown;
    int subType = 0;
    int precision = 0;
    int scale = 0;
    int size = 0;
    int flags = 0;

    friend bool operator==(const ColumnSpec &, const ColumnSpec &) = default;
};

// Memo blobs travel as strings, other blobs as streams.
inline bool isMemoSubType(int subType) { return subType == 22 || subType == 32 || subType == 33; }

} // namespace morvex
