#include "core/catalogue/CatalogueSearch.h"

#include "core/data/RecordSet.h"
#include "core/remote/TServerMethods1Client.h"
#include "core/wire/DataSnapConnection.h"

namespace morvex {

namespace {

// Closes the clone however the search ends.
class ClosesConnection
{
public:
    explicit ClosesConnection(DataSnapConnection &connection)
        : m_connection(connection)
    {
    }
    ~ClosesConnection() { m_connection.close(); }
    ClosesConnection(const ClosesConnection &) = delete;
    ClosesConnection &operator=(const ClosesConnection &) = delete;

private:
    DataSnapConnection &m_connection;
};

} // namespace

bool fetchStock(DataSnapConnection &clone, const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi, RecordSet &stok,
                const PauseFunction &pause)
{
    if (!openWithRetries(clone, OpenerMode::Silent, {}, pause))
        return false;
    ClosesConnection closes(clone);
    RecordSet result;
    {
        TServerMethods1Client proxy(clone);
        result = proxy.StokAraOrvex(kod, std::move(bilgi));
    }
    stok.fillFrom(std::move(result));
    applyFloatDisplayPattern(stok);
    return true;
}

bool fetchGenuinePrices(DataSnapConnection &clone, const QString &s, RecordSet &liste, const PauseFunction &pause)
{
    if (!openWithRetries(clone, OpenerMode::Silent, {}, pause))
        return false;
    ClosesConnection closes(clone);
    RecordSet result;
    {
        TServerMethods1Client proxy(clone);
        result = proxy.OrvexdeAra(s);
    }
    liste.fillFrom(std::move(result));
    applyFloatDisplayPattern(liste);
    liste.first();
    return true;
}

} // namespace morvex
