#include "core/wire/DataSnapConnection.h"

#include "core/wire/ClientChannel.h"

using namespace Qt::StringLiterals;

namespace morvex {

std::vector<std::pair<QString, QString>> DataSnapSettings::connectProperties() const
{
    std::vector<std::pair<QString, QString>> props = {
        {u"DriverName"_s, driverName},
        {u"CommunicationProtocol"_s, communicationProtocol},
        {u"HostName"_s, hostName},
        {u"Port"_s, port},
        {u"Filters"_s, filters},
        {u"DatasnapContext"_s, datasnapContext},
        {u"DSProxyPort"_s, dsProxyPort},
    };
    props.insert(props.end(), extraProperties.begin(), extraProperties.end());
    return props;
}

DataSnapConnection::DataSnapConnection()
    : DataSnapConnection(DataSnapSettings{})
{
}

DataSnapConnection::DataSnapConnection(DataSnapSettings settings)
    : m_settings(std::move(settings))
    , m_channel(std::make_shared<wire::ClientChannel>())
{
}

DataSnapConnection::~DataSnapConnection()
{
    close();
}

void DataSnapConnection::setProperty(const QString &name, const QString &value)
{
    for (auto &[key, v] : m_settings.extraProperties) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            v = value;
            return;
        }
    }
    m_settings.extraProperties.emplace_back(name, value);
}

std::unique_ptr<DataSnapConnection> DataSnapConnection::clone() const
{
    auto copy = std::make_unique<DataSnapConnection>(m_settings);
    copy->m_readTimeout = m_readTimeout;
    copy->m_connectTimeout = m_connectTimeout;
    return copy;
}

void DataSnapConnection::open()
{
    m_channel->open(m_settings.hostName, m_settings.port, m_settings.connectProperties(), m_connectTimeout,
                    m_readTimeout);
}

void DataSnapConnection::close()
{
    m_channel->close();
}

bool DataSnapConnection::isOpen() const
{
    return m_channel->isOpen();
}

int DataSnapConnection::connectionHandle() const
{
    return m_channel->connectionHandle();
}

QString DataSnapConnection::productName() const
{
    return m_channel->productName();
}

int DataSnapConnection::protocolVersion() const
{
    return m_channel->protocolVersion();
}

} // namespace morvex
