#pragma once

#include "core/records/TransferObject.h"

// Fields in wire order: (kind, name without the leading "F", default).
#define MORVEX_TTUSSONUCLARI_FIELDS(X)                                                                       \
    X(Integer, Alindi, 0)                                                                                    \
    X(Integer, Onaylandi, 0)                                                                                 \
    X(Integer, ParcaliHazirlandi, 0)                                                                         \
    X(Integer, SevkEdildi, 0)                                                                                \
    X(Integer, Hazirlandi, 0)                                                                                \
    X(Integer, Goruldu, 0)

namespace morvex {

// Order counts per status, shown on the staff window's buttons.
class TTusSonuclari final : public TransferObject
{
    MORVEX_TRANSFER_RECORD(baglantiu, TTusSonuclari, MORVEX_TTUSSONUCLARI_FIELDS)
    MORVEX_RECORD_KOPYALA(TTusSonuclari)
};

} // namespace morvex
