#pragma once

#include "core/data/RecordSet.h"
#include "core/records/ObjectForm.h"
#include "core/records/TransferObject.h"
#include "core/remote/MethodCatalogue.h"
#include "core/remote/RemoteCallback.h"
#include "core/wire/WireStream.h"
#include "core/wire/WireValue.h"

#include <QJsonArray>
#include <QString>

#include <memory>
#include <vector>

namespace morvex {

class ServerMethodCommand;

// One execution of a prepared command, as the generated proxy operations drive it: inputs by
// position, execute, then the output parameters in declared order and the result last. Results
// are taken out of the command, so the caller owns them.
class RemoteCall
{
public:
    RemoteCall(const RemoteMethod &method, ServerMethodCommand &command);

    void setText(int position, const QString &value);
    void setInt32(int position, qint32 value);
    void setInt64(int position, qint64 value);
    void setReal(int position, double value);
    void setBoolean(int position, bool value);
    void setCallback(int position, RemoteCallback callback);
    // Writes the object form (null for nullptr); the object is destroyed once written.
    void setObject(int position, std::unique_ptr<TransferObject> object);

    void execute();

    // Scalars read as their zero value when the server sent null.
    QString text(int position) const;
    qint32 int32(int position) const;
    qint64 int64(int position) const;
    double real(int position) const;
    bool boolean(int position) const;

    // A null table reads as an empty set without columns.
    RecordSet takeTable(int position);
    // nullptr when the server sent a null stream. The reader pulls the rest of a long stream
    // from the server as it is read, so read it before the proxy goes.
    std::shared_ptr<WireStream> takeStream(int position);
    QJsonArray takeJsonArray(int position);

    // Null stays null. A "type" this client has no class for fails with
    // "Internal: Cannot instantiate type <name>"; a known class other than T fails too.
    template <class T> std::unique_ptr<T> takeObject(int position)
    {
        const WireValue &v = result(position, ValueKind::Object);
        if (v.isNull())
            return nullptr;
        if constexpr (std::is_same_v<T, TransferObject>)
            return objectFromForm(v.toJson());
        else
            return objectFromFormAs<T>(v.toJson());
    }

private:
    void set(int position, ValueKind kind, WireValue value);
    const WireValue &result(int position, ValueKind kind) const;

    const RemoteMethod &m_method;
    ServerMethodCommand &m_command;
    std::vector<WireValue> m_values;
};

} // namespace morvex
