#include "RemoteTestServer.h"

#include <QHostAddress>

#include <chrono>
#include <stdexcept>

using namespace std::chrono_literals;

namespace morvex::test {

class RemoteTestServer::Registry : public ServerMethodRegistry
{
public:
    Registry(const ServerMethodRegistry &inner, Tamper tamper)
        : m_inner(inner)
        , m_tamper(std::move(tamper))
    {
    }
    const MethodSignature *find(QStringView classDotMethod) const override
    {
        return m_inner.find(classDotMethod);
    }
    void invoke(const MethodSignature &method, std::vector<WireValue> &params) const override
    {
        m_inner.invoke(method, params);
        if (m_tamper)
            m_tamper(method, params);
    }

private:
    const ServerMethodRegistry &m_inner;
    Tamper m_tamper;
};

RemoteTestServer::RemoteTestServer(RoundTripPlan plan, DataSnapServerOptions options, Tamper tamper)
    : m_methods(makeRoundTripServer(plan))
    , m_dispatcher(std::make_unique<ServerMethodsDispatcher>(m_methods->methods()))
    , m_registry(std::make_unique<Registry>(*m_dispatcher, std::move(tamper)))
{
    options.readTimeout = 10s;
    m_server = std::make_unique<DataSnapServer>(*m_registry, options);
    if (!m_server->listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("test server: " + m_server->errorString().toStdString());
}

RemoteTestServer::~RemoteTestServer()
{
    m_server->stop();
}

quint16 RemoteTestServer::port() const
{
    return m_server->serverPort();
}

const ServerMethodRegistry &RemoteTestServer::registry() const
{
    return *m_registry;
}

std::unique_ptr<DataSnapConnection> RemoteTestServer::connect(quint16 port) const
{
    auto connection = std::make_unique<DataSnapConnection>();
    connection->setHostName(QStringLiteral("127.0.0.1"));
    connection->setPort(QString::number(port ? port : this->port()));
    connection->setReadTimeout(10s);
    connection->setConnectTimeout(5s);
    connection->open();
    return connection;
}

} // namespace morvex::test
