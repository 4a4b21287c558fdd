#pragma once

#include "core/wire/WireTypes.h"
#include "core/wire/WireValue.h"

#include <QString>

#include <memory>
#include <vector>

namespace morvex {

class DataSnapConnection;

namespace wire {
class ClientChannel;
struct CommandState;
struct TableMeta;
} // namespace wire

// One server-method command on an open connection: prepared once, executed any number of times.
// Results (tables, streams, JSON) belong to the command and stay valid until its next execute
// or its destruction; destroying it closes it on the server.
class ServerMethodCommand
{
public:
    // text: "Class.Method", e.g. "TServerMethods1.EchoString".
    ServerMethodCommand(DataSnapConnection &connection, QString text);
    ~ServerMethodCommand();
    ServerMethodCommand(const ServerMethodCommand &) = delete;
    ServerMethodCommand &operator=(const ServerMethodCommand &) = delete;

    const QString &text() const;

    // prepare with handle -1; keeps the handle and the parameter metadata. Raises RemoteError
    // (e.g. method not found), ConnectionError or ProtocolError.
    void prepare();
    bool isPrepared() const;
    int handle() const; // -1 before prepare
    const std::vector<ParamSpec> &parameters() const;

    // Executes with one value per parameter position (missing trailing values are null). The
    // values of out and return positions are not sent. On success every position holds the
    // server's value; tables are complete RecordSets, streams lazy readers, objects JSON text.
    // On failure the previous results are gone and nothing partial is kept.
    void execute(const std::vector<WireValue> &values);

    // Values after execute, by position (the result is the last position when there is one).
    const WireValue &value(int position) const;
    int valueCount() const;

private:
    void closeReaders(const std::vector<wire::TableMeta> &tables);

    std::shared_ptr<wire::ClientChannel> m_channel;
    std::shared_ptr<wire::CommandState> m_state;
};

} // namespace morvex
