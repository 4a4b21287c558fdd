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

// One call as the server's dispatcher sees it: the decoded argument values by position, and
// the places its outputs and result go. An argument of the wrong kind or a wrong number of
// arguments raises ServerMethodError naming the method and the parameter, so the client gets an
// error reply instead of a guess.
class ServerCall
{
public:
    ServerCall(const RemoteMethod &method, std::vector<WireValue> &values);

    const RemoteMethod &method() const { return m_method; }

    QString text(int position) const;
    qint32 int32(int position) const;
    qint64 int64(int position) const;
    double real(int position) const;
    bool boolean(int position) const;
    RemoteCallback callback(int position) const;

    // nullptr when the client sent null.
    template <class T> std::unique_ptr<T> object(int position) const
    {
        const WireValue &v = argument(position, ValueKind::Object);
        if (v.isNull())
            return nullptr;
        try {
            if constexpr (std::is_same_v<T, TransferObject>)
                return objectFromForm(v.toJson());
            else
                return objectFromFormAs<T>(v.toJson());
        } catch (const std::exception &e) {
            failArgument(position, QString::fromStdString(e.what()));
        }
    }

    void setText(int position, const QString &value);
    void setInt32(int position, qint32 value);
    void setInt64(int position, qint64 value);
    void setReal(int position, double value);
    void setBoolean(int position, bool value);
    void setTable(int position, RecordSet table);
    // nullptr sends a null stream.
    void setStream(int position, std::unique_ptr<WireStream> stream);
    void setJsonArray(int position, const QJsonArray &array);
    // nullptr sends null.
    void setObject(int position, std::unique_ptr<TransferObject> object);

    [[noreturn]] void failUnknownMethod() const;

private:
    const WireValue &argument(int position, ValueKind kind) const;
    void set(int position, ValueKind kind, WireValue value);
    [[noreturn]] void failArgument(int position, const QString &problem) const;

    const RemoteMethod &m_method;
    std::vector<WireValue> &m_values;
};

} // namespace morvex
