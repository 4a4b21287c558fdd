#include "core/remote/MethodCatalogue.h"

#include "core/wire/WireChoices.h"

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace morvex {

QString RemoteMethod::commandText() const
{
    return kServerClassName + u'.' + QLatin1StringView(name);
}

const RemoteMethod &remoteMethod(MethodId id)
{
    const auto all = methodCatalogue();
    const auto index = static_cast<std::size_t>(id);
    if (index >= all.size())
        throw std::out_of_range("no remote method with id " + std::to_string(index));
    return all[index];
}

const RemoteMethod *findRemoteMethod(QStringView text)
{
    QStringView name = text;
    const QStringView prefix = kServerClassName;
    if (name.size() > prefix.size() && name.at(prefix.size()) == u'.'
        && name.first(prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0)
        name = name.sliced(prefix.size() + 1);
    for (const RemoteMethod &method : methodCatalogue()) {
        if (name.compare(QLatin1StringView(method.name), Qt::CaseInsensitive) == 0)
            return &method;
    }
    return nullptr;
}

const char *valueKindName(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Text:
        return "text";
    case ValueKind::Int32:
        return "integer";
    case ValueKind::Int64:
        return "large integer";
    case ValueKind::Double:
        return "real";
    case ValueKind::Date:
        return "date";
    case ValueKind::Boolean:
        return "boolean";
    case ValueKind::Table:
        return "table";
    case ValueKind::Stream:
        return "byte stream";
    case ValueKind::JsonArray:
        return "JSON array";
    case ValueKind::Object:
        return "transfer object";
    case ValueKind::Callback:
        return "callback";
    }
    return "unknown";
}

DataType dataSnapType(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Text:
        return DataType::WideString;
    case ValueKind::Int32:
        return DataType::Int32;
    case ValueKind::Int64:
        return DataType::Int64;
    // Dates travel as the bare day count, a 64-bit float, not as a DataSnap timestamp.
    case ValueKind::Double:
    case ValueKind::Date:
        return DataType::Double;
    case ValueKind::Boolean:
        return DataType::Boolean;
    case ValueKind::Table:
        return DataType::Table;
    case ValueKind::Stream:
        return DataType::BinaryBlob;
    case ValueKind::JsonArray:
    case ValueKind::Object:
        return DataType::JsonValue;
    case ValueKind::Callback:
        return DataType::Callback;
    }
    return DataType::Unknown;
}

int dataSnapSubType(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Object:
        return static_cast<int>(SubType::ObjectForm);
    case ValueKind::Stream:
        return wire::kStreamParameterSubType;
    default:
        return static_cast<int>(SubType::None);
    }
}

MethodSignature methodSignature(const RemoteMethod &method)
{
    MethodSignature signature;
    signature.name = method.commandText();
    for (const RemoteParam &param : method.params()) {
        ParamSpec spec;
        spec.name = QLatin1StringView(param.name);
        spec.type = dataSnapType(param.kind);
        spec.subType = dataSnapSubType(param.kind);
        switch (param.direction) {
        case ParamDirection::In:
            spec.direction = Direction::In;
            break;
        case ParamDirection::Out:
            spec.direction = Direction::Out;
            break;
        case ParamDirection::Result:
            spec.direction = Direction::Return;
            break;
        }
        spec.flags = wire::kDefaultParameterFlags;
        signature.params.push_back(std::move(spec));
    }
    return signature;
}

} // namespace morvex
