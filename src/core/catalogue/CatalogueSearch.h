#pragma once

#include "core/local/RetryingOpener.h"

#include <QString>

#include <memory>

namespace morvex {

class DataSnapConnection;
class RecordSet;
class TSonucBilgisi;

// The worker side of the catalogue searches. Each runs on its own connection clone, which it
// opens with the retrying opener in silent mode (`pause` stands in for the 500 ms sleep) and
// closes again on every path, with one proxy for the one call. They touch nothing but their
// arguments, so they may run on any thread.
//
// They return false when the clone could not be opened; the record set is then untouched. A
// call or a fill that fails raises (WireError, RecordSetError); the record set then keeps what
// it held before, because the copy rule builds the new contents aside.

// StokAraOrvex with `kod` exactly as typed; the table replaces the rows of `stok`, whose
// floating-point fields get the float display pattern.
bool fetchStock(DataSnapConnection &clone, const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi, RecordSet &stok,
                const PauseFunction &pause = {});

// OrvexdeAra with `s` exactly as typed; the table replaces the rows of `liste`, with the float
// display pattern and the cursor on the first row.
bool fetchGenuinePrices(DataSnapConnection &clone, const QString &s, RecordSet &liste,
                        const PauseFunction &pause = {});

} // namespace morvex
