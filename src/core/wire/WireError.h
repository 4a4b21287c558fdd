#pragma once

#include <QString>

#include <stdexcept>

namespace morvex {

// Base of every failure the DataSnap transport raises. kind() names the failure the way a
// message box shows it ("Hata: " + kind + ": " + message).
class WireError : public std::runtime_error
{
public:
    explicit WireError(const QString &message);
    virtual QString kind() const;
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The server answered with an error reply: its exception class, code and message (verbatim,
// usually "Remote error: ..."). The connection stays usable.
class RemoteError : public WireError
{
public:
    RemoteError(const QString &name, int code, const QString &message);
    QString kind() const override { return m_name; }
    const QString &name() const { return m_name; }
    int code() const { return m_code; }
    // The message without the "Remote error: " prefix the server puts in front.
    QString plainMessage() const;

private:
    QString m_name;
    int m_code = 0;
};

// The peer could not be reached, closed the connection, or stopped answering. The connection
// is closed when this is raised during a call.
class ConnectionError : public WireError
{
public:
    using WireError::WireError;
    QString kind() const override;
};

class TimeoutError : public ConnectionError
{
public:
    using ConnectionError::ConnectionError;
    QString kind() const override;
};

// The peer sent bytes that do not follow the protocol (or values that do not match their
// declared types). The connection is closed when this is raised during a call.
class ProtocolError : public WireError
{
public:
    using WireError::WireError;
    QString kind() const override;
};

// Thrown by a server method handler to send an error reply with a chosen exception class name
// and code; the server puts "Remote error: " in front of the message. Any other std::exception
// becomes name "Exception", code 5.
class ServerMethodError : public std::runtime_error
{
public:
    ServerMethodError(const QString &name, int code, const QString &message);
    const QString &name() const { return m_name; }
    int code() const { return m_code; }
    const QString &message() const { return m_message; }

private:
    QString m_name;
    int m_code;
    QString m_message;
};

namespace wire {
inline constexpr int kGenericErrorCode = 5;
inline constexpr int kMethodNotFoundCode = 105;
} // namespace wire

} // namespace morvex
