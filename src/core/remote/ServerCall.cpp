#include "core/remote/ServerCall.h"

#include "core/wire/WireError.h"

#include <QJsonDocument>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

    // The wire kinds a declared kind accepts as an argument.
    bool accepts(ValueKind declared, WireValue::Kind actual)
    {
        using K = WireValue::Kind;
        switch (declared) {
        case ValueKind::Text:
            return actual == K::Text;
        case ValueKind::Int32:
            return actual == K::Int32;
        case ValueKind::Int64:
            return actual == K::Int64 || actual == K::Int32;
        case ValueKind::Double:
            return actual == K::Double || actual == K::Int32 || actual == K::Int64;
        case ValueKind::Date:
            return actual == K::Double || actual == K::DateTime;
        case ValueKind::Boolean:
            return actual == K::Boolean;
        case ValueKind::Object:
            return actual == K::Json || actual == K::Null;
        case ValueKind::Callback:
            return actual == K::Callback || actual == K::Null;
        case ValueKind::Table:
        case ValueKind::Stream:
        case ValueKind::JsonArray:
            return false;
        }
        return false;
    }

    const QString kErrorClass = u"TDBXError"_s;

} // namespace

ServerCall::ServerCall(const RemoteMethod &method, std::vector<WireValue> &values)
    : m_method(method)
    , m_values(values)
{
    if (values.size() != static_cast<std::size_t>(method.paramCount)) {
        throw ServerMethodError(kErrorClass, wire::kGenericErrorCode,
            u"%1 takes %2 parameters, the call carried %3"_s.arg(method.commandText())
                .arg(method.paramCount)
                .arg(values.size()));
    }
}

void ServerCall::failArgument(int position, const QString &problem) const
{
    const auto params = m_method.params();
    const QString name = position >= 0 && position < static_cast<int>(params.size())
        ? QLatin1StringView(params[position].name)
        : u"?"_s;
    throw ServerMethodError(kErrorClass, wire::kGenericErrorCode,
        u"%1, parameter %2 (%3): %4"_s.arg(m_method.commandText()).arg(position).arg(name, problem));
}

const WireValue &ServerCall::argument(int position, ValueKind kind) const
{
    const auto params = m_method.params();
    if (position < 0 || position >= static_cast<int>(params.size()) || params[position].kind != kind
        || params[position].direction != ParamDirection::In)
        throw std::logic_error("ServerCall: no input of this kind at this position");
    const WireValue &v = m_values[static_cast<std::size_t>(position)];
    if (!accepts(kind, v.kind())) {
        failArgument(position,
            u"expected %1, got %2"_s.arg(QLatin1StringView(valueKindName(kind)),
                v.isNull() ? u"null"_s : WireValue::kindName(v.kind())));
    }
    return v;
}

QString ServerCall::text(int position) const
{
    return argument(position, ValueKind::Text).toText();
}

qint32 ServerCall::int32(int position) const
{
    return argument(position, ValueKind::Int32).toInt32();
}

qint64 ServerCall::int64(int position) const
{
    return argument(position, ValueKind::Int64).toInt64();
}

double ServerCall::real(int position) const
{
    const ValueKind kind = m_method.params()[static_cast<std::size_t>(position)].kind;
    const WireValue &v = argument(position, kind == ValueKind::Date ? ValueKind::Date : ValueKind::Double);
    return v.kind() == WireValue::Kind::DateTime ? v.toDateTime() : v.toDouble();
}

bool ServerCall::boolean(int position) const
{
    return argument(position, ValueKind::Boolean).toBool();
}

RemoteCallback ServerCall::callback(int position) const
{
    return argument(position, ValueKind::Callback).isNull() ? RemoteCallback() : RemoteCallback::received();
}

void ServerCall::set(int position, ValueKind kind, WireValue value)
{
    const auto params = m_method.params();
    if (position < 0 || position >= static_cast<int>(params.size()) || params[position].kind != kind
        || params[position].direction == ParamDirection::In)
        throw std::logic_error("ServerCall: no output of this kind at this position");
    m_values[static_cast<std::size_t>(position)] = std::move(value);
}

void ServerCall::setText(int position, const QString &value)
{
    set(position, ValueKind::Text, WireValue::text(value));
}

void ServerCall::setInt32(int position, qint32 value)
{
    set(position, ValueKind::Int32, WireValue::int32(value));
}

void ServerCall::setInt64(int position, qint64 value)
{
    set(position, ValueKind::Int64, WireValue::int64(value));
}

void ServerCall::setReal(int position, double value)
{
    const ValueKind kind = m_method.params()[static_cast<std::size_t>(position)].kind;
    set(position, kind == ValueKind::Date ? ValueKind::Date : ValueKind::Double, WireValue::real(value));
}

void ServerCall::setBoolean(int position, bool value)
{
    set(position, ValueKind::Boolean, WireValue::boolean(value));
}

void ServerCall::setTable(int position, RecordSet table)
{
    set(position, ValueKind::Table, WireValue::table(std::make_shared<RecordSet>(std::move(table))));
}

void ServerCall::setStream(int position, std::unique_ptr<WireStream> stream)
{
    set(position, ValueKind::Stream, stream ? WireValue::stream(std::move(stream)) : WireValue());
}

void ServerCall::setJsonArray(int position, const QJsonArray &array)
{
    set(position, ValueKind::JsonArray, WireValue::json(QJsonDocument(array).toJson(QJsonDocument::Compact)));
}

void ServerCall::setObject(int position, std::unique_ptr<TransferObject> object)
{
    set(position, ValueKind::Object, object ? WireValue::json(toObjectForm(*object)) : WireValue());
}

void ServerCall::failUnknownMethod() const
{
    throw ServerMethodError(kErrorClass, wire::kMethodNotFoundCode,
        u"%1 method not found in the server method list"_s.arg(m_method.commandText()));
}

} // namespace morvex
