#pragma once

#include "core/remote/MethodId.h"
#include "core/wire/WireTypes.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>

namespace morvex {

// The kinds a remote method's parameter or result can have.
enum class ValueKind : std::uint8_t {
    Text, // wide string
    Int32, // integer
    Int64, // large integer (byte counts)
    Double, // real
    Date, // double: days since 1899-12-30, the time of day as the fraction
    Boolean,
    Table, // results only
    Stream, // results only
    JsonArray, // results only
    Object, // a transfer object in its object form, or null
    Callback, // inputs only
};

enum class ParamDirection : std::uint8_t { In = 1, Out = 2, Result = 4 };

struct RemoteParam
{
    const char *name;
    ValueKind kind;
    ParamDirection direction;
    const char *className; // transfer class for Object ("TObject" for any object), else ""
};

// One remote method of TServerMethods1 as the catalogue declares it. Its parameters are in
// wire order: the declared ones, then the result ("ReturnParameter") for a function.
struct RemoteMethod
{
    MethodId id;
    const char *name;
    const char *section;
    const RemoteParam *paramData;
    int paramCount; // the result included
    bool hasResult;

    std::span<const RemoteParam> params() const
    {
        return { paramData, static_cast<std::size_t>(paramCount) };
    }
    // The command text: "TServerMethods1." followed by the name.
    QString commandText() const;
};

inline constexpr QStringView kServerClassName = u"TServerMethods1";

// Every remote method, in catalogue order (index == MethodId).
std::span<const RemoteMethod> methodCatalogue();
const RemoteMethod &remoteMethod(MethodId id);
// Finds a method by command text ("TServerMethods1.Name") or bare name, ignoring case as a
// DataSnap server does; nullptr when there is none.
const RemoteMethod *findRemoteMethod(QStringView text);

const char *valueKindName(ValueKind kind);

// The DataSnap type and subtype a kind is announced with in the prepare metadata.
DataType dataSnapType(ValueKind kind);
int dataSnapSubType(ValueKind kind);
// The prepare metadata of a method: its parameters in order, the result last.
MethodSignature methodSignature(const RemoteMethod &method);

} // namespace morvex
