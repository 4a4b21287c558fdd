#pragma once

#include <functional>

class QWidget;

namespace morvex {

class RecordSet;

// The windows of other screens that the stock list opens. An empty slot means the window is not
// part of this build yet; the stock list then says so in an error box and goes no further.
struct CatalogueWindows
{
    // Stock detail (Tstokayarinti) for the current row of `stok`, on which the caller has
    // positioned the set.
    std::function<void(QWidget *parent, RecordSet &stok)> stockDetail;
    // "Sipariş Bakiyeleriniz" as a modal window (Tbakiyesiparisler).
    std::function<void(QWidget *parent)> orderBalances;
    // The order lines of one stock item (Ttumsiparisler).
    std::function<void(QWidget *parent, int stokno)> itemOrders;
};

} // namespace morvex
