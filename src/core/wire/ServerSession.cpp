#include "core/wire/ServerSession.h"

#include "core/data/RecordSet.h"
#include "core/wire/ByteReader.h"
#include "core/wire/Message.h"
#include "core/wire/ParameterCodec.h"
#include "core/wire/RowCodec.h"
#include "core/wire/ServerMethodRegistry.h"
#include "core/wire/SocketSource.h"
#include "core/wire/TableCodec.h"
#include "core/wire/ValueCodec.h"
#include "core/wire/WireError.h"
#include "core/wire/WireStream.h"

#include <QTcpSocket>

#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <tuple>

using namespace Qt::StringLiterals;

namespace morvex::wire {

namespace {

// An error to answer with: exception class name, code and message (without the prefix).
struct Failure
{
    QString name;
    int code;
    QString message;
};

Failure genericFailure(const QString &message)
{
    return {u"Exception"_s, kGenericErrorCode, message};
}

int intOf(const Node &node, const char *what)
{
    const qint64 v = node.asInteger(what);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        throw ProtocolError(u"%1 out of range"_s.arg(QLatin1StringView(what)));
    return int(v);
}

struct TableCursor
{
    std::shared_ptr<RecordSet> set;
    std::unique_ptr<TableEncoder> encoder;
};

// (rowHandle, row, ordinal); parameters use (0, 0, ordinal).
using BlobKey = std::tuple<int, int, int>;

struct ServerCommand
{
    const MethodSignature *method = nullptr;
    std::vector<WireValue> params; // the last execution's values: they own its tables and streams
    std::map<int, TableCursor> cursors;
    std::map<BlobKey, std::unique_ptr<OutgoingBlob>> blobs;

    void discardResults()
    {
        cursors.clear();
        blobs.clear();
        params.clear();
    }
};

class Session
{
public:
    Session(const ServerMethodRegistry &registry, const DataSnapServerOptions &options, QTcpSocket &socket,
            ByteReader &reader)
        : m_registry(registry)
        , m_options(options)
        , m_socket(socket)
        , m_reader(reader)
    {
    }

    // Handles one request; false when the client said goodbye.
    bool handle(const Node &message)
    {
        const Node *methodNode = message.member(u"method");
        const Node *paramsNode = message.member(u"params");
        if (!methodNode || methodNode->kind != Node::Kind::String)
            return true; // not a request; nothing to answer
        static const Node noParams = [] {
            Node n;
            n.kind = Node::Kind::Array;
            return n;
        }();
        const Node &params = paramsNode && paramsNode->isArray() ? *paramsNode : noParams;
        const QString &method = methodNode->string;
        try {
            if (method == u"connect")
                connect(params);
            else if (method == u"prepare")
                prepare(params);
            else if (method == u"execute")
                execute(params);
            else if (method == u"next")
                next(params);
            else if (method == u"more_blob")
                moreBlob(params);
            else if (method == u"reader_close")
                readerClose(params);
            else if (method == u"command_close")
                commandClose(params);
            else if (method == u"disconnect")
                return false;
            else if (method == u"vendor_property")
                send(QByteArray("{\"result\":[\"\"]}"));
            else if (method == u"next_result")
                send(QByteArray("{\"result\":[false,0,false,-1]}"));
            else if (method == u"txbegin" || method == u"txend")
                sendError(genericFailure(u"This server has no database connection for transactions"_s));
            // Any other method is skipped without an answer.
        } catch (const ProtocolError &e) {
            // The request was read whole, so the stream is still in step: answer with the fault.
            if (expectsAnswer(method))
                sendError(genericFailure(e.message()));
        }
        return true;
    }

private:
    static bool expectsAnswer(const QString &method)
    {
        return method != u"reader_close" && method != u"command_close" && method != u"disconnect";
    }

    void send(const QByteArray &bytes) { writeAll(m_socket, bytes, m_options.readTimeout); }

    void sendError(const Failure &f)
    {
        MessageWriter w;
        // The outer object stays open: a DataSnap client stops reading after the inner brace.
        w.raw("{\"error\":{\"name\":")
            .string(f.name)
            .raw(",\"code\":")
            .integer(f.code)
            .raw(",\"message\":")
            .string(QString(u"Remote error: "_s + f.message))
            .raw("}");
        send(w.take());
    }

    void connect(const Node &params)
    {
        std::vector<std::pair<QString, QString>> properties;
        if (!params.items.empty() && params.items[0].isObject()) {
            const Node &object = params.items[0];
            for (size_t i = 0; i < object.keys.size(); ++i) {
                const QString &key = object.keys[i];
                const Node &value = object.values[i];
                QString text;
                if (value.kind == Node::Kind::String)
                    text = value.string;
                else if (value.kind == Node::Kind::Number)
                    text = QString::number(value.number);
                else if (value.kind == Node::Kind::Boolean)
                    text = value.boolean ? u"true"_s : u"false"_s;
                properties.emplace_back(key, text);
            }
        }
        if (m_options.onConnect) {
            try {
                m_options.onConnect(properties);
            } catch (const ServerMethodError &e) {
                sendError({e.name(), e.code(), e.message()});
                return;
            } catch (const std::exception &e) {
                sendError(genericFailure(QString::fromUtf8(e.what())));
                return;
            }
        }
        MessageWriter w;
        w.raw("{\"result\":[")
            .integer(kConnectionHandle)
            .raw(",")
            .string(QString(kProductName))
            .raw(",")
            .integer(kProtocolVersion)
            .raw("]}");
        send(w.take());
    }

    const MethodSignature *findMethod(const QString &type, const QString &text)
    {
        if (type.compare(QString(kServerMethodCommandType), Qt::CaseInsensitive) != 0) {
            sendError(genericFailure(u"Unsupported command type \"%1\""_s.arg(type)));
            return nullptr;
        }
        // Text such as "Class.Method(1,abc)" carries literal arguments this server does not take.
        const MethodSignature *method = m_registry.find(text);
        if (!method)
            sendError({u"TDBXError"_s, kMethodNotFoundCode, text + u" method not found in the server method list"_s});
        return method;
    }

    int allocate(const MethodSignature *method)
    {
        size_t slot = 0;
        while (slot < m_commands.size() && m_commands[slot])
            ++slot;
        if (slot == m_commands.size())
            m_commands.emplace_back();
        m_commands[slot] = std::make_unique<ServerCommand>();
        m_commands[slot]->method = method;
        return int(slot);
    }

    ServerCommand *command(int handle)
    {
        if (handle < 0 || size_t(handle) >= m_commands.size())
            return nullptr;
        return m_commands[size_t(handle)].get();
    }

    void prepare(const Node &params)
    {
        const int existing = intOf(params.item(0, "prepare command handle"), "prepare command handle");
        const QString &type = params.item(2, "prepare command type").asString("prepare command type");
        const QString &text = params.item(3, "prepare command text").asString("prepare command text");
        const MethodSignature *method = findMethod(type, text);
        if (!method)
            return;
        int handle = existing;
        if (ServerCommand *cmd = command(existing)) {
            cmd->discardResults();
            cmd->method = method;
        } else {
            handle = allocate(method);
        }
        MessageWriter w;
        w.raw("{\"result\":[{\"handle\":[").integer(handle).raw("]},{\"fields\":[0,false]}");
        if (!method->params.empty()) {
            w.raw(",");
            writeParameters(w, method->params);
        }
        w.raw("]}");
        send(w.take());
    }

    // The rest of an input value the client could not fit in its row.
    QByteArray pullInput(int handle, int ordinal)
    {
        QByteArray bytes;
        for (;;) {
            MessageWriter w;
            w.raw("{\"more_blob\":[")
                .integer(handle)
                .raw(",")
                .integer(m_blobHandle++)
                .raw(",0,")
                .integer(ordinal)
                .raw(",0]}");
            send(w.take());
            const Node answer = readMessage(m_reader);
            const Node *data = answer.member(u"data");
            if (!data)
                throw ProtocolError(u"Expected a data block for an input value, got \"%1\""_s.arg(answer.firstKey()));
            RawBlock block = rawBlockOf(*data, "input value chunk");
            bytes += block.bytes;
            if (block.count <= 0)
                return bytes;
        }
    }

    void execute(const Node &params)
    {
        const Node &first = params.item(0, "execute command");
        int handle = -1;
        if (const Node *h = first.member(u"handle")) {
            handle = intOf(h->item(0, "execute handle"), "execute handle");
        } else if (const Node *f = first.member(u"fields")) {
            // Unprepared form: a new command whose handle the client never learns.
            const MethodSignature *method = findMethod(f->item(2, "execute command type").asString("execute command type"),
                                                       f->item(3, "execute command text").asString("execute command text"));
            if (!method)
                return;
            handle = allocate(method);
        }
        ServerCommand *cmd = command(handle);
        if (!cmd) {
            sendError({u"TDBXError"_s, kGenericErrorCode, u"Command handle %1 is not open"_s.arg(handle)});
            return;
        }
        cmd->discardResults();
        const MethodSignature &method = *cmd->method;
        std::vector<WireValue> values(method.params.size());

        const Node *rowNode = nullptr;
        bool inputTables = false;
        for (size_t i = 1; i < params.items.size(); ++i) {
            if (const Node *d = params.items[i].member(u"data"); d && !rowNode && !inputTables)
                rowNode = d;
            else if (params.items[i].member(u"table"))
                inputTables = true;
        }
        if (inputTables) {
            sendError(genericFailure(u"Table parameters are not supported"_s));
            return;
        }
        if (rowNode) {
            const RawBlock block = rawBlockOf(*rowNode, "parameter row");
            RowReader reader(block.bytes);
            for (size_t i = 0; i < method.params.size(); ++i) {
                const ParamSpec &spec = method.params[i];
                if (reader.atEnd()) {
                    sendError(genericFailure(u"The parameter row of %1 ends after %2 of its %3 values"_s.arg(method.name)
                                                 .arg(i)
                                                 .arg(method.params.size())));
                    return;
                }
                DecodedParam d = decodeValue(reader.next(), spec);
                if (d.more)
                    d.value = finishText(spec, d.partial + pullInput(handle, int(i)));
                if (d.table) {
                    sendError(genericFailure(u"Table parameters are not supported"_s));
                    return;
                }
                if (sendsValue(spec.direction))
                    values[i] = std::move(d.value);
            }
            if (!reader.atEnd()) {
                sendError(genericFailure(u"The parameter row of %1 has more values than its %2 parameters"_s.arg(method.name)
                                             .arg(method.params.size())));
                return;
            }
        }
        // Without a row (the unprepared form) every input is null.

        try {
            m_registry.invoke(method, values);
        } catch (const ServerMethodError &e) {
            sendError({e.name(), e.code(), e.message()});
            return;
        } catch (const std::exception &e) {
            sendError(genericFailure(QString::fromUtf8(e.what())));
            return;
        } catch (...) {
            sendError(genericFailure(u"Unknown failure"_s));
            return;
        }
        values.resize(method.params.size());

        QByteArray reply;
        try {
            reply = executeReply(handle, *cmd, method, values);
        } catch (const std::exception &e) {
            cmd->discardResults();
            sendError(genericFailure(QString::fromUtf8(e.what())));
            return;
        }
        cmd->params = std::move(values);
        send(reply);
    }

    QByteArray executeReply(int handle, ServerCommand &cmd, const MethodSignature &method, std::vector<WireValue> &values)
    {
        const qsizetype chunk = m_options.effectiveBlobChunk();
        MessageWriter w;
        w.raw("{\"result\":[");
        if (kWriteRowsCount)
            w.raw("{\"rows\":[0]}");
        bool receives = false;
        for (const ParamSpec &spec : method.params)
            receives = receives || receivesValue(spec.direction);
        std::vector<int> tableSlots;
        if (receives) {
            RowWriter row;
            for (size_t i = 0; i < method.params.size(); ++i) {
                const ParamSpec &spec = method.params[i];
                if (!receivesValue(spec.direction)) {
                    row.writeNull();
                    continue;
                }
                auto rest = encodeValue(row, spec, values[i], m_options.inlineCapacity(row.size()), chunk);
                if (rest)
                    cmd.blobs.emplace(BlobKey{0, 0, int(i)}, std::move(rest));
                if (spec.type == DataType::Table && !values[i].isNull())
                    tableSlots.push_back(int(i));
            }
            if (kWriteRowsCount)
                w.raw(",");
            w.dataBlock(row.size(), row.bytes().constData(), row.size());
        }
        int rowHandle = kFirstRowHandle;
        std::vector<int> handles;
        for (const int slot : tableSlots) {
            TableCursor cursor;
            cursor.set = values[size_t(slot)].toTable();
            cursor.encoder = std::make_unique<TableEncoder>(*cursor.set, m_options.effectiveBatchThreshold(),
                                                            [this](qsizetype offset) {
                                                                return m_options.inlineCapacity(offset);
                                                            });
            TableMeta meta;
            meta.commandHandle = handle;
            meta.rowHandle = rowHandle;
            meta.columns = cursor.encoder->columns();
            w.raw(",");
            writeTableMeta(w, meta);
            cmd.cursors.emplace(rowHandle, std::move(cursor));
            handles.push_back(rowHandle++);
        }
        w.raw("]}");
        bool firstBatch = true;
        for (const int h : handles) {
            if (!firstBatch)
                w.raw(",");
            firstBatch = false;
            writeBatch(w, cmd, h);
        }
        return w.take();
    }

    void writeBatch(MessageWriter &w, ServerCommand &cmd, int rowHandle)
    {
        TableCursor &cursor = cmd.cursors.at(rowHandle);
        std::vector<TableEncoder::PendingCell> pending;
        const QByteArray batch = cursor.encoder->nextBatch(pending);
        for (auto &p : pending)
            cmd.blobs.emplace(BlobKey{rowHandle, p.row, p.column}, std::make_unique<OutgoingBlob>(std::move(p.rest), nullptr));
        const qint64 count = cursor.encoder->atEnd() ? -batch.size() : batch.size();
        w.dataBlock(count, batch.constData(), batch.size());
    }

    void next(const Node &params)
    {
        const int rowHandle = intOf(params.item(0, "next row handle"), "next row handle");
        const int handle = intOf(params.item(2, "next command handle"), "next command handle");
        ServerCommand *cmd = command(handle);
        if (!cmd || !cmd->cursors.count(rowHandle)) {
            sendError({u"TDBXError"_s, kGenericErrorCode, u"No open reader %1 on command %2"_s.arg(rowHandle).arg(handle)});
            return;
        }
        MessageWriter w;
        writeBatch(w, *cmd, rowHandle);
        send(w.take());
    }

    void moreBlob(const Node &params)
    {
        const int handle = intOf(params.item(0, "more_blob command handle"), "more_blob command handle");
        const int row = intOf(params.item(2, "more_blob row"), "more_blob row");
        const int ordinal = intOf(params.item(3, "more_blob ordinal"), "more_blob ordinal");
        const bool isParam = params.item(4, "more_blob kind").asBoolean("more_blob kind");
        const int rowHandle = intOf(params.item(5, "more_blob row handle"), "more_blob row handle");
        ServerCommand *cmd = command(handle);
        const BlobKey key = isParam ? BlobKey{0, 0, ordinal} : BlobKey{rowHandle, row, ordinal};
        auto it = cmd ? cmd->blobs.find(key) : decltype(cmd->blobs.end()){};
        if (!cmd || it == cmd->blobs.end()) {
            sendError({u"TDBXError"_s, kGenericErrorCode, u"No pending value at ordinal %1 on command %2"_s.arg(ordinal).arg(handle)});
            return;
        }
        bool last = false;
        const QByteArray chunk = it->second->nextChunk(m_options.effectiveBlobChunk(), last);
        if (last)
            cmd->blobs.erase(it);
        MessageWriter w;
        w.raw("{\"result\":[");
        w.dataBlock(last ? -chunk.size() : chunk.size(), chunk.constData(), chunk.size(), true);
        w.raw("]}");
        send(w.take());
    }

    void readerClose(const Node &params)
    {
        const int rowHandle = intOf(params.item(0, "reader_close row handle"), "reader_close row handle");
        const int handle = intOf(params.item(1, "reader_close command handle"), "reader_close command handle");
        if (ServerCommand *cmd = command(handle)) {
            cmd->cursors.erase(rowHandle);
            std::erase_if(cmd->blobs, [&](const auto &entry) { return std::get<0>(entry.first) == rowHandle; });
        }
    }

    void commandClose(const Node &params)
    {
        const int handle = intOf(params.item(0, "command_close handle"), "command_close handle");
        if (command(handle))
            m_commands[size_t(handle)].reset();
    }

    const ServerMethodRegistry &m_registry;
    const DataSnapServerOptions &m_options;
    QTcpSocket &m_socket;
    ByteReader &m_reader;
    std::vector<std::unique_ptr<ServerCommand>> m_commands;
    int m_blobHandle = 1;
};

} // namespace

void serveConnection(const ServerMethodRegistry &registry, const DataSnapServerOptions &options, qintptr descriptor,
                     const std::atomic<bool> &stop)
{
    QTcpSocket socket;
    if (!socket.setSocketDescriptor(descriptor))
        return;
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    SocketSource source(socket, options.readTimeout, &stop);
    ByteReader reader(source);
    Session session(registry, options, socket, reader);
    try {
        if (!source.waitIdle())
            return;
        // A client that asks for filters gets "none"; one that starts with JSON is served as is.
        const char *start = reader.ensure(sizeof kFilterQuery);
        if (std::memcmp(start, kFilterQuery, sizeof kFilterQuery) == 0) {
            reader.skip(sizeof kFilterQuery);
            writeAll(socket, QByteArray(kNoFilterReply, sizeof kNoFilterReply), options.readTimeout);
        }
        for (;;) {
            if (!reader.hasBuffered() && !source.waitIdle())
                break;
            if (!session.handle(readMessage(reader)))
                break;
        }
    } catch (const std::exception &) {
        // A broken request or a vanished client ends this connection only.
    }
    socket.disconnectFromHost();
    if (socket.state() != QAbstractSocket::UnconnectedState)
        socket.waitForDisconnected(1000);
}

} // namespace morvex::wire
