#pragma once

#include "core/data/RecordSet.h"
#include "server/storage/StorageTypes.h"

#include <QDate>

#include <memory>
#include <optional>
#include <vector>

namespace morvex::server {

// Everything the server's methods need of a database. One instance is one database session,
// used by one thread at a time; every changing operation is one transaction and raises
// StorageError (storing nothing) when it refuses its input. Table results have the columns
// of their ResultShape.
class Storage
{
public:
    virtual ~Storage() = default;

    // Logins and accounts.
    virtual std::optional<UserAccount> userForIdentity(const QString &identity) = 0;
    virtual std::optional<AccountDetails> accountForIdentity(const QString &identity) = 0;
    virtual bool accountExists(int carino) = 0;
    virtual QString accountBalanceText(int carino) = 0;
    virtual RecordSet searchAccounts(const QString &text) = 0;
    virtual RecordSet accountsInState(int n) = 0;
    virtual int accountsWithBasket() = 0;
    virtual OrderStateCounts orderStateCounts() = 0;
    virtual void logEvent(int userSirano, const QString &event) = 0;

    // Catalogue.
    virtual RecordSet searchStock(const QString &text, int carino) = 0;
    virtual RecordSet stockByNumber(int stokno, int carino) = 0;
    virtual RecordSet newStock(int carino) = 0;
    virtual RecordSet campaignStock(int carino) = 0;
    virtual RecordSet searchGenuineParts(const QString &text) = 0;
    virtual QByteArray stockPicture(int stokno) = 0;
    virtual RecordSet departments() = 0;

    // Basket.
    virtual RecordSet basket(int carino) = 0;
    virtual int addToBasket(const BasketAdd &line) = 0;
    virtual void changeBasketLine(const BasketChange &change) = 0;
    virtual void deleteBasketLine(int carino, int sirano) = 0;
    virtual int clearBasket(int carino) = 0;
    virtual void setBasketSelection(int sirano, int selected) = 0;
    virtual RecordSet deliveryKinds() = 0;
    virtual RecordSet cargoKinds() = 0;
    virtual RecordSet cargoCompanies(int kind) = 0;

    // Orders: saveOrder turns the selected basket lines into an order in the received state and
    // removes them from the basket; it returns nullopt when no line is selected.
    virtual std::optional<int> saveOrder(const OrderRequest &order) = 0;
    virtual RecordSet orders(int carino) = 0;
    virtual RecordSet orderLines(int carino, int idno) = 0;
    virtual std::optional<OrderFooter> orderFooter(int idno) = 0;
    virtual RecordSet orderMovements(int carino, int stokno) = 0;
    virtual RecordSet ordersBetween(QDate from, QDate to, int carino) = 0;
    virtual RecordSet bestSellers(QDate from, QDate to) = 0;

    // Account.
    virtual RecordSet statement(int carino, std::optional<QDate> from = {}, std::optional<QDate> to = {}) = 0;
    virtual RecordSet statementHeader(int carino, QDate before) = 0;
    virtual RecordSet invoiceLines(int carino, int idno) = 0;
    virtual RecordSet invoiceTotals(int idno) = 0;
    virtual RecordSet collection(int idno) = 0;
    virtual RecordSet balances(int carino) = 0;
    virtual void cancelBalance(const BalanceChange &change) = 0;
    virtual void changeBalance(const BalanceChange &change) = 0;
    virtual void changeBalancePrice(const BalanceChange &change) = 0;

    // Start-up content and documents.
    virtual QString tickerText() = 0;
    virtual QByteArray banner() = 0;
    virtual ExchangeRates exchangeRates() = 0;
    virtual RecordSet counters(int carino) = 0;
    virtual int advertisementCount() = 0;
    virtual std::optional<OpeningScreen> advertisement(int index) = 0;
    virtual std::vector<OpeningScreen> announcements() = 0;
    virtual RecordSet documents() = 0;
    virtual std::optional<StoredDocument> document(int sirano) = 0;
    virtual QByteArray backup() = 0;

    // Mail requests go to the outbox; a separate mailer delivers them.
    virtual int storeMail(const MailRequest &request) = 0;
    virtual std::vector<StoredMail> outbox() = 0;
};

// Opens database sessions, one per serving thread.
class StorageProvider
{
public:
    virtual ~StorageProvider() = default;
    virtual std::unique_ptr<Storage> open() = 0;
};

} // namespace morvex::server
