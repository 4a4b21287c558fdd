#include "core/wire/ServerMethodCommand.h"

#include "core/data/RecordSet.h"
#include "core/wire/ClientChannel.h"
#include "core/wire/DataSnapConnection.h"
#include "core/wire/ParameterCodec.h"
#include "core/wire/RowCodec.h"
#include "core/wire/TableCodec.h"
#include "core/wire/ValueCodec.h"
#include "core/wire/WireChoices.h"
#include "core/wire/WireStream.h"

#include <cstring>
#include <limits>
#include <map>

using namespace Qt::StringLiterals;

namespace morvex::wire {

struct CommandState
{
    QString text;
    int handle = -1;
    quint64 generation = 0;
    std::vector<ParamSpec> params;
    std::vector<WireValue> values;
    // Counts executions; results of an earlier one are no longer valid.
    quint64 serial = 0;
};

namespace {

// A stream result read lazily: the part that came inline, then more_blob chunks as the reader
// asks for them.
class RemoteBlobReader : public WireStream
{
public:
    RemoteBlobReader(std::shared_ptr<ClientChannel> channel, const std::shared_ptr<CommandState> &state, int ordinal,
                     QByteArray first, bool more)
        : m_channel(std::move(channel))
        , m_state(state)
        , m_serial(state->serial)
        , m_generation(state->generation)
        , m_handle(state->handle)
        , m_ordinal(ordinal)
        , m_blobHandle(m_channel->nextBlobHandle())
        , m_buffer(std::move(first))
        , m_more(more)
    {
    }

    qint64 read(char *data, qint64 maxSize) override
    {
        qint64 total = 0;
        while (total < maxSize) {
            if (m_pos < m_buffer.size()) {
                const qint64 n = std::min<qint64>(maxSize - total, m_buffer.size() - m_pos);
                std::memcpy(data + total, m_buffer.constData() + m_pos, size_t(n));
                m_pos += qsizetype(n);
                total += n;
                continue;
            }
            if (!m_more)
                break;
            fetch();
        }
        return total;
    }

private:
    void fetch()
    {
        const auto state = m_state.lock();
        if (!state || state->serial != m_serial || m_channel->generation() != m_generation)
            throw WireError(u"The stream is no longer available: its command was executed again or closed"_s);
        bool last = false;
        m_buffer = m_channel->guarded([&] {
            return pullBlobChunk(*m_channel, m_handle, m_blobHandle, 0, m_ordinal, true, 0, last);
        });
        m_pos = 0;
        m_more = !last;
    }

    std::shared_ptr<ClientChannel> m_channel;
    std::weak_ptr<CommandState> m_state;
    quint64 m_serial;
    quint64 m_generation;
    int m_handle;
    int m_ordinal;
    int m_blobHandle;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_more;
};

int intOf(const Node &node, const char *what)
{
    const qint64 v = node.asInteger(what);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        throw ProtocolError(u"%1 out of range"_s.arg(QLatin1StringView(what)));
    return int(v);
}

} // namespace

} // namespace morvex::wire

namespace morvex {

using namespace wire;

ServerMethodCommand::ServerMethodCommand(DataSnapConnection &connection, QString text)
    : m_channel(connection.channel())
    , m_state(std::make_shared<CommandState>())
{
    m_state->text = std::move(text);
}

ServerMethodCommand::~ServerMethodCommand()
{
    if (!isPrepared())
        return;
    try {
        m_channel->send(request("command_close", QByteArray::number(m_state->handle)));
        m_channel->commandClosed(m_state->handle);
    } catch (...) {
        // The connection is gone; so is the command on the server.
        m_channel->abandon();
    }
}

const QString &ServerMethodCommand::text() const
{
    return m_state->text;
}

bool ServerMethodCommand::isPrepared() const
{
    return m_state->handle >= 0 && m_state->generation == m_channel->generation() && m_channel->isOpen();
}

int ServerMethodCommand::handle() const
{
    return isPrepared() ? m_state->handle : -1;
}

const std::vector<ParamSpec> &ServerMethodCommand::parameters() const
{
    return m_state->params;
}

void ServerMethodCommand::prepare()
{
    CommandState &s = *m_state;
    if (isPrepared())
        return;
    s.handle = -1;
    s.params.clear();
    s.values.clear();
    ++s.serial;
    MessageWriter w;
    w.beginRequest("prepare").raw("-1,false,").string(QString(kServerMethodCommandType)).raw(",").string(s.text).endRequest();
    const QByteArray message = w.take();
    m_channel->guarded([&] {
        m_channel->send(message);
        const Node answer = m_channel->receive();
        if (answer.firstKey() == u"error")
            throwRemoteError(answer);
        const Node *result = answer.member(u"result");
        if (!result || !result->isArray())
            throw ProtocolError(u"Unexpected answer to prepare: \"%1\""_s.arg(answer.firstKey()));
        int handle = -1;
        std::vector<ParamSpec> params;
        for (const Node &part : result->items) {
            if (const Node *h = part.member(u"handle"))
                handle = intOf(h->item(0, "command handle"), "command handle");
            else if (const Node *p = part.member(u"parameters"))
                params = parseParameters(*p);
        }
        if (handle < 0)
            throw ProtocolError(u"The answer to prepare carries no command handle"_s);
        s.handle = handle;
        s.params = std::move(params);
        s.generation = m_channel->generation();
        m_channel->commandOpened(handle);
    });
}

const WireValue &ServerMethodCommand::value(int position) const
{
    if (position < 0 || position >= int(m_state->values.size()))
        throw WireError(u"No value at position %1 of %2 (%3 values)"_s.arg(position).arg(m_state->text).arg(
            m_state->values.size()));
    return m_state->values[size_t(position)];
}

int ServerMethodCommand::valueCount() const
{
    return int(m_state->values.size());
}

void ServerMethodCommand::execute(const std::vector<WireValue> &values)
{
    if (!isPrepared())
        throw WireError(u"The command %1 is not prepared on an open connection"_s.arg(m_state->text));
    const std::shared_ptr<CommandState> state = m_state;
    CommandState &s = *state;
    if (values.size() > s.params.size())
        throw WireError(u"%1 takes %2 parameters, %3 given"_s.arg(s.text).arg(s.params.size()).arg(values.size()));

    // The earlier results go now, whatever happens to this execution.
    s.values.clear();
    ++s.serial;

    const int chunkSize = kDefaultBufferBytes - kChunkReserve;
    std::map<int, std::unique_ptr<OutgoingBlob>> outgoing;
    RowWriter row;
    for (size_t i = 0; i < s.params.size(); ++i) {
        const ParamSpec &spec = s.params[i];
        if (!sendsValue(spec.direction) || i >= values.size()) {
            row.writeNull();
            continue;
        }
        if (spec.type == DataType::Table && !values[i].isNull())
            throw WireError(u"Parameter \"%1\": sending tables is not supported"_s.arg(spec.name));
        auto rest = encodeValue(row, spec, values[i], inlineCapacity(row.size(), kDefaultBufferBytes), chunkSize);
        if (rest)
            outgoing.emplace(int(i), std::move(rest));
    }
    MessageWriter w;
    w.beginRequest("execute").raw("{\"handle\":[").integer(s.handle).raw("]}");
    if (!s.params.empty())
        w.raw(",").dataBlock(row.size(), row.bytes().constData(), row.size());
    w.endRequest();
    const QByteArray message = w.take();

    std::vector<TableMeta> tables;
    try {
        std::vector<WireValue> results = m_channel->guarded([&] {
            m_channel->send(message);
            Node answer;
            for (;;) {
                answer = m_channel->receive();
                const QString key = answer.firstKey();
                if (key == u"result")
                    break;
                if (key == u"error")
                    throwRemoteError(answer);
                if (key == u"callback") {
                    // No callback of this client does anything; an empty answer lets the server go on.
                    m_channel->send(MessageWriter().dataBlock(4, "null", 4).take());
                } else if (key == u"more_blob") {
                    const int ordinal = intOf(answer.firstValue().item(3, "more_blob ordinal"), "more_blob ordinal");
                    bool last = true;
                    QByteArray chunk;
                    if (auto it = outgoing.find(ordinal); it != outgoing.end())
                        chunk = it->second->nextChunk(chunkSize, last);
                    const qint64 count = last ? -chunk.size() : chunk.size();
                    m_channel->send(MessageWriter().dataBlock(count, chunk.constData(), chunk.size(), true).take());
                } else if (key == u"next") {
                    m_channel->send(MessageWriter().dataBlock(0, nullptr, 0).take());
                }
                // metadata and anything unknown: read and dropped.
            }

            const Node &result = answer.firstValue();
            if (!result.isArray())
                throw ProtocolError(u"An execute result that is not an array"_s);
            const Node *outRow = nullptr;
            for (const Node &part : result.items) {
                if (const Node *d = part.member(u"data"))
                    outRow = d;
                else if (const Node *t = part.member(u"table"))
                    tables.push_back(parseTableMeta(*t));
                else if (const Node *p = part.member(u"parameters")) {
                    std::vector<ParamSpec> changed = parseParameters(*p);
                    if (changed.size() != s.params.size())
                        throw ProtocolError(u"The server changed the number of parameters of %1"_s.arg(s.text));
                    s.params = std::move(changed);
                }
            }
            // Every table's first batch follows the result; read them all before asking for more.
            std::vector<RawBlock> firstBatches;
            for (size_t t = 0; t < tables.size(); ++t) {
                const Node batch = m_channel->receive();
                if (batch.firstKey() == u"error")
                    throwRemoteError(batch);
                if (batch.firstKey() != u"data")
                    throw ProtocolError(u"Expected the first batch of a table, got \"%1\""_s.arg(batch.firstKey()));
                firstBatches.push_back(rawBlockOf(batch.firstValue(), "table batch"));
            }

            std::vector<WireValue> values(s.params.size());
            std::vector<int> tableSlots;
            bool receives = false;
            for (const ParamSpec &spec : s.params)
                receives = receives || receivesValue(spec.direction);
            if (receives && !outRow)
                throw ProtocolError(u"The result of %1 carries no values"_s.arg(s.text));
            if (outRow) {
                const RawBlock block = rawBlockOf(*outRow, "result row");
                RowReader reader(block.bytes);
                for (size_t i = 0; i < s.params.size(); ++i) {
                    const ParamSpec &spec = s.params[i];
                    if (reader.atEnd())
                        throw ProtocolError(u"The result row of %1 ends after %2 of its %3 values"_s.arg(s.text).arg(i).arg(
                            s.params.size()));
                    DecodedParam d = decodeValue(reader.next(), spec);
                    if (d.table) {
                        tableSlots.push_back(int(i));
                    } else if (d.more && formOf(spec) == ValueForm::Stream) {
                        values[i] = WireValue::stream(std::make_shared<RemoteBlobReader>(m_channel, state, int(i),
                                                                                         std::move(d.partial), true));
                    } else if (d.more) {
                        QByteArray bytes = std::move(d.partial);
                        const int blobHandle = m_channel->nextBlobHandle();
                        for (bool last = false; !last;)
                            bytes += pullBlobChunk(*m_channel, s.handle, blobHandle, 0, int(i), true, 0, last);
                        values[i] = finishText(spec, bytes);
                    } else {
                        values[i] = std::move(d.value);
                    }
                }
                if (!reader.atEnd())
                    throw ProtocolError(u"The result row of %1 has more values than its %2 parameters"_s.arg(s.text).arg(
                        s.params.size()));
            }
            if (tableSlots.size() != tables.size())
                throw ProtocolError(u"The result of %1 announces %2 tables for %3 table values"_s.arg(s.text)
                                        .arg(tables.size())
                                        .arg(tableSlots.size()));

            for (size_t t = 0; t < tables.size(); ++t) {
                const TableMeta &meta = tables[t];
                auto set = std::make_shared<RecordSet>();
                TableDecoder decoder(meta.columns, *set);
                const TableDecoder::FetchRest fetchRest = [&](int r, int column) {
                    QByteArray rest;
                    const int blobHandle = m_channel->nextBlobHandle();
                    for (bool last = false; !last;)
                        rest += pullBlobChunk(*m_channel, s.handle, blobHandle, r, column, false, meta.rowHandle, last);
                    return rest;
                };
                RawBlock batch = std::move(firstBatches[t]);
                const auto sendNext = [&](int position) {
                    MessageWriter next;
                    next.beginRequest("next")
                        .integer(meta.rowHandle)
                        .raw(",")
                        .integer(position)
                        .raw(",")
                        .integer(s.handle)
                        .endRequest();
                    m_channel->send(next.take());
                };
                for (;;) {
                    // Ask for the next batch before decoding this one, so that the server
                    // encodes while the client decodes; not when a cell here still needs
                    // more_blob, whose answer must come first.
                    bool continued = false;
                    const int rows = decoder.scanBatch(batch.bytes.constData(), batch.bytes.size(), continued);
                    const bool early = batch.count > 0 && !continued;
                    if (early)
                        sendNext(decoder.rowCount() + rows);
                    decoder.decodeBatch(batch.bytes.constData(), batch.bytes.size(), fetchRest);
                    if (batch.count <= 0)
                        break;
                    if (!early)
                        sendNext(decoder.rowCount());
                    const Node reply = m_channel->receive();
                    if (reply.firstKey() == u"error")
                        throwRemoteError(reply);
                    if (reply.firstKey() != u"data")
                        throw ProtocolError(u"Expected a table batch, got \"%1\""_s.arg(reply.firstKey()));
                    batch = rawBlockOf(reply.firstValue(), "table batch");
                }
                values[size_t(tableSlots[t])] = WireValue::table(std::move(set));
            }
            return values;
        });
        s.values = std::move(results);
    } catch (...) {
        s.values.clear();
        ++s.serial;
        closeReaders(tables);
        throw;
    }
    closeReaders(tables);
}

void ServerMethodCommand::closeReaders(const std::vector<wire::TableMeta> &tables)
{
    // A DataSnap client sends reader_close with its next request.
    if (!m_channel->isOpen())
        return;
    for (const TableMeta &meta : tables)
        m_channel->defer(request("reader_close", QByteArray::number(meta.rowHandle) + ',' + QByteArray::number(m_state->handle)));
}

} // namespace morvex
