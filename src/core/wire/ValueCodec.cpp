#include "core/wire/ValueCodec.h"

#include "core/wire/RowCodec.h"
#include "core/wire/WireChoices.h"
#include "core/wire/WireError.h"
#include "core/wire/WireStream.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace morvex::wire {

OutgoingBlob::OutgoingBlob(QByteArray buffered, std::shared_ptr<WireStream> stream)
    : m_buffered(std::move(buffered))
    , m_stream(std::move(stream))
{
}

QByteArray OutgoingBlob::nextChunk(qsizetype chunkSize, bool &last)
{
    QByteArray chunk;
    if (m_buffered.size() <= chunkSize) {
        chunk = std::move(m_buffered);
        m_buffered.clear();
    } else {
        chunk = m_buffered.first(chunkSize);
        m_buffered.remove(0, chunkSize);
    }
    if (m_stream && chunk.size() < chunkSize)
        chunk += m_stream->readBlock(chunkSize - chunk.size());
    // Read one chunk ahead so that the last chunk can say it is the last.
    if (m_stream && m_buffered.isEmpty()) {
        m_buffered = m_stream->readBlock(chunkSize);
        if (m_buffered.isEmpty())
            m_stream.reset();
    }
    last = isEmpty();
    return chunk;
}

ValueForm formOf(const ParamSpec &spec)
{
    switch (spec.type) {
    case DataType::WideString:
    case DataType::TimeStampOffset:
        return ValueForm::Text;
    case DataType::AnsiString:
        return ValueForm::AnsiText;
    case DataType::Blob:
        return isMemoSubType(spec.subType) ? ValueForm::Text : ValueForm::Stream;
    case DataType::Bytes:
    case DataType::VarBytes:
    case DataType::BinaryBlob:
    case DataType::Variant:
        return ValueForm::Stream;
    default:
        return ValueForm::Scalar;
    }
}

namespace {

[[noreturn]] void badKind(const ParamSpec &spec, const WireValue &value)
{
    throw WireError(u"data type %1 cannot take a %2 value"_s.arg(int(spec.type)).arg(WireValue::kindName(value.kind())));
}

qint64 int32Of(qint64 v)
{
    if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        throw ProtocolError(u"%1 does not fit 32 bits"_s.arg(v));
    return v;
}

std::unique_ptr<OutgoingBlob> encodeUnchecked(RowWriter &row, const ParamSpec &spec, const WireValue &value,
                                              qsizetype inlineLimit, qsizetype chunkSize)
{
    if (value.isNull()) {
        row.writeNull();
        return {};
    }
    switch (formOf(spec)) {
    case ValueForm::Text:
    case ValueForm::AnsiText: {
        QByteArray rest = row.writeText(value.toText(), inlineLimit);
        if (!rest.isEmpty())
            return std::make_unique<OutgoingBlob>(std::move(rest), nullptr);
        return {};
    }
    case ValueForm::Stream: {
        if (value.kind() != WireValue::Kind::Stream)
            badKind(spec, value);
        std::shared_ptr<WireStream> stream = value.toStream();
        const qsizetype limit = std::min<qsizetype>(inlineLimit, kMaxInlineBytes);
        const QByteArray first = stream->readBlock(limit);
        QByteArray ahead = first.size() < limit ? QByteArray() : stream->readBlock(chunkSize);
        const bool more = !ahead.isEmpty();
        row.writeStreamBytes(first.constData(), first.size(), more);
        if (more)
            return std::make_unique<OutgoingBlob>(std::move(ahead), std::move(stream));
        return {};
    }
    case ValueForm::Scalar:
        break;
    }
    switch (spec.type) {
    case DataType::Int8:
    case DataType::UInt8:
    case DataType::Int16:
    case DataType::UInt16:
    case DataType::Int32:
    case DataType::Date:
    case DataType::Time:
        row.writeInteger(value.toInt32());
        break;
    case DataType::Int64: row.writeInteger(value.toInt64()); break;
    case DataType::Double: row.writeDouble(value.toDouble()); break;
    case DataType::Single: row.writeSingle(float(value.toDouble())); break;
    case DataType::Bcd:
    case DataType::Currency: {
        const QByteArray text = QByteArray::number(value.toDouble(), 'g', 17);
        row.writeStringBytes(text.constData(), text.size(), kMaxInlineBytes);
        break;
    }
    case DataType::Boolean: row.writeBoolean(value.toBool()); break;
    case DataType::DateTime:
    case DataType::TimeStamp: row.writeTimestampMs(dateTimeToMs(value.toDateTime())); break;
    case DataType::JsonValue:
        row.writeJson(value.kind() == WireValue::Kind::Text ? value.toText().toUtf8() : value.toJson());
        break;
    case DataType::Callback:
        if (value.kind() != WireValue::Kind::Callback)
            badKind(spec, value);
        row.writeCallback();
        break;
    case DataType::Table:
        // Tables travel after the row; the placeholder is an unused handle.
        if (value.kind() != WireValue::Kind::Table)
            badKind(spec, value);
        row.writeInteger(0);
        break;
    default:
        throw WireError(u"data type %1 cannot be sent"_s.arg(int(spec.type)));
    }
    return {};
}

} // namespace

std::unique_ptr<OutgoingBlob> encodeValue(RowWriter &row, const ParamSpec &spec, const WireValue &value,
                                          qsizetype inlineLimit, qsizetype chunkSize)
{
    try {
        return encodeUnchecked(row, spec, value, inlineLimit, chunkSize);
    } catch (const ProtocolError &) {
        throw;
    } catch (const WireError &e) {
        throw WireError(u"Parameter \"%1\": %2"_s.arg(spec.name, e.message()));
    }
}

WireValue finishText(const ParamSpec &spec, const QByteArray &bytes)
{
    switch (formOf(spec)) {
    case ValueForm::AnsiText: return WireValue::text(decodeAnsiString(bytes));
    case ValueForm::Stream: return WireValue::stream(std::make_shared<ByteArrayStream>(bytes));
    default: return WireValue::text(decodeWideString(bytes));
    }
}

DecodedParam decodeValue(const RawField &field, const ParamSpec &spec)
{
    DecodedParam out;
    if (field.isNull())
        return out;
    try {
        switch (formOf(spec)) {
        case ValueForm::Text:
        case ValueForm::AnsiText:
        case ValueForm::Stream:
            out.partial = decodeBytes(field);
            out.more = field.kind != RawField::Kind::Legacy && field.flag;
            if (!out.more)
                out.value = finishText(spec, out.partial);
            return out;
        case ValueForm::Scalar:
            break;
        }
        switch (spec.type) {
        case DataType::Int8:
        case DataType::UInt8:
        case DataType::Int16:
        case DataType::UInt16:
        case DataType::Int32:
        case DataType::Date:
        case DataType::Time:
            out.value = WireValue::int32(qint32(int32Of(decodeInteger(field))));
            break;
        case DataType::Int64: out.value = WireValue::int64(decodeInteger(field)); break;
        case DataType::Double: out.value = WireValue::real(decodeDouble(field)); break;
        case DataType::Single: out.value = WireValue::real(double(decodeSingle(field))); break;
        case DataType::Bcd:
        case DataType::Currency: {
            bool ok = false;
            const double v = decodeBytes(field).toDouble(&ok);
            if (!ok)
                throw ProtocolError(u"decimal text is not a number"_s);
            out.value = WireValue::real(v);
            break;
        }
        case DataType::Boolean: out.value = WireValue::boolean(decodeBoolean(field)); break;
        case DataType::DateTime:
        case DataType::TimeStamp: out.value = WireValue::dateTime(msToDateTime(decodeTimestampMs(field))); break;
        case DataType::JsonValue: {
            if (field.kind != RawField::Kind::Json)
                throw ProtocolError(u"expected a JSON block"_s);
            QByteArray text = field.bytes();
            if (text.trimmed() != "null")
                out.value = WireValue::json(std::move(text));
            break;
        }
        case DataType::Callback:
            if (field.kind != RawField::Kind::Callback)
                throw ProtocolError(u"expected a callback marker"_s);
            out.value = WireValue::callback();
            break;
        case DataType::Table:
            decodeInteger(field);
            out.table = true;
            break;
        default:
            throw ProtocolError(u"data type %1 is not supported"_s.arg(int(spec.type)));
        }
    } catch (const ProtocolError &e) {
        throw ProtocolError(u"Parameter \"%1\": %2"_s.arg(spec.name, e.message()));
    }
    return out;
}

} // namespace morvex::wire
