#pragma once

#include "core/records/TAcilisEkran.h"
#include "core/records/TransferList.h"

namespace morvex {

class TAcilisEkranlar final : public TransferList<TAcilisEkran>
{
    MORVEX_TRANSFER_LIST(mobilstokunit, TAcilisEkranlar)
};

} // namespace morvex
