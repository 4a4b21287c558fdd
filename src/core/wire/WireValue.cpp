#include "core/wire/WireValue.h"

#include "core/data/RecordSet.h"
#include "core/wire/WireError.h"
#include "core/wire/WireStream.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace morvex {

WireValue::WireValue(Storage storage)
    : m_value(std::move(storage))
{
}

WireValue WireValue::text(QString value)
{
    return WireValue(Storage(std::in_place_type<QString>, std::move(value)));
}

WireValue WireValue::int32(qint32 value)
{
    return WireValue(Storage(std::in_place_type<qint32>, value));
}

WireValue WireValue::int64(qint64 value)
{
    return WireValue(Storage(std::in_place_type<qint64>, value));
}

WireValue WireValue::real(double value)
{
    return WireValue(Storage(std::in_place_type<double>, value));
}

WireValue WireValue::boolean(bool value)
{
    return WireValue(Storage(std::in_place_type<bool>, value));
}

WireValue WireValue::dateTime(double days)
{
    return WireValue(Storage(DateTimeDays{days}));
}

WireValue WireValue::table(std::shared_ptr<RecordSet> table)
{
    if (!table)
        return {};
    return WireValue(Storage(std::move(table)));
}

WireValue WireValue::stream(std::shared_ptr<WireStream> stream)
{
    if (!stream)
        return {};
    return WireValue(Storage(std::move(stream)));
}

WireValue WireValue::json(QByteArray text)
{
    return WireValue(Storage(JsonText{std::move(text)}));
}

WireValue WireValue::callback()
{
    return WireValue(Storage(CallbackMarker{}));
}

WireValue::Kind WireValue::kind() const
{
    return static_cast<Kind>(m_value.index());
}

QString WireValue::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Null: return u"null"_s;
    case Kind::Text: return u"text"_s;
    case Kind::Int32: return u"32-bit integer"_s;
    case Kind::Int64: return u"64-bit integer"_s;
    case Kind::Double: return u"real"_s;
    case Kind::Boolean: return u"boolean"_s;
    case Kind::DateTime: return u"date-time"_s;
    case Kind::Table: return u"table"_s;
    case Kind::Stream: return u"stream"_s;
    case Kind::Json: return u"JSON"_s;
    case Kind::Callback: return u"callback"_s;
    }
    return u"unknown"_s;
}

void WireValue::mismatch(Kind wanted) const
{
    throw WireError(u"Expected a "_s + kindName(wanted) + u" value, got "_s + kindName(kind()));
}

QString WireValue::toText() const
{
    if (auto *s = std::get_if<QString>(&m_value))
        return *s;
    mismatch(Kind::Text);
}

qint32 WireValue::toInt32() const
{
    if (auto *i = std::get_if<qint32>(&m_value))
        return *i;
    if (auto *l = std::get_if<qint64>(&m_value)) {
        if (*l >= std::numeric_limits<qint32>::min() && *l <= std::numeric_limits<qint32>::max())
            return qint32(*l);
        throw WireError(u"The 64-bit value %1 does not fit a 32-bit integer"_s.arg(*l));
    }
    mismatch(Kind::Int32);
}

qint64 WireValue::toInt64() const
{
    if (auto *l = std::get_if<qint64>(&m_value))
        return *l;
    if (auto *i = std::get_if<qint32>(&m_value))
        return *i;
    mismatch(Kind::Int64);
}

double WireValue::toDouble() const
{
    if (auto *d = std::get_if<double>(&m_value))
        return *d;
    if (auto *i = std::get_if<qint32>(&m_value))
        return *i;
    if (auto *l = std::get_if<qint64>(&m_value))
        return double(*l);
    if (auto *t = std::get_if<DateTimeDays>(&m_value))
        return t->days;
    mismatch(Kind::Double);
}

bool WireValue::toBool() const
{
    if (auto *b = std::get_if<bool>(&m_value))
        return *b;
    mismatch(Kind::Boolean);
}

double WireValue::toDateTime() const
{
    if (auto *t = std::get_if<DateTimeDays>(&m_value))
        return t->days;
    if (auto *d = std::get_if<double>(&m_value))
        return *d;
    mismatch(Kind::DateTime);
}

const std::shared_ptr<RecordSet> &WireValue::toTable() const
{
    if (auto *t = std::get_if<std::shared_ptr<RecordSet>>(&m_value))
        return *t;
    mismatch(Kind::Table);
}

const std::shared_ptr<WireStream> &WireValue::toStream() const
{
    if (auto *s = std::get_if<std::shared_ptr<WireStream>>(&m_value))
        return *s;
    mismatch(Kind::Stream);
}

const QByteArray &WireValue::toJson() const
{
    if (auto *j = std::get_if<JsonText>(&m_value))
        return j->text;
    mismatch(Kind::Json);
}

} // namespace morvex
