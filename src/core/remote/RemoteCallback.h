#pragma once

#include <QJsonValue>

#include <functional>

namespace morvex {

// A callback argument of a remote method. On the wire only its presence travels (the callback
// marker); the server sees whether one was passed. The transport does not yet carry the
// server's calls back to the client, so the function is kept for when it does.
class RemoteCallback
{
public:
    using Function = std::function<QJsonValue(const QJsonValue &)>;

    RemoteCallback() = default; // no callback: travels as null
    explicit RemoteCallback(Function function)
        : m_function(std::move(function))
        , m_present(true)
    {
    }
    // A callback the server received: present, with nothing to call on this side.
    static RemoteCallback received()
    {
        RemoteCallback callback;
        callback.m_present = true;
        return callback;
    }

    bool isPresent() const { return m_present; }
    const Function &function() const { return m_function; }

private:
    Function m_function;
    bool m_present = false;
};

} // namespace morvex
