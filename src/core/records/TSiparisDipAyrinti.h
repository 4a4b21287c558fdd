#pragma once

#include "core/records/TransferObject.h"

// Fields in wire order: (kind, name without the leading "F", default).
#define MORVEX_TSIPARISDIPAYRINTI_FIELDS(X)                                                                  \
    X(Text, SizinMesaj, {})                                                                                  \
    X(Text, Durumu, {})                                                                                      \
    X(Text, Veren, {})                                                                                       \
    X(Text, Kargo, {})                                                                                       \
    X(Text, BizimMesaj, {})                                                                                  \
    X(Text, TeslimCinsi, {})                                                                                 \
    X(Text, KargoCinsi, {})                                                                                  \
    X(Text, SaticiNotu, {})

namespace morvex {

// The footer of one order: messages, status, delivery and shipping kinds.
class TSiparisDipAyrinti final : public TransferObject
{
    MORVEX_TRANSFER_RECORD(baglantiu, TSiparisDipAyrinti, MORVEX_TSIPARISDIPAYRINTI_FIELDS)
    MORVEX_RECORD_KOPYALA(TSiparisDipAyrinti)
};

} // namespace morvex
