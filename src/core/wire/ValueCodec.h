#pragma once

#include "core/wire/WireTypes.h"
#include "core/wire/WireValue.h"

#include <QByteArray>

#include <memory>

namespace morvex {
class WireStream;
}

namespace morvex::wire {

class RowWriter;
struct RawField;

// The part of a string or stream value that did not fit its row, sent later in more_blob chunks.
class OutgoingBlob
{
public:
    OutgoingBlob() = default;
    OutgoingBlob(QByteArray buffered, std::shared_ptr<WireStream> stream);
    // The next chunk of at most chunkSize bytes; `last` is set when nothing follows it.
    QByteArray nextChunk(qsizetype chunkSize, bool &last);
    bool isEmpty() const { return m_buffered.isEmpty() && !m_stream; }

private:
    QByteArray m_buffered;
    std::shared_ptr<WireStream> m_stream;
};

// Writes one parameter value as its declared type. A string or stream longer than inlineLimit
// goes in part; the rest is returned (empty when everything went inline). Raises WireError when
// the value's kind does not suit the type.
std::unique_ptr<OutgoingBlob> encodeValue(RowWriter &row, const ParamSpec &spec, const WireValue &value,
                                          qsizetype inlineLimit, qsizetype chunkSize);

// One parameter read from a row. Strings and streams cut short (`more`) carry their first part in
// `partial`; a non-null table placeholder sets `table`.
struct DecodedParam
{
    WireValue value;
    bool table = false;
    bool more = false;
    QByteArray partial;
};

enum class ValueForm { Text, AnsiText, Stream, Scalar };
// How a declared type travels in a row.
ValueForm formOf(const ParamSpec &spec);

DecodedParam decodeValue(const RawField &field, const ParamSpec &spec);
// The final value of a string or stream read whole (partial plus the rest).
WireValue finishText(const ParamSpec &spec, const QByteArray &bytes);

} // namespace morvex::wire
