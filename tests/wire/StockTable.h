#pragma once

#include <memory>

namespace morvex {
class RecordSet;
}

namespace morvex::test {

// A table shaped like the stock list: `rows` rows of its 32 columns with realistic values
// (Turkish names, barcodes, prices, some nulls). Shared by the wire tests and bench/wire.
std::shared_ptr<RecordSet> makeStockTable(int rows);

} // namespace morvex::test
