#pragma once

#include <QDate>
#include <QString>

namespace morvex::server {

struct DemoOptions
{
    int stockCount = 3000;
    // Bound to the demo dealer (user "BAYI0"), or to `registerAs` when that names a demo user.
    QString registerIdentity;
    QString registerAs;
    // Every date of the demo data is counted back from this day, so the same options always
    // give the same database.
    QDate today = QDate(2026, 11, 30);
};

struct DemoSummary
{
    int stockItems = 0;
    int accounts = 0;
    int users = 0;
    int orders = 0;
    qint64 fileBytes = 0;
};

// Writes a new demo database to `path` (built beside it and moved over any existing file).
// Raises StorageError when it cannot.
DemoSummary createDemoDatabase(const QString &path, const DemoOptions &options);

// Binds a computer identity to a user of an existing database (replacing an earlier binding).
void bindIdentity(const QString &path, const QString &identity, const QString &userName);

} // namespace morvex::server
