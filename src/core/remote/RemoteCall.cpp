#include "core/remote/RemoteCall.h"

#include "core/remote/ProxyError.h"
#include "core/wire/ServerMethodCommand.h"
#include "core/wire/WireError.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace morvex {

RemoteCall::RemoteCall(const RemoteMethod &method, ServerMethodCommand &command)
    : m_method(method)
    , m_command(command)
    , m_values(static_cast<std::size_t>(method.paramCount))
{
    // A server whose method differs from ours would take our values at the wrong positions.
    const auto declared = command.parameters().size();
    if (declared != static_cast<std::size_t>(method.paramCount)) {
        throw ProxyError(u"EInvalidOperation"_s,
            u"%1 has %2 parameters on the server, %3 in this client"_s.arg(method.commandText())
                .arg(declared)
                .arg(method.paramCount));
    }
}

void RemoteCall::set(int position, ValueKind kind, WireValue value)
{
    // The generated operations pass each position with its declared kind; anything else is a
    // fault in this program, not in the data.
    const auto params = m_method.params();
    if (position < 0 || position >= static_cast<int>(params.size()) || params[position].kind != kind
        || params[position].direction != ParamDirection::In)
        throw std::logic_error("RemoteCall: no input of this kind at this position");
    m_values[static_cast<std::size_t>(position)] = std::move(value);
}

void RemoteCall::setText(int position, const QString &value)
{
    set(position, ValueKind::Text, WireValue::text(value));
}

void RemoteCall::setInt32(int position, qint32 value)
{
    set(position, ValueKind::Int32, WireValue::int32(value));
}

void RemoteCall::setInt64(int position, qint64 value)
{
    set(position, ValueKind::Int64, WireValue::int64(value));
}

void RemoteCall::setReal(int position, double value)
{
    const ValueKind kind = m_method.params()[static_cast<std::size_t>(position)].kind;
    if (kind == ValueKind::Date) {
        // Dates go as the bare day count; a server that announces a DataSnap date-time for the
        // parameter gets one instead, with the same meaning.
        const DataType announced = m_command.parameters()[static_cast<std::size_t>(position)].type;
        const bool timestamp = announced == DataType::DateTime || announced == DataType::TimeStamp;
        set(position, ValueKind::Date, timestamp ? WireValue::dateTime(value) : WireValue::real(value));
        return;
    }
    set(position, ValueKind::Double, WireValue::real(value));
}

void RemoteCall::setBoolean(int position, bool value)
{
    set(position, ValueKind::Boolean, WireValue::boolean(value));
}

void RemoteCall::setCallback(int position, RemoteCallback callback)
{
    set(position, ValueKind::Callback, callback.isPresent() ? WireValue::callback() : WireValue());
}

void RemoteCall::setObject(int position, std::unique_ptr<TransferObject> object)
{
    // Written first, destroyed after: a failure while writing raises before anything is sent.
    set(position, ValueKind::Object, object ? WireValue::json(toObjectForm(*object)) : WireValue());
}

void RemoteCall::execute()
{
    m_command.execute(m_values);
}

const WireValue &RemoteCall::result(int position, ValueKind kind) const
{
    const auto params = m_method.params();
    if (position < 0 || position >= static_cast<int>(params.size()) || params[position].kind != kind
        || params[position].direction == ParamDirection::In)
        throw std::logic_error("RemoteCall: no output of this kind at this position");
    return m_command.value(position);
}

QString RemoteCall::text(int position) const
{
    const WireValue &v = result(position, ValueKind::Text);
    return v.isNull() ? QString() : v.toText();
}

qint32 RemoteCall::int32(int position) const
{
    const WireValue &v = result(position, ValueKind::Int32);
    return v.isNull() ? 0 : v.toInt32();
}

qint64 RemoteCall::int64(int position) const
{
    const WireValue &v = result(position, ValueKind::Int64);
    return v.isNull() ? 0 : v.toInt64();
}

double RemoteCall::real(int position) const
{
    const ValueKind kind = m_method.params()[static_cast<std::size_t>(position)].kind;
    const WireValue &v = result(position, kind == ValueKind::Date ? ValueKind::Date : ValueKind::Double);
    if (v.isNull())
        return 0.0;
    return v.kind() == WireValue::Kind::DateTime ? v.toDateTime() : v.toDouble();
}

bool RemoteCall::boolean(int position) const
{
    const WireValue &v = result(position, ValueKind::Boolean);
    return !v.isNull() && v.toBool();
}

RecordSet RemoteCall::takeTable(int position)
{
    const WireValue &v = result(position, ValueKind::Table);
    if (v.isNull())
        return RecordSet();
    const std::shared_ptr<RecordSet> &table = v.toTable();
    return table ? std::move(*table) : RecordSet();
}

std::shared_ptr<WireStream> RemoteCall::takeStream(int position)
{
    const WireValue &v = result(position, ValueKind::Stream);
    return v.isNull() ? nullptr : v.toStream();
}

QJsonArray RemoteCall::takeJsonArray(int position)
{
    const WireValue &v = result(position, ValueKind::JsonArray);
    if (v.isNull() || v.toJson().trimmed() == "null")
        return {};
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(v.toJson(), &error);
    if (error.error != QJsonParseError::NoError)
        throw ProtocolError(
            u"%1: the JSON result does not parse: %2"_s.arg(m_method.commandText(), error.errorString()));
    if (!document.isArray())
        throw ProtocolError(u"%1: the JSON result is not an array"_s.arg(m_method.commandText()));
    return document.array();
}

} // namespace morvex
