#pragma once

#include "core/records/TAcilisEkran.h"
#include "core/records/TransferObject.h"

#define MORVEX_TACILISEKRANLARIKI_FIELDS(X) X(Array<TAcilisEkran>, Ekranlar, {})

namespace morvex {

// Opening screens held in an array field rather than a list; owns its elements.
class TAcilisEkranlariki final : public TransferObject
{
    MORVEX_TRANSFER_RECORD(mobilstokunit, TAcilisEkranlariki, MORVEX_TACILISEKRANLARIKI_FIELDS)
};

} // namespace morvex
