#pragma once

#include "server/storage/SqliteDatabase.h"
#include "server/storage/Storage.h"

#include <QString>

namespace morvex::server {

// The storage of one SQLite database file; one instance per serving thread (SQLite's own
// locking and the busy timeout let the threads share the file).
class SqliteStorage final : public Storage
{
public:
    // Opens an existing database with this server's schema; raises StorageError otherwise.
    // maxStockRows caps a stock search's answer (0 = no cap): a dealer never pages through more
    // than a few thousand rows, but benchmarks ask for the whole table.
    explicit SqliteStorage(const QString &path, int maxStockRows = kDefaultMaxStockRows);
    static constexpr int kDefaultMaxStockRows = 5000;

    std::optional<UserAccount> userForIdentity(const QString &identity) override;
    std::optional<AccountDetails> accountForIdentity(const QString &identity) override;
    bool accountExists(int carino) override;
    QString accountBalanceText(int carino) override;
    RecordSet searchAccounts(const QString &text) override;
    RecordSet accountsInState(int n) override;
    int accountsWithBasket() override;
    OrderStateCounts orderStateCounts() override;
    void logEvent(int userSirano, const QString &event) override;

    RecordSet searchStock(const QString &text, int carino) override;
    RecordSet stockByNumber(int stokno, int carino) override;
    RecordSet newStock(int carino) override;
    RecordSet campaignStock(int carino) override;
    RecordSet searchGenuineParts(const QString &text) override;
    QByteArray stockPicture(int stokno) override;
    RecordSet departments() override;

    RecordSet basket(int carino) override;
    int addToBasket(const BasketAdd &line) override;
    void changeBasketLine(const BasketChange &change) override;
    void deleteBasketLine(int carino, int sirano) override;
    int clearBasket(int carino) override;
    void setBasketSelection(int sirano, int selected) override;
    RecordSet deliveryKinds() override;
    RecordSet cargoKinds() override;
    RecordSet cargoCompanies(int kind) override;

    std::optional<int> saveOrder(const OrderRequest &order) override;
    RecordSet orders(int carino) override;
    RecordSet orderLines(int carino, int idno) override;
    std::optional<OrderFooter> orderFooter(int idno) override;
    RecordSet orderMovements(int carino, int stokno) override;
    RecordSet ordersBetween(QDate from, QDate to, int carino) override;
    RecordSet bestSellers(QDate from, QDate to) override;

    RecordSet statement(int carino, std::optional<QDate> from = {}, std::optional<QDate> to = {}) override;
    RecordSet statementHeader(int carino, QDate before) override;
    RecordSet invoiceLines(int carino, int idno) override;
    RecordSet invoiceTotals(int idno) override;
    RecordSet collection(int idno) override;
    RecordSet balances(int carino) override;
    void cancelBalance(const BalanceChange &change) override;
    void changeBalance(const BalanceChange &change) override;
    void changeBalancePrice(const BalanceChange &change) override;

    QString tickerText() override;
    QByteArray banner() override;
    ExchangeRates exchangeRates() override;
    RecordSet counters(int carino) override;
    int advertisementCount() override;
    std::optional<OpeningScreen> advertisement(int index) override;
    std::vector<OpeningScreen> announcements() override;
    RecordSet documents() override;
    std::optional<StoredDocument> document(int sirano) override;
    QByteArray backup() override;

    int storeMail(const MailRequest &request) override;
    std::vector<StoredMail> outbox() override;

    SqliteDatabase &database() { return m_db; }

private:
    RecordSet stockRows(const QString &sql, ResultShape shape, const std::vector<QString> &texts, int carino,
                        int stokno = 0);
    RecordSet query(const char *sql, ResultShape shape, int argument);
    int customerType(int carino);
    void rewriteOrderLine(int stokharNo, double miktar, double kalan, double fiyat, double indirim);

    SqliteDatabase m_db;
    int m_maxStockRows = kDefaultMaxStockRows;
};

class SqliteStorageProvider final : public StorageProvider
{
public:
    // Checks the file once, so that a wrong path fails at start-up rather than on a call.
    explicit SqliteStorageProvider(QString path, int maxStockRows = SqliteStorage::kDefaultMaxStockRows);
    std::unique_ptr<Storage> open() override;

private:
    QString m_path;
    int m_maxStockRows;
};

} // namespace morvex::server
