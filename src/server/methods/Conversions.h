#pragma once

#include "core/data/RecordSet.h"
#include "core/records/TMobilCariBilgisi.h"
#include "core/records/TMobilSepet.h"
#include "core/records/TMobilStok.h"
#include "core/records/TSonucBilgisi.h"
#include "server/storage/StorageTypes.h"

#include <QByteArray>
#include <QDate>
#include <QString>

namespace morvex::server {

inline constexpr int kExpectedClientVersion = 15;

// The session record of a registered computer; an unregistered one gets a record with Varmi
// false, so that the client offers its new-user request form.
TSonucBilgisi sessionFor(const QString &identity, const std::optional<UserAccount> &user);
TMobilStok mobileStock(const RecordSet &stock, int row);
TMobilSepet mobileBasketLine(const RecordSet &basket, int row);
TMobilCariBilgisi mobileAccount(const AccountDetails &account);

// Picture bytes as two upper-case hexadecimal digits per byte.
QString hexText(const QByteArray &bytes);
// A date argument: whole days since 30 December 1899 (the fraction is the time of day).
QDate dateFromDays(double days);
double daysFromDateTime(const QDateTime &value);

} // namespace morvex::server
