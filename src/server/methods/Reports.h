#pragma once

#include "server/storage/Storage.h"

#include <QByteArray>
#include <QDate>

namespace morvex::server {

// The staff reports as PDF documents. 6: the summary of one account (carino > 0) or the
// receivables of every account of one representative ("." or empty: all); 7: purchases and
// sales of one account between two dates. Raises StorageError for an unknown report.
QByteArray buildReport(Storage &storage, int raporno, int carino, const QString &saticiAdi, QDate from, QDate to);

} // namespace morvex::server
